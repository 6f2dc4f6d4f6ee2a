#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "core/pricedata/param_rules.h"

class Dialogs;
class QLineEdit;
class QWidget;

// Pieces shared by the three table editors of the parameter page.

QString qstr(const std::string& utf8);
std::string utf8Of(const QString& text);

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Check check_;
    Enter enter_;
    bool checking_ = false;
    bool returning_ = false;
};
