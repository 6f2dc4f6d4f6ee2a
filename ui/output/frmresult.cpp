#include "ui/output/frmresult.h"

#include <QFontMetrics>
#include <QLabel>

namespace {

QLabel* label(QWidget* parent, const char* name, const QFont& font) {
    return pageLabel(parent, QString::fromLatin1(name), font, Qt::AlignLeft | Qt::AlignVCenter);
}

// A label sized to its text, with room to spare on the right: a printer's
// font may set the same text a little wider than the screen's.
void fitToText(QLabel* l, int left, int top) {
    const QFontMetrics m(l->font());
    const QSize size = m.size(0, l->text());
    l->setGeometry(left, top, size.width() + m.averageCharWidth() * 2, size.height());
}

}  // namespace

FrmResult::FrmResult(QWidget* parent) : PrintPage(parent) {
    setObjectName(QStringLiteral("frmresult"));
    setFixedSize(tw(kWidthTwips), tw(kHeightTwips));
    lbiaoti = label(this, "lbiaoti", printFont(18));
    lbiaoti->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lkehu = label(this, "lkehu", printFont(14.25, true));
    labre = label(this, "labre", printFont(14.25));
    labre->setWordWrap(true);
    labre->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    labdate = label(this, "labdate", printFont(14.25));
    fill(QString(), QString(), QString(), QString());
}

void FrmResult::fill(const QString& heading, const QString& addressee, const QString& letter,
                     const QString& date) {
    lbiaoti->setText(heading);
    lkehu->setText(addressee);
    labre->setText(letter);
    labdate->setText(date);

    // The heading is centred on the page, whatever its length.
    const QFontMetrics m(lbiaoti->font());
    const int headingWidth =
        std::min(width(), m.horizontalAdvance(heading) + m.averageCharWidth() * 2);
    lbiaoti->setGeometry((width() - headingWidth) / 2, tw(1260), headingWidth, m.height());

    fitToText(lkehu, tw(1080), tw(2040));

    // The letter wraps within 9120 twips and grows downwards; a long one
    // pushes the date (and the page) down rather than running over it.
    const int letterWidth = tw(9120);
    const int letterHeight = labre->heightForWidth(letterWidth);
    labre->setGeometry(tw(1080), tw(2820), letterWidth, letterHeight);
    const int dateTop = std::max(tw(5040), labre->geometry().bottom() + tw(360));
    fitToText(labdate, tw(7020), dateTop);
    setFixedSize(tw(kWidthTwips),
                 std::max(tw(kHeightTwips), labdate->geometry().bottom() + tw(720)));
}
