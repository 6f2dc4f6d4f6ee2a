#include "ui/main/frmabout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "inkquot_version.h"
#include "ui/main/app_icon.h"

FrmAbout::FrmAbout(const std::filesystem::path& programFolder, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmabout"));
    setWindowTitle(QStringLiteral("关于墨衡印件计价系统"));
    setWindowIcon(applicationIcon());
    setModal(false);

    auto* icon = new QLabel(this);
    icon->setPixmap(applicationIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);

    auto* facts = new QGridLayout;
    facts->setHorizontalSpacing(8);
    facts->setVerticalSpacing(10);
    facts->addWidget(new QLabel(QStringLiteral("软件名："), this), 0, 0);
    facts->addWidget(new QLabel(QStringLiteral("墨衡印件计价系统"), this), 0, 1);
    facts->addWidget(new QLabel(QStringLiteral("版本号："), this), 1, 0);
    facts->addWidget(new QLabel(QStringLiteral(INKQUOT_VERSION), this), 1, 1);
    facts->addWidget(new QLabel(QStringLiteral("数据文件夹："), this), 2, 0, Qt::AlignTop);
    const auto u8 = programFolder.u8string();
    folderLabel_ = new QLabel(
        QString::fromUtf8(reinterpret_cast<const char*>(u8.data()), qsizetype(u8.size())), this);
    folderLabel_->setObjectName(QStringLiteral("labfolder"));
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folderLabel_->setWordWrap(true);
    facts->addWidget(folderLabel_, 2, 1);
    facts->setColumnStretch(1, 1);

    auto* top = new QHBoxLayout;
    top->setSpacing(18);
    top->addWidget(icon);
    top->addLayout(facts, 1);

    okButton_ = new QPushButton(QStringLiteral("确定"), this);
    okButton_->setDefault(true);
    okButton_->setMinimumWidth(90);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(18);
    layout->addLayout(top);
    layout->addLayout(buttons);
    setMinimumWidth(320);
}
