#include "ui/common/dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

QString applicationTitle() {
    return QStringLiteral("墨衡印件计价系统");
}

namespace {

QMessageBox::Icon boxIcon(Dialogs::Icon icon) {
    switch (icon) {
        case Dialogs::Icon::Information:
            return QMessageBox::Information;
        case Dialogs::Icon::Exclamation:
            return QMessageBox::Warning;
        case Dialogs::Icon::Critical:
            return QMessageBox::Critical;
        case Dialogs::Icon::Question:
            return QMessageBox::Question;
        case Dialogs::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void QtDialogs::message(QWidget* parent, const QString& text, Icon icon) {
    QMessageBox box(boxIcon(icon), applicationTitle(), text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
}

bool QtDialogs::confirm(QWidget* parent, const QString& text, Icon icon, bool okIsDefault) {
    QMessageBox box(boxIcon(icon), applicationTitle(), text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
    box.setDefaultButton(okIsDefault ? QMessageBox::Ok : QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

std::optional<QString> QtDialogs::input(QWidget* parent, const QString& prompt,
                                        const QString& proposed, bool masked) {
    QInputDialog box(parent);
    box.setWindowTitle(applicationTitle());
    box.setLabelText(prompt);
    box.setTextValue(proposed);
    box.setTextEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
    box.setOkButtonText(QStringLiteral("确定"));
    box.setCancelButtonText(QStringLiteral("取消"));
    if (box.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return box.textValue();
}

void QtDialogs::beep() {
    QApplication::beep();
}
