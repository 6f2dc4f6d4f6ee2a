#include "ui/output/price_sheet.h"

#include <QLabel>

namespace {

// The grid in twips: a label column and six quantity columns; two header
// rows, then for each block a caption row and seven rows of prices.
constexpr int kLeft = 300;
constexpr int kLabelColumn = 1800;
constexpr int kColumn = 1400;
constexpr int kRight = kLeft + kLabelColumn + 6 * kColumn;
constexpr int kGridTop = 3050;
constexpr int kRow = 450;
constexpr int kGridRows = 2 + 2 * (1 + 7);

int columnLeft(int j) {  // j = -1 is the label column
    return j < 0 ? kLeft : kLeft + kLabelColumn + j * kColumn;
}

int rowTop(int r) {
    return kGridTop + r * kRow;
}

// Grid rows: 0 and 1 the headers, then block d has its caption at
// 2 + 8d and its price rows after it.
int captionRow(int block) {
    return 2 + 8 * block;
}
int priceRow(int block, int i) {
    return captionRow(block) + 1 + i;
}

QRect cell(int column, int row, int columns = 1, int rows = 1) {
    const int left = columnLeft(column);
    const int right = column < 0 ? columnLeft(columns - 1) : columnLeft(column + columns);
    return QRect(tw(left), tw(rowTop(row)), tw(right) - tw(left),
                 tw(rowTop(row + rows)) - tw(rowTop(row)));
}

QString indexed(const char* name, int i) {
    return QStringLiteral("%1_%2").arg(QString::fromLatin1(name)).arg(i);
}

}  // namespace

TableHeading addTableHeading(PrintPage* page) {
    TableHeading h;
    h.title = pageLabel(page, QStringLiteral("labiaoti"), printFont(18, true), Qt::AlignCenter);
    h.title->setGeometry(tw(kLeft), tw(300), tw(kRight) - tw(kLeft), tw(600));
    h.kind =
        pageLabel(page, QStringLiteral("lablei"), printFont(12), Qt::AlignLeft | Qt::AlignVCenter);
    h.kind->setGeometry(tw(kLeft), tw(1050), tw(5000), tw(360));
    h.month = pageLabel(page, QStringLiteral("labdate"), printFont(12),
                        Qt::AlignRight | Qt::AlignVCenter);
    h.month->setGeometry(tw(kRight - 5000), tw(1050), tw(5000), tw(360));
    return h;
}

