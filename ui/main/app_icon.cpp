#include "ui/main/app_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <array>
#include <optional>

namespace {

constexpr std::array kSizes{16, 22, 24, 32, 48, 64, 128, 256};

// Reads the pictures when the icon is first drawn, not when it is set: a
// window and the program take the icon at start-up, and reading and
// decoding eight PNGs then would only delay the first window.
class DeferredIconEngine final : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int size : kSizes) {
            sizes << QSize(size, size);
        }
        return sizes;
    }
    QString key() const override { return QStringLiteral("inkquot-deferred"); }
    QIconEngine* clone() const override { return new DeferredIconEngine; }

private:
    const QIcon& icon() {
        if (!icon_) {
            icon_.emplace();
            for (int size : kSizes) {
                icon_->addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/inkquot.png").arg(size),
                               QSize(size, size));
            }
        }
        return *icon_;
    }

    std::optional<QIcon> icon_;
};

}  // namespace

QIcon applicationIcon() {
    static const QIcon icon(new DeferredIconEngine);
    return icon;
}
