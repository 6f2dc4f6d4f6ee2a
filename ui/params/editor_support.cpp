#include "ui/params/editor_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"

void setBoxLocked(QLineEdit* box, bool locked) {
    box->setReadOnly(locked);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, locked ? QApplication::palette("QMenu").color(QPalette::Window)
                                        : QApplication::palette(box).color(QPalette::Base));
    box->setPalette(pal);
}

bool boxLocked(const QLineEdit* box) {
    return box->isReadOnly();
}

void showNotices(Dialogs& dialogs, QWidget* parent,
                 const std::vector<inkquot::EditorNotice>& notices) {
    for (const auto& n : notices) {
        if (n.style == inkquot::EditorNotice::Style::Plain) {
            dialogs.plain(parent, fromUtf8(n.text));
        } else {
            dialogs.warning(parent, fromUtf8(n.text));
        }
    }
}

LeaveCheck::LeaveCheck(QObject* parent, Check check, Enter enter)
    : QObject(parent), check_(std::move(check)), enter_(std::move(enter)) {}

void LeaveCheck::watch(QLineEdit* box) {
    watched_.insert(box);
    box->installEventFilter(this);
}

bool LeaveCheck::passes(QLineEdit* box) {
    checking_ = true;
    const bool mayLeave = check_(box);
    checking_ = false;
    return mayLeave;
}

void LeaveCheck::guard(QAbstractButton* button, std::function<void()> action) {
    button->setFocusPolicy(Qt::TabFocus);
    connect(button, &QAbstractButton::clicked, this, [this, action = std::move(action)] {
        auto* box = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (box != nullptr && watched_.contains(box) && !passes(box)) {
            box->setFocus(Qt::OtherFocusReason);
            return;
        }
        action();
    });
}

bool LeaveCheck::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (!box) {
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusIn && enter_ && !checking_) {
        enter_(box);
    } else if (event->type() == QEvent::FocusOut && !checking_ && !returning_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const bool leavesWindow = reason == Qt::ActiveWindowFocusReason ||
                                  reason == Qt::PopupFocusReason ||
                                  reason == Qt::MenuBarFocusReason;
        if (!leavesWindow) {
            if (!passes(box)) {
                // Taken back once the focus change under way has finished.
                QPointer<QLineEdit> guard(box);
                // The box the focus went to is not judged as it gives the
                // focus back: its check would only repeat this one.
                QTimer::singleShot(0, this, [this, guard] {
                    if (guard && guard->isVisible() && guard->isEnabled()) {
                        returning_ = true;
                        guard->setFocus(Qt::OtherFocusReason);
                        returning_ = false;
                    }
                });
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
