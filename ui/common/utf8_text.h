#pragma once

#include <QString>
#include <string>
#include <string_view>

// The core keeps every text in UTF-8; the screens hold QString. These two are
// the only crossing between them.
inline QString fromUtf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

inline std::string toUtf8(const QString& s) {
    return s.toStdString();
}