PriceSheet::PriceSheet(QWidget* parent) : PrintPage(parent) {
    setFixedSize(tw(kWidthTwips), tw(kHeightTwips));
    const QFont cellFont = printFont(10.5);
    const QFont captionFont = printFont(10.5, true);
    const Qt::Alignment centre = Qt::AlignCenter;

    const TableHeading heading = addTableHeading(this);
    labiaoti = heading.title;
    lablei = heading.kind;
    labdate = heading.month;
    labshuoming =
        pageLabel(this, QStringLiteral("labshuoming"), cellFont, Qt::AlignLeft | Qt::AlignTop);
    labshuoming->setWordWrap(true);
    labshuoming->setGeometry(tw(kLeft), tw(1530), tw(kRight) - tw(kLeft), tw(1100));
    danjiaUnit = pageLabel(this, QStringLiteral("danjiaUnit"), cellFont,
                           Qt::AlignRight | Qt::AlignBottom, QStringLiteral("单价(元)"));
    danjiaUnit->setGeometry(tw(kRight - 3000), tw(kGridTop - 400), tw(3000), tw(360));

    guige = pageLabel(this, QStringLiteral("guige"), captionFont, centre, QStringLiteral("规格"));
    guige->setGeometry(cell(-1, 0, 1, 2));
    shuliang =
        pageLabel(this, QStringLiteral("shuliang"), captionFont, centre, QStringLiteral("数量"));
    shuliang->setGeometry(cell(0, 0, kQuantities));
    for (int j = 0; j < kQuantities; ++j) {
        labshu[j] = pageLabel(this, indexed("labshu", j), captionFont, centre);
        labshu[j]->setGeometry(cell(j, 1));
    }
    daduCaption = pageLabel(this, QStringLiteral("daduCaption"), captionFont, centre,
                            QStringLiteral("大        度"));
    daduCaption->setGeometry(cell(-1, captionRow(0), kQuantities + 1));
    zhengduCaption = pageLabel(this, QStringLiteral("zhengduCaption"), captionFont, centre,
                               QStringLiteral("正        度"));
    zhengduCaption->setGeometry(cell(-1, captionRow(1), kQuantities + 1));
    for (int i = 0; i < kRows; ++i) {
        labddu[i] = pageLabel(this, indexed("labddu", i), cellFont, centre);
        labddu[i]->setGeometry(cell(-1, priceRow(0, i)));
        labzdu[i] = pageLabel(this, indexed("labzdu", i), cellFont, centre);
        labzdu[i]->setGeometry(cell(-1, priceRow(1, i)));
    }
    for (int d = 0; d < 2; ++d) {
        for (int i = 0; i < kRows; ++i) {
            for (int j = 0; j < kQuantities; ++j) {
                const int n = d * 42 + i * 6 + j;
                labdanjia[n] = pageLabel(this, indexed("labdanjia", n), cellFont,
                                         Qt::AlignRight | Qt::AlignVCenter);
                // A little air between the price and the column's right rule.
                labdanjia[n]->setGeometry(cell(j, priceRow(d, i)).adjusted(0, 0, -tw(200), 0));
            }
        }
    }
}

std::vector<QLineF> PriceSheet::rules() const {
    std::vector<QLineF> lines;
    const qreal left = tw(kLeft);
    const qreal right = tw(kRight);
    const qreal top = tw(rowTop(0));
    const qreal bottom = tw(rowTop(kGridRows));
    auto horizontal = [&](int row, qreal from) {
        lines.emplace_back(from, tw(rowTop(row)), right, tw(rowTop(row)));
    };
    auto vertical = [&](qreal x, int fromRow, int toRow) {
        lines.emplace_back(x, tw(rowTop(fromRow)), x, tw(rowTop(toRow)));
    };
    // The frame.
    lines.emplace_back(left, top, right, top);
    lines.emplace_back(left, bottom, right, bottom);
    vertical(left, 0, kGridRows);
    vertical(right, 0, kGridRows);
    // Under "数量" only the quantity columns are divided; "规格" spans both
    // header rows.
    horizontal(1, tw(columnLeft(0)));
    for (int r = 2; r < kGridRows; ++r) {
        horizontal(r, left);
    }
    // The label column's rule runs through the header and the price rows;
    // the quantity columns are divided below "数量"; the block captions
    // span the whole width.
    for (int block = 0; block < 2; ++block) {
        vertical(tw(columnLeft(0)), priceRow(block, 0), priceRow(block, kRows));
    }
    vertical(tw(columnLeft(0)), 0, 2);
    for (int j = 1; j < kQuantities; ++j) {
        const qreal x = tw(columnLeft(j));
        vertical(x, 1, 2);
        for (int block = 0; block < 2; ++block) {
            vertical(x, priceRow(block, 0), priceRow(block, kRows));
        }
    }
    return lines;
}

void PriceSheet::copyLabels(const PriceSheet& other) {
    labiaoti->setText(other.labiaoti->text());
    lablei->setText(other.lablei->text());
    labdate->setText(other.labdate->text());
    labshuoming->setText(other.labshuoming->text());
    for (int j = 0; j < kQuantities; ++j) {
        labshu[j]->setText(other.labshu[j]->text());
    }
    for (int i = 0; i < kRows; ++i) {
        labddu[i]->setText(other.labddu[i]->text());
        labzdu[i]->setText(other.labzdu[i]->text());
    }
    for (int n = 0; n < kCells; ++n) {
        labdanjia[n]->setText(other.labdanjia[n]->text());
    }
}
