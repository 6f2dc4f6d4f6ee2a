#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <cstdio>
#include <cstring>

#include "core/common/clock.h"
#include "core/common/program_folder.h"
#include "inkquot_version.h"
#include "ui/common/dialogs.h"
#include "ui/main/folder_setup.h"
#include "ui/main/frmnew.h"
#include "ui/main/startup.h"

int main(int argc, char* argv[]) {
    // Answered before Qt starts, so it works without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("inkquot %s\n", INKQUOT_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf(
                "usage: inkquot [--dir PROGRAM_FOLDER] [--version]\n"
                "The program folder is --dir, else $INKQUOT_HOME, else this executable's\n"
                "folder when it holds jgfa/ (a portable copy), else the per-user folder\n"
                "$XDG_DATA_HOME/inkquot (~/.local/share/inkquot), laid out at first start.\n");
            return 0;
        }
    }

    useChineseLocale();
    QApplication app(argc, argv);
    prepareApplication();

    QtDialogs dialogs;
    const auto opened = openProgramFolder(QCoreApplication::arguments(), dialogs);
    if (!opened) {
        return 1;
    }
    const inkquot::ProgramFolder& folder = *opened;
    SingleInstance instance(folder.root());
    inkquot::SystemClock clock;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize();

    StartResult start = startProgram(folder, dialogs, clock, screenSize, instance);
    switch (start.outcome) {
        case StartOutcome::AlreadyRunning:
            return 0;
        case StartOutcome::ScreenTooSmall:
            return 1;
        case StartOutcome::Started:
            break;
    }
    QObject::connect(start.window.get(), &FrmNew::closed, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    return QApplication::exec();
}
