#include "ui/output/price_chart_page.h"

#include <QLabel>

#include "ui/output/price_chart.h"
#include "ui/output/price_sheet.h"

namespace {

// In twips: the margins of the table's page, then the
// caption and the chart under it.
constexpr int kLeft = 300;
constexpr int kRight = 10500;
constexpr int kCaptionTop = 1600;
constexpr int kChartTop = 2300;
constexpr int kChartBottom = 15240;

}  // namespace

PriceChartPage::PriceChartPage(QWidget* parent) : PrintPage(parent) {
    setObjectName(QStringLiteral("priceChartPage"));
    setFixedSize(tw(kWidthTwips), tw(kHeightTwips));
    const TableHeading heading = addTableHeading(this);
    labiaoti = heading.title;
    lablei = heading.kind;
    labdate = heading.month;
    caption = pageLabel(this, QStringLiteral("caption"), printFont(14, true), Qt::AlignCenter,
                        QStringLiteral("价格图表"));
    caption->setGeometry(tw(kLeft), tw(kCaptionTop), tw(kRight) - tw(kLeft), tw(450));
}

void PriceChartPage::setChart(const PriceSheet& sheet, PriceChartData data) {
    labiaoti->setText(sheet.labiaoti->text());
    lablei->setText(sheet.lablei->text());
    labdate->setText(sheet.labdate->text());
    data_ = std::move(data);
    update();
}

void PriceChartPage::paintDrawing(QPainter& painter) const {
    paintPriceChart(
        painter, QRectF(QPointF(tw(kLeft), tw(kChartTop)), QPointF(tw(kRight), tw(kChartBottom))),
        data_);
}
