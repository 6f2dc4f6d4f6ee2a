#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

// The core keeps every text in UTF-8; the screens hold QString. These are
// the only crossing between them.
inline QString fromUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

inline std::string toUtf8(const QString& s) {
    return s.toStdString();
}

// A file name the user chose, as the core's path: through UTF-16, so that a
// Chinese name survives on every system (Windows' 8-bit names would lose it).
inline std::filesystem::path toPath(const QString& file) {
    return std::filesystem::path(file.toStdU16String());
}
