#include "ui/output/price_chart.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "ui/common/utf8_text.h"
#include "ui/output/price_scale.h"
#include "ui/output/print_page.h"

namespace {

// One colour a size row, the same in both charts; none of them is the red
// of the rings, and each row has a mark of its own as well, so the lines
// stay apart on a printer without colour.
const std::array<QColor, inkquot::kTableRowCount> kRowColours = {
    QColor(0x1F, 0x77, 0xB4), QColor(0xFF, 0x7F, 0x0E), QColor(0x2C, 0xA0, 0x2C),
    QColor(0x94, 0x67, 0xBD), QColor(0x8C, 0x56, 0x4B), QColor(0x17, 0xBE, 0xCF),
    QColor(0x7F, 0x7F, 0x7F)};
const QColor kDoubtColour(0xD0, 0x00, 0x00);
const QColor kGridColour(0xDD, 0xDD, 0xDD);
const QColor kAxisColour(0x40, 0x40, 0x40);

constexpr qreal kMarkRadius = 3.5;
constexpr qreal kRingRadius = 7.5;
constexpr qreal kLineWidth = 2;
constexpr qreal kSampleWidth = 26;  // the line in a legend entry
constexpr qreal kGap = 6;

struct Fonts {
    QFont text = printFont(9);
    QFont caption = printFont(10.5, true);
};

void drawMark(QPainter& p, int row, QPointF at) {
    const QColor colour = kRowColours[static_cast<std::size_t>(row)];
    const qreal r = kMarkRadius;
    // The last two rows have hollow marks, so seven marks differ in shape
    // or in fill.
    p.setPen(QPen(colour, 1.5));
    p.setBrush(row >= 5 ? QBrush(Qt::white) : QBrush(colour));
    switch (row % 5) {
        case 0:
            p.drawEllipse(at, r, r);
            break;
        case 1:
            p.drawRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r));
            break;
        case 2:
            p.drawPolygon(QPolygonF({at + QPointF(0, -r - 1), at + QPointF(r + 0.5, r - 0.5),
                                     at + QPointF(-r - 0.5, r - 0.5)}));
            break;
        case 3:
            p.drawPolygon(QPolygonF({at + QPointF(0, -r - 1), at + QPointF(r + 1, 0),
                                     at + QPointF(0, r + 1), at + QPointF(-r - 1, 0)}));
            break;
        default:
            p.drawPolygon(QPolygonF({at + QPointF(0, r + 1), at + QPointF(r + 0.5, -r + 0.5),
                                     at + QPointF(-r - 0.5, -r + 0.5)}));
            break;
    }
}

