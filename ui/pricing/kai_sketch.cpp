#include "ui/pricing/kai_sketch.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QtMath>

namespace {

const QColor kInk(0x33, 0x3d, 0x4a);
const QColor kFrame(0x9a, 0xa4, 0xb0);
const QColor kSheet(0xfd, 0xfb, 0xf4);
const QColor kPiece(0xd9, 0xe7, 0xf7);
const QColor kGhost(0xb8, 0xc2, 0xcc);
const QColor kGripper(0xc9, 0x8a, 0x3c);
const QColor kMark(0xb0, 0x30, 0x30);

void drawArrowHead(QPainter& p, QPointF tip, QPointF from) {
    const QPointF d = tip - from;
    const qreal len = std::hypot(d.x(), d.y());
    if (len <= 0) {
        return;
    }
    const QPointF u = d / len;
    const QPointF n(-u.y(), u.x());
    const qreal size = 6;
    QPolygonF head;
    head << tip << tip - u * size + n * (size / 2.5) << tip - u * size - n * (size / 2.5);
    p.setBrush(p.pen().color());
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
}

// A dimension line from `from` to `to` with arrows at both ends and its
// label centred beside it, `labelOffset` away from the line.
void drawDimension(QPainter& p, QPointF from, QPointF to, const QString& label,
                   QPointF labelOffset) {
    p.save();
    QPen pen(kMark, 1.2);
    p.setPen(pen);
    p.drawLine(from, to);
    drawArrowHead(p, from, to);
    drawArrowHead(p, to, from);
    QFont f = p.font();
    f.setItalic(true);
    f.setBold(true);
    p.setFont(f);
    const QPointF mid = (from + to) / 2 + labelOffset;
    const QRectF box(mid.x() - 12, mid.y() - 10, 24, 20);
    p.drawText(box, Qt::AlignCenter, label);
    p.restore();
}

// A thin dashed line from a piece's edge out to its dimension line.
void drawExtension(QPainter& p, QPointF from, QPointF to) {
    p.save();
    p.setPen(QPen(kMark, 0.8, Qt::DotLine));
    p.drawLine(from, to);
    p.restore();
}

}  // namespace

