#include "ui/params/logo_image.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

PreparedLogo prepareLogo(const QString& file) {
    PreparedLogo logo;
    const QFileInfo info(file);
    const QString name = info.fileName();
    if (!info.isFile() || !info.isReadable()) {
        logo.refusal = QStringLiteral("无法打开图片文件“%1”。").arg(name);
        return logo;
    }
    if (info.size() > kLogoMaxFileBytes) {
        logo.refusal = QStringLiteral("图片文件“%1”太大（不能超过%2MB），请换一个较小的图片。")
                           .arg(name)
                           .arg(kLogoMaxFileBytes / (1024 * 1024));
        return logo;
    }
    QImageReader reader(file);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        logo.refusal = QStringLiteral("“%1”不是可以读取的图片文件。").arg(name);
        return logo;
    }
    // The size from the file's header decides, before any pixel is decoded,
    // whether the picture is refused or read straight at a smaller size.
    const QSize size = reader.size();
    if (size.isValid()) {
        if (qint64(size.width()) * size.height() > kLogoMaxPixels) {
            logo.refusal = QStringLiteral("图片“%1”尺寸太大（%2×%3像素），请换一个较小的图片。")
                               .arg(name)
                               .arg(size.width())
                               .arg(size.height());
            return logo;
        }
        if (size.width() > kLogoMaxWidth || size.height() > kLogoMaxHeight) {
            reader.setScaledSize(size.scaled(kLogoMaxWidth, kLogoMaxHeight, Qt::KeepAspectRatio));
        }
    }
    QImage image = reader.read();
    if (image.isNull() || image.width() < 1 || image.height() < 1) {
        logo.refusal = QStringLiteral("“%1”不是可以读取的图片文件。").arg(name);
        return logo;
    }
    if (image.width() > kLogoMaxWidth || image.height() > kLogoMaxHeight) {
        image = image.scaled(kLogoMaxWidth, kLogoMaxHeight, Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
    }
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                          : QImage::Format_RGB32);
    QBuffer buffer(&logo.png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        logo.png.clear();
        logo.refusal = QStringLiteral("图片“%1”无法转换，请换一个图片。").arg(name);
        return logo;
    }
    logo.image = image;
    return logo;
}
