#include "ui/main/folder_setup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "core/common/folder_choice.h"
#include "core/pricedata/folder_layout.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"

std::optional<inkquot::ProgramFolder> openProgramFolder(const QStringList& arguments,
                                                        Dialogs& dialogs) {
    std::optional<std::filesystem::path> named;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QStringLiteral("--dir") && i + 1 < arguments.size()) {
            named = toPath(arguments[++i]);
        } else if (arguments[i].startsWith(QStringLiteral("--dir="))) {
            named = toPath(arguments[i].mid(6));
        }
    }
    const auto choice = inkquot::chooseProgramFolder(inkquot::folderHintsFromEnvironment(named));
    if (!choice.ok()) {
        dialogs.warning(nullptr, QString::fromStdString(choice.problem));
        return std::nullopt;
    }
    inkquot::ProgramFolder folder(choice.root);
    const auto status = inkquot::completeProgramFolder(folder);
    if (!status) {
        dialogs.warning(nullptr, QString::fromStdString(status.message));
        return std::nullopt;
    }
    return folder;
}

void useChineseLocale() {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    // Qt's file chooser takes sizes and dates from the system locale, which
    // Qt reads once, at its first use, on Linux from LC_ALL and the like
    // (elsewhere from the system's settings, and these variables mean
    // nothing). It is read here under the Chinese locale; the variables are
    // then put back, so that the C library and any program started later
    // see the user's own.
    struct Saved {
        const char* name;
        bool set;
        QByteArray value;
    };
    Saved saved[] = {{"LC_ALL", false, {}}, {"LANGUAGE", false, {}}};
    for (Saved& s : saved) {
        s.set = qEnvironmentVariableIsSet(s.name);
        s.value = qgetenv(s.name);
    }
    qputenv("LC_ALL", "zh_CN.UTF-8");
    qunsetenv("LANGUAGE");
    (void)QLocale::system();
    for (const Saved& s : saved) {
        if (s.set) {
            qputenv(s.name, s.value);
        } else {
            qunsetenv(s.name);
        }
    }
    // Everything else (type names in the file chooser, number boxes) follows
    // the default locale.
    QLocale::setDefault(chinese);
}

void loadChineseQtTranslations() {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    for (const char* catalogue : {"qtbase", "qt"}) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(chinese, QString::fromLatin1(catalogue), QStringLiteral("_"),
                             folder)) {
            QCoreApplication::installTranslator(translator);
        } else {
            delete translator;
        }
    }
}
