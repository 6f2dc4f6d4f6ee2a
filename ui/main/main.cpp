#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyleFactory>

#include "core/common/clock.h"
#include "core/common/program_folder.h"
#include "ui/common/dialogs.h"
#include "ui/main/app_icon.h"
#include "ui/main/frmnew.h"
#include "ui/main/startup.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(applicationTitle());
    QApplication::setWindowIcon(applicationIcon());
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
    }

    const inkquot::ProgramFolder folder(inkquot::executableFolder());
    SingleInstance instance(folder.root());
    QtDialogs dialogs;
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