KaiSketch::KaiSketch(bool bookSpread, QWidget* parent) : QWidget(parent), bookSpread_(bookSpread) {
    setObjectName(QStringLiteral("Picshiyitu"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize KaiSketch::sizeHint() const {
    return {340, 280};
}

QSize KaiSketch::minimumSizeHint() const {
    return {300, 230};
}

void KaiSketch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    // Frame and title.
    const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(outer, 4, 4);

    QFont titleFont = font();
    titleFont.setBold(true);
    p.setFont(titleFont);
    const qreal titleHeight = QFontMetricsF(titleFont).height() + 10;
    p.setPen(kInk);
    p.drawText(QRectF(outer.left() + 10, outer.top() + 2, outer.width() - 20, titleHeight),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("示意图"));
    p.setPen(QPen(kFrame, 1));
    p.drawLine(QPointF(outer.left() + 8, outer.top() + titleHeight),
               QPointF(outer.right() - 8, outer.top() + titleHeight));
    p.setFont(font());

    // The press sheet, with room for the marks: b on the left, a above and
    // c on the right; the whole drawing is centred in the panel.
    const qreal marksAbove = 34;
    const qreal left = outer.left() + 40;
    const qreal right = outer.right() - 36;
    const qreal areaTop = outer.top() + titleHeight + 8;
    const qreal areaBottom = outer.bottom() - 12;
    if (right - left < 60 || areaBottom - areaTop - marksAbove < 60) {
        return;
    }
    qreal sw = right - left;
    qreal sh = sw * 0.72;
    if (sh > areaBottom - areaTop - marksAbove) {
        sh = areaBottom - areaTop - marksAbove;
        sw = std::min(right - left, sh / 0.72);
    }
    const qreal top = areaTop + (areaBottom - areaTop - marksAbove - sh) / 2 + marksAbove;
    const QRectF sheet(left, top, sw, sh);
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kSheet);
    p.drawRect(sheet);

    // The gripper strip along the bottom edge: the press holds the sheet
    // there, so no piece may lie on it.
    const qreal strip = std::max<qreal>(10, sh * 0.12);
    const QRectF gripper(sheet.left(), sheet.bottom() - strip, sheet.width(), strip);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf6, 0xe7, 0xd2));
    p.drawRect(gripper);
    p.setBrush(QBrush(kGripper, Qt::BDiagPattern));
    p.drawRect(gripper);
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(sheet);

    // Pieces laid in a grid above the gripper; the first one is drawn in
    // full and carries the marks, the others are outlines.
    const int cols = bookSpread_ ? 2 : 3;
    const int rows = 2;
    const qreal gap = 6;
    const qreal usableHeight = sh - strip;
    const qreal pw = (sw - (cols + 1) * gap) / cols;
    const qreal ph = (usableHeight - (rows + 1) * gap) / rows;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (r == 0 && c == 0) {
                continue;
            }
            const QRectF ghost(sheet.left() + gap + c * (pw + gap),
                               sheet.top() + gap + r * (ph + gap), pw, ph);
            p.setPen(QPen(kGhost, 1, Qt::DashLine));
            p.drawRect(ghost);
            if (bookSpread_) {
                p.drawLine(QPointF(ghost.center().x(), ghost.top()),
                           QPointF(ghost.center().x(), ghost.bottom()));
            }
        }
    }

    // The first piece: the dashed outline is the cut line with the trim, the
    // filled part the finished size.
    const QRectF cut(sheet.left() + gap, sheet.top() + gap, pw, ph);
    const qreal trim = std::min<qreal>(5, std::min(pw, ph) / 8);
    const QRectF finished = cut.adjusted(trim, trim, -trim, -trim);
    p.setPen(QPen(kInk, 1, Qt::DashLine));
    p.drawRect(cut);
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPiece);
    p.drawRect(finished);
    p.setBrush(Qt::NoBrush);

    // a across the top: one page of a spread, or the whole piece.
    const qreal aRight = bookSpread_ ? finished.center().x() : finished.right();
    const qreal aLine = sheet.top() - 16;
    drawExtension(p, QPointF(finished.left(), finished.top()), QPointF(finished.left(), aLine - 4));
    drawExtension(p, QPointF(aRight, finished.top()), QPointF(aRight, aLine - 4));
    drawDimension(p, QPointF(finished.left(), aLine), QPointF(aRight, aLine), QStringLiteral("a"),
                  QPointF(0, -11));

    // b down the left side.
    const qreal bLine = sheet.left() - 18;
    drawExtension(p, QPointF(finished.left(), finished.top()), QPointF(bLine - 4, finished.top()));
    drawExtension(p, QPointF(finished.left(), finished.bottom()),
                  QPointF(bLine - 4, finished.bottom()));
    drawDimension(p, QPointF(bLine, finished.top()), QPointF(bLine, finished.bottom()),
                  QStringLiteral("b"), QPointF(-12, 0));

    // c on the right, over the height of the gripper strip.
    const qreal cLine = sheet.right() + 16;
    drawExtension(p, QPointF(sheet.right(), gripper.top()), QPointF(cLine + 4, gripper.top()));
    drawDimension(p, QPointF(cLine, gripper.top()), QPointF(cLine, gripper.bottom()),
                  QStringLiteral("c"), QPointF(12, 0));

    if (bookSpread_) {
        // The spine between the two pages of the spread.
        const qreal x = finished.center().x();
        p.setPen(QPen(kMark, 1.4, Qt::DashDotLine));
        p.drawLine(QPointF(x, cut.top()), QPointF(x, cut.bottom()));
        QFont small = font();
        small.setPointSizeF(std::max(7.0, small.pointSizeF() - 1));
        p.setFont(small);
        const QFontMetricsF fm(small);
        const qreal ch = fm.height();
        const QRectF label(x - fm.horizontalAdvance(QStringLiteral("书")) / 2 - 2,
                           finished.center().y() - ch,
                           fm.horizontalAdvance(QStringLiteral("书")) + 4, 2 * ch);
        p.setPen(Qt::NoPen);
        p.setBrush(kPiece);
        p.drawRect(label);
        p.setPen(kMark);
        p.drawText(QRectF(label.left(), label.top(), label.width(), ch), Qt::AlignCenter,
                   QStringLiteral("书"));
        p.drawText(QRectF(label.left(), label.top() + ch, label.width(), ch), Qt::AlignCenter,
                   QStringLiteral("脊"));
    }
}