void drawRing(QPainter& p, QPointF at) {
    p.setPen(QPen(kDoubtColour, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(at, kRingRadius, kRingRadius);
}

bool hasZeroPrice(const PriceChartData& data) {
    for (const PriceChartSeries& series : data.series) {
        for (const PriceChartLine& line : series.lines) {
            for (const PriceChartPoint& point : line.points) {
                if (point.price <= 0) {
                    return true;
                }
            }
        }
    }
    return false;
}

// One paper series: caption, unit, price axis with its grid, the quantity
// axis, then the lines with their marks and rings.
void paintSeries(QPainter& p, const QRectF& box, const PriceChartSeries& series,
                 const PriceChartData& data, const Fonts& fonts) {
    const QFontMetricsF text(fonts.text);
    const QFontMetricsF caption(fonts.caption);
    p.setPen(Qt::black);
    p.setFont(fonts.caption);
    p.drawText(QRectF(box.left(), box.top(), box.width(), caption.height()), Qt::AlignCenter,
               fromUtf8(series.caption));
    const qreal unitTop = box.top() + caption.height();
    p.setFont(fonts.text);
    p.drawText(QRectF(box.left(), unitTop, box.width(), text.height()),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("单价(元)"));

    const qreal top = unitTop + text.height() * 1.5;
    const qreal bottom = box.bottom() - 2 * text.height() - kGap;
    if (bottom - top < text.height() * 2) {
        return;  // no room for a chart
    }
    // A price of zero has no place on a logarithmic scale: such points go
    // on a line of their own under it, marked "0".
    const qreal zeroBand = hasZeroPrice(data) ? text.height() * 2 : 0;
    const PriceScale scale(data.lowest, data.highest, bottom - zeroBand - top);
    qreal labelWidth = text.horizontalAdvance(QStringLiteral("0"));
    for (const double mark : scale.marks()) {
        labelWidth = std::max(labelWidth, text.horizontalAdvance(PriceScale::label(mark)));
    }
    const QRectF plot(QPointF(box.left() + labelWidth + kGap, top),
                      QPointF(box.right() - 2, bottom));
    const qreal scaleFoot = plot.bottom() - zeroBand;
    auto yOf = [&](double price) {
        return price <= 0 ? plot.bottom() - zeroBand / 2
                          : scaleFoot - scale.place(price) * (scaleFoot - plot.top());
    };
    // The quantities are spaced evenly, as the table's columns are; each is
    // about twice the one before, so this is close to a logarithmic axis
    // and keeps the small runs apart.
    const qreal column = plot.width() / inkquot::kTableQuantityCount;
    auto xOf = [&](int j) { return plot.left() + (j + 0.5) * column; };

    for (const double mark : scale.marks()) {
        const qreal y = yOf(mark);
        p.setPen(QPen(kGridColour, 0.75));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(Qt::black);
        p.drawText(QRectF(box.left(), y - text.height() / 2, labelWidth, text.height()),
                   Qt::AlignRight | Qt::AlignVCenter, PriceScale::label(mark));
    }
    if (zeroBand > 0) {
        const qreal y = yOf(0);
        p.drawText(QRectF(box.left(), y - text.height() / 2, labelWidth, text.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("0"));
        p.setPen(QPen(kAxisColour, 0.75, Qt::DashLine));
        p.drawLine(QPointF(plot.left(), scaleFoot), QPointF(plot.right(), scaleFoot));
    }
    p.setPen(QPen(kAxisColour, 1));
    p.drawLine(plot.topLeft(), plot.bottomLeft());
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    for (int j = 0; j < inkquot::kTableQuantityCount; ++j) {
        const qreal x = xOf(j);
        p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 3));
        p.setPen(Qt::black);
        p.drawText(QRectF(x - column / 2, plot.bottom() + 3, column, text.height()),
                   Qt::AlignHCenter | Qt::AlignTop,
                   fromUtf8(data.quantities[static_cast<std::size_t>(j)]));
        p.setPen(QPen(kAxisColour, 1));
    }
    p.setPen(Qt::black);
    p.drawText(QRectF(plot.left(), plot.bottom() + 3 + text.height(), plot.width(), text.height()),
               Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("数量"));

    for (const PriceChartLine& line : series.lines) {
        // Neighbouring columns are joined; a refused cell leaves a gap.
        p.setPen(QPen(kRowColours[static_cast<std::size_t>(line.row)], kLineWidth, Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin));
        for (std::size_t k = 1; k < line.points.size(); ++k) {
            const PriceChartPoint& a = line.points[k - 1];
            const PriceChartPoint& b = line.points[k];
            if (b.column == a.column + 1) {
                p.drawLine(QPointF(xOf(a.column), yOf(a.price)),
                           QPointF(xOf(b.column), yOf(b.price)));
            }
        }
        for (const PriceChartPoint& point : line.points) {
            drawMark(p, line.row, QPointF(xOf(point.column), yOf(point.price)));
        }
    }
    // The rings last, over every line.
    for (const PriceChartLine& line : series.lines) {
        for (const PriceChartPoint& point : line.points) {
            if (point.inDoubt) {
                drawRing(p, QPointF(xOf(point.column), yOf(point.price)));
            }
        }
    }
}

// The legend: a line and mark with each drawn row's name, and the ring
// when a price is in doubt; centred, wrapped onto as many lines as it needs.
struct LegendEntry {
    int row;  // -1: the ring
    QString text;
};

qreal paintLegend(QPainter* p, const QRectF& area, const std::vector<LegendEntry>& entries,
                  const Fonts& fonts) {
    const QFontMetricsF text(fonts.text);
    const qreal spacing = 3 * kGap;
    std::vector<std::vector<std::pair<const LegendEntry*, qreal>>> lines(1);
    qreal used = 0;
    for (const LegendEntry& e : entries) {
        const qreal width = kSampleWidth + kGap + text.horizontalAdvance(e.text);
        if (!lines.back().empty() && used + spacing + width > area.width()) {
            lines.emplace_back();
            used = 0;
        }
        used += (lines.back().empty() ? 0 : spacing) + width;
        lines.back().emplace_back(&e, width);
    }
    const qreal lineHeight = std::max(text.height(), 2 * kRingRadius + 2);
    if (p == nullptr) {
        return lineHeight * static_cast<qreal>(lines.size());
    }
    p->setFont(fonts.text);
    qreal y = area.top();
    for (const auto& line : lines) {
        qreal width = 0;
        for (const auto& [entry, w] : line) {
            width += (width > 0 ? spacing : 0) + w;
        }
        qreal x = area.left() + (area.width() - width) / 2;
        const qreal middle = y + lineHeight / 2;
        for (const auto& [entry, w] : line) {
            const QPointF centre(x + kSampleWidth / 2, middle);
            if (entry->row < 0) {
                drawRing(*p, centre);
            } else {
                p->setPen(QPen(kRowColours[static_cast<std::size_t>(entry->row)], kLineWidth));
                p->drawLine(QPointF(x, middle), QPointF(x + kSampleWidth, middle));
                drawMark(*p, entry->row, centre);
            }
            p->setPen(Qt::black);
            p->drawText(QRectF(x + kSampleWidth + kGap, y, w, lineHeight),
                        Qt::AlignLeft | Qt::AlignVCenter, entry->text);
            x += w + spacing;
        }
        y += lineHeight;
    }
    return lineHeight * static_cast<qreal>(lines.size());
}

// "未画出（没有单价）：大度 2开；正度 2开、4开", or nothing when every row
// has a line.
QString leftOutText(const PriceChartData& data) {
    QStringList parts;
    for (const PriceChartSeries& series : data.series) {
        if (series.leftOut.empty()) {
            continue;
        }
        QStringList rows;
        for (const int row : series.leftOut) {
            rows << fromUtf8(data.rows[static_cast<std::size_t>(row)]);
        }
        parts << fromUtf8(series.caption) + QStringLiteral(" ") + rows.join(QStringLiteral("、"));
    }
    return parts.isEmpty()
               ? QString()
               : QStringLiteral("未画出（没有单价）：") + parts.join(QStringLiteral("；"));
}

}  // namespace

