#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "core/common/clock.h"
#include "core/common/program_folder.h"
#include "core/records/history_query.h"
#include "core/records/history_scan.h"

class Dialogs;
class QDialog;
class QLineEdit;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class SaveFileChooser;

// The history page: saved quotations listed by customer name, by job name or
// by date, and deleted up to a date or all at once.
class HistoryPage : public QWidget {
    Q_OBJECT

public:
    HistoryPage(const inkquot::ProgramFolder& folder, Dialogs& dialogs, const inkquot::Clock& clock,
                QWidget* parent = nullptr);
    ~HistoryPage() override;

    // Sets the cut-off date box to 30 days before today; the main window
    // calls it last when loading (with the day it loaded on, when the page
    // is built later).
    void initCutoffDate();
    void initCutoffDate(inkquot::CivilDate today);

    // At most this many matching records are listed; the count line tells
    // how many matched in all.
    static constexpr int kShownRecords = 1000;

    // "开始查询", "删除指定日期前记录", "删除全部记录". A query reads the
    // history piece by piece and lets the screen work in between: the
    // progress bar moves and "停止查询" ends it, keeping what was found.
    void query();
    void stopQuery();
    void deleteUpToDate();
    void deleteAll();
    // "导出Excel": the records the conditions find, into a spreadsheet file.
    void exportRecords();
    // "统计": the records the conditions find, summed by month and customer.
    void showSummary();
    void setFileChooser(std::unique_ptr<SaveFileChooser> chooser);

    // Query modes: 0 customer name, 1 job name, 2 date.
    std::array<QRadioButton*, 3> Optcxtj{};
    std::array<QLineEdit*, 3> Txtcxtj{};
    std::array<QPushButton*, 3> cmdli{};
    QListWidget* lstrec = nullptr;
    QPushButton* cmdstop = nullptr;
    QPushButton* cmdexcel = nullptr;    // "导出Excel"
    QPushButton* cmdsummary = nullptr;  // "统计"
    // Shows the summary dialog; modal unless a test puts something else here.
    std::function<void(QDialog&)> showSummaryDialog;
    QProgressBar* progress = nullptr;
    QLabel* labcount = nullptr;

signals:
    // Advice for the main window's hint line.
    void hintChanged(const QString& text);

public:
    // The query that the mode and the search boxes describe.
    inkquot::HistoryQuery conditions() const;

private:
    // The matcher of a query; nothing, after saying so, when its date is no date.
    std::optional<inkquot::HistoryMatcher> matcherOrWarning(const inkquot::HistoryQuery& q);
    int mode() const;
    void chooseMode(int mode);
    void setQuerying(bool querying);
    void widenList();

    bool querying_ = false;
    bool stopAsked_ = false;

    std::unique_ptr<SaveFileChooser> files_;
    inkquot::ProgramFolder folder_;
    Dialogs& dialogs_;
    const inkquot::Clock& clock_;
};
