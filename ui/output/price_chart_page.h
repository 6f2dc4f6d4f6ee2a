#pragma once

#include "ui/output/price_chart_data.h"
#include "ui/output/print_page.h"

class QLabel;
class PriceSheet;

// The price chart as a printed page, the one after the table: the table's
// heading, kind and month as its page has them, the caption "价格图表", then
// the chart across the page. Filled anew for every export.
class PriceChartPage : public PrintPage {
    Q_OBJECT

public:
    // The page is 10800 × 15840 twips: as wide as the table's and of the
    // proportions of an A4 sheet within its margins.
    static constexpr int kWidthTwips = 10800;
    static constexpr int kHeightTwips = 15840;

    explicit PriceChartPage(QWidget* parent = nullptr);

    // The heading texts of `sheet` and the chart of its prices.
    void setChart(const PriceSheet& sheet, PriceChartData data);

    void paintDrawing(QPainter& painter) const override;

    QLabel* labiaoti = nullptr;
    QLabel* lablei = nullptr;
    QLabel* labdate = nullptr;
    QLabel* caption = nullptr;  // "价格图表"

private:
    PriceChartData data_;
};
