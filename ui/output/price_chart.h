#pragma once

#include <QByteArray>
#include <QSize>
#include <QWidget>

#include "ui/output/price_chart_data.h"

class QPainter;
class QRectF;

// The price chart: unit price (单价(元)) up, quantity (数量) across, one line
// per size row in the colour and mark the legend gives it, a chart for each
// paper series (大度, 正度) on one shared scale. A red ring marks a price the
// table check doubts, as the table shades its cell. Drawn with QPainter
// alone, so the window, the PDF page and the workbook's picture are one
// drawing; Qt's own chart module would be one more large library to build
// for Windows.
//
// Draws into `area`, in pixels of 1/96 inch as the print layouts are: the
// two charts side by side in a wide area, one above the other in a tall
// one, with the legend and the rows left out below.
void paintPriceChart(QPainter& painter, const QRectF& area, const PriceChartData& data);

// The chart as PNG bytes: `size` in pixels of 1/96 inch, drawn at twice
// that resolution and marked as 192 dots per inch, so it keeps its size
// in a workbook and stays sharp when printed.
QByteArray priceChartPng(const PriceChartData& data, QSize size);

// The chart on screen, filling the widget.
class PriceChart : public QWidget {
    Q_OBJECT

public:
    explicit PriceChart(QWidget* parent = nullptr);

    void setData(PriceChartData data);
    const PriceChartData& data() const { return data_; }

    // Small: the chart takes whatever room the window gives it.
    QSize sizeHint() const override { return {400, 300}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PriceChartData data_;
};
