#include "ui/main/app_icon.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap drawIcon(int size) {
    QPixmap pix(size, size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath tile;
    const qreal m = size * 0.04;
    tile.addRoundedRect(QRectF(m, m, size - 2 * m, size - 2 * m), size * 0.18, size * 0.18);
    QLinearGradient fill(0, 0, 0, size);
    fill.setColorAt(0, QColor(0x2f, 0x5d, 0x9a));
    fill.setColorAt(1, QColor(0x16, 0x2f, 0x57));
    p.fillPath(tile, fill);
    QFont font;
    font.setPixelSize(int(size * 0.62));
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, size, size * 0.96), Qt::AlignCenter, QStringLiteral("墨"));
    return pix;
}

}  // namespace

QIcon applicationIcon() {
    static const QIcon icon = [] {
        QIcon i;
        for (int size : {16, 32, 48, 64, 128}) {
            i.addPixmap(drawIcon(size));
        }
        return i;
    }();
    return icon;
}
