#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// Checks a box when the focus leaves it for another control of the program.
// A check that refuses the text has shown its warning (and may have put a
// replacement text in); the guard then gives the focus back to the box, and
// the mouse press that tried to take the focus goes nowhere, so a refused
// box cannot be left by clicking a button, a list or a tick box.
//
// The focus also moves when a message box, a popup list or another window
// opens; that is not leaving the box, and neither is the focus moving away
// from a box that has just been hidden or disabled.
class LeaveGuard : public QObject {
    Q_OBJECT

public:
    // True when the text may stay.
    using Check = std::function<bool()>;

    explicit LeaveGuard(QObject* parent = nullptr);

    void watch(QWidget* box, Check check);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool refuses(QWidget* box);
    void swallowMouseOf(QWidget* target);

    QHash<QObject*, Check> checks_;
    bool checking_ = false;
    // The control whose mouse press took the focus from a refused box.
    QPointer<QWidget> swallowed_;
};
