#pragma once

#include <QWidget>
#include <array>

#include "core/common/clock.h"
#include "core/common/program_folder.h"

class Dialogs;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// The history page: saved quotations listed by customer name, by job name or
// by date, and deleted up to a date or all at once.
class HistoryPage : public QWidget {
    Q_OBJECT

public:
    HistoryPage(const inkquot::ProgramFolder& folder, Dialogs& dialogs, const inkquot::Clock& clock,
                QWidget* parent = nullptr);

    // Sets the cut-off date box to 30 days before today; the main window
    // calls it last when loading.
    void initCutoffDate();

    // "开始查询", "删除指定日期前记录", "删除全部记录".
    void query();
    void deleteUpToDate();
    void deleteAll();

    // Query modes: 0 customer name, 1 job name, 2 date.
    std::array<QRadioButton*, 3> Optcxtj{};
    std::array<QLineEdit*, 3> Txtcxtj{};
    std::array<QPushButton*, 3> cmdli{};
    QListWidget* lstrec = nullptr;

signals:
    // Advice for the main window's hint line.
    void hintChanged(const QString& text);

private:
    int mode() const;
    void chooseMode(int mode);

    inkquot::ProgramFolder folder_;
    Dialogs& dialogs_;
    const inkquot::Clock& clock_;
};
