#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "core/pricedata/param_rules.h"

class Dialogs;
class QAbstractButton;
class QLineEdit;
class QWidget;

// Pieces of the record editor of the parameter page.

// A locked box can be read and focused but not typed into; it shows the menu
// background colour, an open one the window background colour of text boxes.
void setBoxLocked(QLineEdit* box, bool locked);
bool boxLocked(const QLineEdit* box);

// Shows the messages of a verdict in order.
void showNotices(Dialogs& dialogs, QWidget* parent,
                 const std::vector<inkquot::EditorNotice>& notices);

// Runs a check when the focus leaves one of the watched boxes and puts the
// focus back into the box when the check refuses. The focus moving to
// another window (a message box, another program) is not a leave: the box
// still holds the focus within its window.
class LeaveCheck : public QObject {
    Q_OBJECT

public:
    // True when the focus may leave.
    using Check = std::function<bool(QLineEdit* box)>;
    using Enter = std::function<void(QLineEdit* box)>;

    LeaveCheck(QObject* parent, Check check, Enter enter = {});
    void watch(QLineEdit* box);

    // A click on `button` runs `action` only once the watched box holding
    // the focus passes its check, as if the click had taken the focus from
    // it. The button takes no focus from a click (Tab still reaches it), so
    // the check runs once a click, here: a refused box keeps the focus and
    // the click does nothing else, however often it is repeated.
    void guard(QAbstractButton* button, std::function<void()> action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool passes(QLineEdit* box);

    QSet<const QObject*> watched_;
    Check check_;
    Enter enter_;
    bool checking_ = false;
    bool returning_ = false;
};
