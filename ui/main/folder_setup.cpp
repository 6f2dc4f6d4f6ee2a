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
