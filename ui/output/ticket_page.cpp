#include "ui/output/ticket_page.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

#include "core/job/production_ticket.h"
#include "core/job/ticket_text.h"
#include "ui/common/utf8_text.h"

namespace {

constexpr int kMarginTwips = 600;  // around the page's contents
constexpr int kPadTwips = 90;      // inside a box, and between its fields
constexpr int kGapTwips = 180;     // between the boxes
constexpr int kColumns = 3;

QString fieldText(const inkquot::TicketField& f) {
    return fromUtf8(f.label) + QStringLiteral("：") + fromUtf8(f.value);
}

}  // namespace

TicketPage::TicketPage(QWidget* parent) : PrintPage(parent) {
    setObjectName(QStringLiteral("ticketPage"));
    setFixedSize(tw(kWidthTwips), tw(kWidthTwips));
}

QLabel* TicketPage::addLabel(const QString& name, const QString& text, const QFont& font) {
    QLabel* l = pageLabel(this, name, font, Qt::AlignLeft | Qt::AlignTop, text);
    l->setWordWrap(true);
    return l;
}

int TicketPage::placeFields(const QString& name, const std::vector<std::pair<QString, int>>& texts,
                            int top) {
    const int left = tw(kMarginTwips) + tw(kPadTwips);
    const int column = (width() - 2 * left) / kColumns;
    const QFont font = printFont(10.5);
    int at = 0;  // the next free column of the row
    int rowTop = top;
    int rowBottom = top;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const int span = std::clamp(texts[i].second, 1, kColumns);
        if (at + span > kColumns) {
            at = 0;
            rowTop = rowBottom + tw(kPadTwips) / 2;
        }
        QLabel* l = addLabel(name + QString::number(i), texts[i].first, font);
        // A printer's font may set a line a little wider than the screen's:
        // the label keeps a few pixels spare on the right.
        const int cellWidth = span * column - tw(kPadTwips);
        l->setGeometry(left + at * column, rowTop, cellWidth, l->heightForWidth(cellWidth));
        rowBottom = std::max(rowBottom, l->geometry().bottom() + 1);
        at += span;
    }
    return rowBottom;
}

void TicketPage::fill(const inkquot::ProductionTicket& ticket) {
    for (QLabel* l : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        delete l;
    }
    heading = nullptr;
    rules_.clear();
    const int left = tw(kMarginTwips);
    const int right = width() - tw(kMarginTwips);

    heading =
        addLabel(QStringLiteral("ticketHeading"), QStringLiteral("施工单"), printFont(18, true));
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    heading->setGeometry(left, tw(kMarginTwips), right - left,
                         QFontMetrics(heading->font()).height());

    std::vector<std::pair<QString, int>> header;
    for (const inkquot::TicketField& f : inkquot::headerFields(ticket.header)) {
        header.emplace_back(fieldText(f), f.span);
    }
    int y = placeFields(QStringLiteral("ticketHeader_"), header,
                        heading->geometry().bottom() + tw(kGapTwips));

    const std::vector<inkquot::TicketBlock> blocks = inkquot::ticketBlocks(ticket);
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        const int boxTop = y + tw(kGapTwips);
        const QString name = QStringLiteral("ticketBlock%1_").arg(b);
        QLabel* title = addLabel(name + QStringLiteral("title"), fromUtf8(blocks[b].title),
                                 printFont(12, true));
        const int titleWidth = right - left - 2 * tw(kPadTwips);
        title->setGeometry(left + tw(kPadTwips), boxTop + tw(kPadTwips) / 2, titleWidth,
                           title->heightForWidth(titleWidth));
        const int titleRule = title->geometry().bottom() + tw(kPadTwips) / 2;
        std::vector<std::pair<QString, int>> fields;
        for (const inkquot::TicketField& f : blocks[b].fields) {
            fields.emplace_back(fieldText(f), f.span);
        }
        const int boxBottom = placeFields(name, fields, titleRule + tw(kPadTwips)) + tw(kPadTwips);
        rules_.insert(
            rules_.end(),
            {QLineF(left, boxTop, right, boxTop), QLineF(left, titleRule, right, titleRule),
             QLineF(left, boxBottom, right, boxBottom), QLineF(left, boxTop, left, boxBottom),
             QLineF(right, boxTop, right, boxBottom)});
        y = boxBottom;
    }
    setFixedSize(width(), y + tw(kMarginTwips));
}
