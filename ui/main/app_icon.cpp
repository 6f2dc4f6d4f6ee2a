#include "ui/main/app_icon.h"

#include <QFont>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <map>

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

// Draws each size only when a window or the desktop first asks for it:
// drawing all of them at start-up loads a bold CJK face that most runs never
// show.
class DrawnIconEngine final : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::max(1, std::min(size.width(), size.height()));
        QPixmap& drawn = drawn_[side];
        if (drawn.isNull()) {
            drawn = drawIcon(side);
        }
        return drawn;
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        return {QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(64, 64), QSize(128, 128)};
    }
    QIconEngine* clone() const override { return new DrawnIconEngine(*this); }

private:
    std::map<int, QPixmap> drawn_;
};

}  // namespace

QIcon applicationIcon() {
    static const QIcon icon(new DrawnIconEngine);
    return icon;
}
