#pragma once

#include <QDialog>
#include <QWidget>

#include "core/records/history_summary.h"

class QTableWidget;

// The customers with the largest sums as horizontal bars, the largest on top,
// each with its name and its sum in yuan.
class CustomerBars : public QWidget {
public:
    explicit CustomerBars(std::vector<inkquot::CustomerTotals> customers,
                          QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<inkquot::CustomerTotals> customers_;
};

// "统计": the records of the history page's query at a glance: how many
// quotations and how much money, month by month, and which customers bring
// the most.
class HistorySummaryDialog : public QDialog {
public:
    HistorySummaryDialog(const inkquot::HistorySummary& summary, QWidget* parent = nullptr);

    QTableWidget* months = nullptr;
    CustomerBars* bars = nullptr;
};

// Yuan from cents as the history shows money: "1,566.22".
QString yuanText(std::int64_t cents);
