// The screen tests draw on the offscreen platform. On Windows that platform
// does not ask the system for its fonts: it reads font files from one folder
// only, and without one it has no Chinese font at all (every character a
// box, nothing for a PDF to embed). Point it at the system's Fonts folder
// before the first font is looked up, as a clerk's Windows would supply them.
#ifdef _WIN32

#include <QByteArray>
#include <QDir>
#include <QtGlobal>

namespace {

[[maybe_unused]] const bool fontsNamed = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_FONTDIR")) {
        const QString windows = qEnvironmentVariable("WINDIR", QStringLiteral("C:/Windows"));
        qputenv("QT_QPA_FONTDIR", QDir(windows).filePath(QStringLiteral("Fonts")).toUtf8());
    }
    return true;
}();

}  // namespace

#endif
