#include "ui/main/frmabout.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/main/app_icon.h"

FrmAbout::FrmAbout(QWidget* parent) : QDialog(parent) {
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
    facts->addWidget(new QLabel(QStringLiteral("3.02"), this), 1, 1);
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
