#pragma once

// Shared pieces of the parameter editor screen tests.

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <string>

#include "core/pricedata/default_scheme.h"
#include "core/pricedata/price_tables.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "tests/ui/support/temp_program_folder.h"
#include "ui/params/params_page.h"
#include "ui/params/scheme_panel.h"

namespace params_test {

inline const char* const kStored[4] = {"ji.dat", "gong.dat", "zhi.dat", "zhibu.dat"};
inline const char* const kWorking[4] = {"fjiben.dat", "fgongjia.dat", "fzhijia.dat",
                                        "fzhijiabu.dat"};
enum Table { Ji, Gong, Zhi, Zhibu };

inline std::string working(const TempProgramFolder& dir, Table t) {
    return TempProgramFolder::readBytes(dir.file(kWorking[t]));
}
inline std::string stored(const TempProgramFolder& dir, Table t,
                          const char* scheme = inkquot::kDefaultSchemeName) {
    return TempProgramFolder::readBytes(dir.schemeFile(scheme, kStored[t]));
}

// Slot n (from 1) of a table file's bytes.
inline std::string slot(const std::string& bytes, inkquot::PriceTable table, int n) {
    const std::size_t len = inkquot::layoutOf(table).slotLength;
    return bytes.substr(std::size_t(n - 1) * len, len);
}

// The parameter page of an installed program folder, shown and active so
// that focus moves as it does for a user; the first scheme is current and
// the editors show its tables.
struct ShownPage {
    explicit ShownPage(const TempProgramFolder& dir, ScriptedDialogs& dialogs)
        : page(dir.folder(), dialogs) {
        page.resize(900, 640);
        page.loadSchemes();
        page.show();
        QApplication::setActiveWindow(&page);
        if (!QTest::qWaitForWindowActive(&page)) {
            qWarning("window not active");
        }
    }
    ParamsPage page;
};

// Types into a box as a user would: focus, select everything, delete it,
// type.
inline void typeInto(QLineEdit* box, const QString& text) {
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    // Chinese text arrives from the input method as one committed string.
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(box, &commit);
}

// Moves the focus on as a mouse click elsewhere does, then lets a refused
// leave take the focus back.
inline void leaveTo(QWidget* next) {
    next->setFocus(Qt::MouseFocusReason);
    QTest::qWait(20);
}

inline void click(QPushButton* b) {
    QTest::mouseClick(b, Qt::LeftButton);
    QTest::qWait(20);
}

}  // namespace params_test