void paintPriceChart(QPainter& p, const QRectF& area, const PriceChartData& data) {
    const Fonts fonts;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(fonts.caption);
    p.setPen(Qt::black);
    if (data.empty()) {
        p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap,
                   QStringLiteral("价格表中没有可画出的单价"));
        p.restore();
        return;
    }

    std::vector<LegendEntry> legend;
    for (int row = 0; row < inkquot::kTableRowCount; ++row) {
        const bool drawn = std::any_of(data.series.begin(), data.series.end(), [&](const auto& s) {
            return std::any_of(s.lines.begin(), s.lines.end(),
                               [&](const PriceChartLine& l) { return l.row == row; });
        });
        if (drawn) {
            legend.push_back({row, fromUtf8(data.rows[static_cast<std::size_t>(row)])});
        }
    }
    if (data.anyInDoubt()) {
        legend.push_back({-1, QStringLiteral("单价存疑（表中底色标出的格）")});
    }
    const qreal legendHeight = paintLegend(nullptr, area, legend, fonts);
    const QString note = leftOutText(data);
    const QRectF noteRoom(area.left(), 0, area.width(), area.height());
    const qreal noteHeight =
        note.isEmpty() ? 0
                       : QFontMetricsF(fonts.text)
                             .boundingRect(noteRoom, Qt::AlignLeft | Qt::TextWordWrap, note)
                             .height();

    const QRectF charts(area.left(), area.top(), area.width(),
                        area.height() - legendHeight - noteHeight - 2 * kGap);
    // Side by side where the area is wide, else one above the other.
    const bool sideBySide = charts.width() >= 1.25 * charts.height();
    const qreal gap = 4 * kGap;
    for (int s = 0; s < inkquot::kTableSeriesCount; ++s) {
        QRectF box;
        if (sideBySide) {
            const qreal width = (charts.width() - gap) / 2;
            box = QRectF(charts.left() + s * (width + gap), charts.top(), width, charts.height());
        } else {
            const qreal height = (charts.height() - gap) / 2;
            box = QRectF(charts.left(), charts.top() + s * (height + gap), charts.width(), height);
        }
        paintSeries(p, box, data.series[static_cast<std::size_t>(s)], data, fonts);
    }
    const QRectF legendArea(area.left(), charts.bottom() + kGap, area.width(), legendHeight);
    paintLegend(&p, legendArea, legend, fonts);
    if (!note.isEmpty()) {
        p.setFont(fonts.text);
        p.setPen(Qt::black);
        p.drawText(QRectF(area.left(), legendArea.bottom() + kGap, area.width(), noteHeight),
                   Qt::AlignHCenter | Qt::TextWordWrap, note);
    }
    p.restore();
}

QByteArray priceChartPng(const PriceChartData& data, QSize size) {
    constexpr int kScale = 2;
    QImage image(size * kScale, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMeter = qRound(96.0 * kScale / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    {
        QPainter painter(&image);
        painter.scale(kScale, kScale);
        paintPriceChart(painter, QRectF(QPointF(0, 0), QSizeF(size)).adjusted(8, 8, -8, -8), data);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

PriceChart::PriceChart(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void PriceChart::setData(PriceChartData data) {
    data_ = std::move(data);
    update();
}

void PriceChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPriceChart(painter, QRectF(rect()).adjusted(12, 8, -12, -8), data_);
}
