#include "ui/main/frmpass.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/common/dialogs.h"
#include "ui/main/password_check.h"

FrmPass::FrmPass(const inkquot::ProgramFolder& folder, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), folder_(folder), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmpass"));
    setWindowTitle(QStringLiteral("修改密码"));
    setModal(true);

    const QString labels[3] = {QStringLiteral("原始密码"), QStringLiteral("新密码(6-8字符)"),
                               QStringLiteral("确认新密码")};
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(10);
    for (int i = 0; i < 3; ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Text1_%1").arg(i));
        edit->setMaxLength(8);
        edit->setMinimumWidth(160);
        if (i > 0) {
            edit->setEchoMode(QLineEdit::Password);
            edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
        }
        auto* label = new QLabel(labels[i], this);
        label->setBuddy(edit);
        grid->addWidget(label, i, 0);
        grid->addWidget(edit, i, 1);
        Text1[std::size_t(i)] = edit;
    }

    Command1[0] = new QPushButton(QStringLiteral("确认"), this);
    Command1[1] = new QPushButton(QStringLiteral("取消"), this);
    Command1[0]->setDefault(true);
    for (QPushButton* b : Command1) {
        b->setMinimumWidth(80);
    }
    connect(Command1[0], &QPushButton::clicked, this, [this] { confirmChange(); });
    connect(Command1[1], &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1[0]);
    buttons->addWidget(Command1[1]);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 14);
    layout->setSpacing(16);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

bool FrmPass::confirmChange() {
    const auto stored = readStoredPassword(folder_);
    if (!passwordMatches(Text1[0]->text(), stored)) {
        dialogs_.plain(this, QStringLiteral("原始密码错误！"));
        return false;
    }
    const QString fresh = Text1[1]->text().trimmed();
    const QString again = Text1[2]->text().trimmed();
    if (fresh != again || fresh.size() < 6) {
        dialogs_.plain(this, QStringLiteral("请重新确认新密码！"));
        return false;
    }
    const QString problem = storePassword(folder_, fresh);
    if (!problem.isEmpty()) {
        dialogs_.warning(this, problem);
        return false;
    }
    dialogs_.plain(this, QStringLiteral("修改成功！"));
    accept();
    return true;
}
