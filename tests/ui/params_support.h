#pragma once

// Shared pieces of the parameter editor screen tests.

#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStringList>
#include <QtTest>
#include <array>
#include <initializer_list>
#include <string>

#include "core/common/file_io.h"
#include "core/pricedata/default_scheme.h"
#include "core/pricedata/price_tables.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "tests/ui/support/temp_program_folder.h"
#include "ui/params/gongjia_editor.h"
#include "ui/params/jiben_editor.h"
#include "ui/params/params_page.h"
#include "ui/params/scheme_panel.h"
#include "ui/params/zhijia_editor.h"

namespace params_test {

inline const char* const kStored[4] = {"ji.dat", "gong.dat", "zhi.dat", "zhibu.dat"};
inline const char* const kWorking[4] = {"fjiben.dat", "fgongjia.dat", "fzhijia.dat",
                                        "fzhijiabu.dat"};
enum Table { Ji, Gong, Zhi, Zhibu };

// The texts of a control array, in index order, and the texts a test
// expects of it.
template <typename W, std::size_t N>
QStringList textsOf(const std::array<W*, N>& controls) {
    QStringList out;
    for (const W* c : controls) {
        out << c->text();
    }
    return out;
}
inline QStringList utf8Texts(std::initializer_list<const char*> texts) {
    QStringList out;
    for (const char* t : texts) {
        out << QString::fromUtf8(t);
    }
    return out;
}

// Slot n (from 1) of a table file's bytes.
inline std::string slot(const std::string& bytes, inkquot::PriceTable table, int n) {
    const std::size_t len = inkquot::layoutOf(table).slotLength;
    return bytes.substr(std::size_t(n - 1) * len, len);
}

// An installed temporary program folder, with one more scheme stored and
// listed when `scheme` is given, and its parameter page shown and active so
// that focus moves as it does for a user; the first scheme is current and
// the editors show its tables.
struct ParamsScreen {
    explicit ParamsScreen(const char* scheme = nullptr, const char* firstPaper = nullptr)
        : page(dir.folder(), dialogs) {
        if (scheme != nullptr) {
            dir.addScheme(scheme, firstPaper);
        }
        page.resize(900, 640);
        page.loadSchemes();
        page.show();
        QApplication::setActiveWindow(&page);
        if (!QTest::qWaitForWindowActive(&page)) {
            qWarning("window not active");
        }
    }

    // An editor with its panel chosen, as a click on its option button does.
    JibenEditor* basicPanel() { return choose(ParamsPage::BasicPanel, page.jibenEditor()); }
    ZhijiaEditor* paperPanel() { return choose(ParamsPage::PaperPanel, page.zhijiaEditor()); }
    GongjiaEditor* processPanel() { return choose(ParamsPage::ProcessPanel, page.gongjiaEditor()); }

    // The bytes of a working table, or of a scheme's stored copy of it.
    std::string working(Table t) const {
        return TempProgramFolder::readBytes(dir.file(kWorking[t]));
    }
    std::string stored(Table t, const char* scheme = inkquot::kDefaultSchemeName) const {
        return TempProgramFolder::readBytes(dir.schemeFile(scheme, kStored[t]));
    }

    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    ParamsPage page;

    // A save whose write fails at `point` is refused with one "保存失败：…"
    // box and leaves both copies of table `t` as they were.
    template <typename Editor>
    void expectFailedSave(Editor* ed, Table t, inkquot::io_test_hooks::FailPoint point,
                          std::size_t afterBytes = 0) {
        const std::string before = working(t);
        dialogs.clear();
        inkquot::io_test_hooks::failNextWrites(point, afterBytes);
        const bool saved = ed->save();
        inkquot::io_test_hooks::failNextWrites(inkquot::io_test_hooks::FailPoint::None);
        QVERIFY(!saved);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY2(dialogs.last().text.startsWith(QStringLiteral("保存失败：")),
                 qPrintable(dialogs.last().text));
        QCOMPARE(dialogs.last().icon, Dialogs::Icon::Exclamation);
        QVERIFY(working(t) == before);
        QVERIFY(stored(t) == before);
    }

private:
    template <typename Editor>
    Editor* choose(ParamsPage::Panel panel, Editor* editor) {
        page.choosePanel(panel);
        return editor;
    }
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

// Shows record `row` and opens it for editing with 更改, as a user does.
inline void openRecord(QListWidget* list, QPushButton* editButton, int row) {
    list->setCurrentRow(row);
    click(editButton);
}
inline void editRecord(JibenEditor* ed, int row) {
    openRecord(ed->lstji, ed->cmdji[JibenEditor::EditButton], row);
}
inline void editRecord(ZhijiaEditor* ed, int row) {
    openRecord(ed->lstzhi, ed->cmdzhi[ZhijiaEditor::EditButton], row);
}
inline void editRecord(GongjiaEditor* ed, int row) {
    openRecord(ed->lstgong, ed->cmdgong[GongjiaEditor::EditButton], row);
}

}  // namespace params_test
