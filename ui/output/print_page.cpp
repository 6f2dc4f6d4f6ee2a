#include "ui/output/print_page.h"

#include <QFont>
#include <QLabel>
#include <QPainter>

QLabel* pageLabel(QWidget* parent, const QString& name, const QFont& font, Qt::Alignment align,
                  const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setFont(font);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(align);
    return l;
}

QFont printFont(double points, bool bold) {
    QFont font;
    // AR PL UMing comes first: it covers all of GBK, and it draws the radical
    // code points (⼤ U+2F24, ⻚ U+2EDA) with glyphs of their own. Fonts that
    // share one glyph between a radical and its ideograph (Noto Serif CJK)
    // make a PDF's text read back as the radical, so a search for "大度" in
    // an exported quotation would fail; they are only the fallback.
    font.setFamilies({QStringLiteral("AR PL UMing CN"), QStringLiteral("宋体"),
                      QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                      QStringLiteral("Source Han Serif SC")});
    font.setStyleHint(QFont::Serif);
    // Points to pixels of 1/96 inch.
    font.setPixelSize(qRound(points * 96.0 / 72.0));
    font.setBold(bold);
    return font;
}

PrintPage::PrintPage(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
}

void PrintPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1));
    for (const QLineF& line : rules()) {
        painter.drawLine(line);
    }
    paintDrawing(painter);
}

void paintPage(QPainter& painter, const PrintPage& page, const QRectF& target) {
    const QSizeF size = page.size();
    if (size.isEmpty() || target.isEmpty()) {
        return;
    }
    const qreal scale = std::min(target.width() / size.width(), target.height() / size.height());
    painter.save();
    painter.translate(target.left() + (target.width() - size.width() * scale) / 2, target.top());
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    // A hairline would vanish on a fine printer: the rules are a third of a
    // point wide whatever the scale.
    painter.setPen(QPen(Qt::black, 0.5));
    for (const QLineF& line : page.rules()) {
        painter.drawLine(line);
    }
    page.paintDrawing(painter);
    for (const QLabel* label : page.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&page)) {
            continue;
        }
        const QRect rect(label->mapTo(&page, QPoint(0, 0)), label->size());
        // A picture (the letterhead's logo) is drawn from its full
        // resolution into its place.
        if (const QPixmap picture = label->pixmap(); !picture.isNull()) {
            painter.drawPixmap(QRectF(rect), picture, QRectF(picture.rect()));
            continue;
        }
        if (label->text().isEmpty()) {
            continue;
        }
        int flags = static_cast<int>(label->alignment());
        if (label->wordWrap()) {
            flags |= Qt::TextWordWrap;
        }
        painter.setFont(label->font());
        painter.setPen(Qt::black);
        painter.drawText(rect, flags, label->text());
    }
    painter.restore();
}
