#pragma once

#include <QDialog>
#include <array>

#include "core/common/program_folder.h"

class QLineEdit;
class QPushButton;
class Dialogs;

// "修改密码": the old password, the new one twice. The boxes take at most 8
// characters; the two new-password boxes show "*".
class FrmPass : public QDialog {
    Q_OBJECT

public:
    FrmPass(const inkquot::ProgramFolder& folder, Dialogs& dialogs, QWidget* parent = nullptr);

    // 0 old password, 1 new password, 2 the new password again.
    std::array<QLineEdit*, 3> Text1{};
    // 0 "确认", 1 "取消".
    std::array<QPushButton*, 2> Command1{};

    // "确认": true when the new password was stored (the dialog then closes).
    bool confirmChange();

private:
    inkquot::ProgramFolder folder_;
    Dialogs& dialogs_;
};
