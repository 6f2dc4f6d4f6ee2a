// The program's own start-up, as main() does it, with a password prompt that
// says "password" when it would open and answers at once, and "usable" once
// the main window has handled everything queued after the answer. With
// INKQUOT_PROBE_TYPING_MS set, the answer comes that long after the prompt
// opened ("answered"), the prompt's event loop running meanwhile as a modal
// dialog's does while a person types.
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "core/common/clock.h"
#include "core/common/program_folder.h"
#include "ui/common/dialogs.h"
#include "ui/main/frmnew.h"
#include "ui/main/startup.h"

namespace {

class ProbeDialogs final : public Dialogs {
public:
    void message(QWidget*, const QString&, Icon) override {}
    bool confirm(QWidget*, const QString&, Icon, bool) override { return true; }
    std::optional<QString> input(QWidget*, const QString&, const QString& proposed, bool) override {
        std::puts("password");
        std::fflush(stdout);
        if (const int typing = std::atoi(qgetenv("INKQUOT_PROBE_TYPING_MS").constData());
            typing > 0) {
            QEventLoop loop;
            QTimer::singleShot(typing, &loop, &QEventLoop::quit);
            loop.exec();
            std::puts("answered");
            std::fflush(stdout);
        }
        QTimer::singleShot(0, [] {
            std::puts("usable");
            std::fflush(stdout);
            ::_exit(0);
        });
        return proposed;
    }
    void beep() override {}
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    prepareApplication();
    const inkquot::ProgramFolder folder(argc > 1 ? argv[1] : INKQUOT_APP_DIR);
    SingleInstance instance(folder.root());
    ProbeDialogs dialogs;
    inkquot::SystemClock clock;
    const QScreen* screen = QGuiApplication::primaryScreen();
    StartResult start =
        startProgram(folder, dialogs, clock, screen ? screen->size() : QSize(), instance);
    if (start.outcome != StartOutcome::Started) {
        return 1;
    }
    return QApplication::exec();
}
