#include "ui/pricing/leave_guard.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTimer>
#include <QWidget>

LeaveGuard::LeaveGuard(QObject* parent) : QObject(parent) {}

void LeaveGuard::watch(QWidget* box, Check check) {
    checks_.insert(box, std::move(check));
    box->installEventFilter(this);
    connect(box, &QObject::destroyed, this, [this, box] { checks_.remove(box); });
}

bool LeaveGuard::refuses(QWidget* box) {
    if (checking_) {
        return false;
    }
    checking_ = true;
    const bool accepted = checks_.value(box)();
    checking_ = false;
    if (!accepted) {
        box->setFocus(Qt::OtherFocusReason);
    }
    return !accepted;
}

void LeaveGuard::swallowMouseOf(QWidget* target) {
    if (target == nullptr) {
        return;
    }
    swallowed_ = target;
    qApp->installEventFilter(this);
    // The press that moved the focus is delivered right after the focus
    // change; whatever comes later is the clerk's next gesture.
    QTimer::singleShot(0, this, [this] {
        swallowed_ = nullptr;
        qApp->removeEventFilter(this);
    });
}

bool LeaveGuard::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick: {
            auto* w = qobject_cast<QWidget*>(watched);
            if (swallowed_ && w != nullptr && (w == swallowed_ || swallowed_->isAncestorOf(w))) {
                return true;
            }
            break;
        }
        case QEvent::FocusOut: {
            if (!checks_.contains(watched) || checking_) {
                break;
            }
            auto* box = static_cast<QWidget*>(watched);
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) {
                break;  // a box, a popup or another window opened
            }
            if (!box->isVisible() || !box->isEnabled()) {
                break;  // the box went away; nobody is leaving it
            }
            QWidget* next = QApplication::focusWidget();
            if (next != nullptr && next->window() != box->window()) {
                break;
            }
            if (!refuses(box)) {
                break;
            }
            if (reason == Qt::MouseFocusReason) {
                swallowMouseOf(next);
            }
            // The box has the focus again: it never saw itself being left.
            return true;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}
