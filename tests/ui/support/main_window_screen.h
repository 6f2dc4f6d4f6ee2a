#pragma once

#include <QApplication>
#include <QtTest>

#include "core/common/clock.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "tests/ui/support/temp_program_folder.h"
#include "ui/main/frmnew.h"

// The main window over an installed temporary program folder on 7 December
// 2026, past the start-up password: the initial password was given and that
// box forgotten, so nothing is shown or queued yet. Not loaded, not shown.
struct MainWindowScreen {
    MainWindowScreen() {
        dialogs.setNextInput(QStringLiteral("604172"));
        if (!window.askPasswordOnce()) {
            QTest::qFail("the initial password was refused", __FILE__, __LINE__);
        }
        dialogs.clear();
    }

    // Loads the window (unless it was) and shows it as the active window,
    // so that focus moves as it does for a user.
    void showActive() {
        if (!window.loaded()) {
            window.load();
        }
        window.show();
        QApplication::setActiveWindow(&window);
        if (!QTest::qWaitForWindowActive(&window)) {
            qWarning("window not active");
        }
    }

    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    inkquot::FixedClock clock{inkquot::CivilDate{2026, 12, 7}};
    FrmNew window{dir.folder(), dialogs, clock};
};
