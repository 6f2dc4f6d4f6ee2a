#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// A logo picked for the letterhead, made ready to keep: read from any
// picture format Qt can read, turned upright, scaled down to fit the logo
// box (never up) and encoded as PNG. A file too large to read safely, or one
// that is no picture, gives a refusal instead.
struct PreparedLogo {
    QImage image;
    QByteArray png;
    QString refusal;  // empty when the logo can be kept

    bool ok() const { return refusal.isEmpty(); }
};

// The kept logo fits within these pixels: room for a sharp print at the
// letterhead's logo size.
inline constexpr int kLogoMaxWidth = 1200;
inline constexpr int kLogoMaxHeight = 450;
// Larger files or pictures are refused before they are decoded.
inline constexpr qint64 kLogoMaxFileBytes = 20 * 1024 * 1024;
inline constexpr qint64 kLogoMaxPixels = 40'000'000;

PreparedLogo prepareLogo(const QString& file);
