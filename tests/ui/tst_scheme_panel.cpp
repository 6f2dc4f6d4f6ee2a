#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "core/common/file_io.h"
#include "core/common/file_switch.h"
#include "core/pricedata/default_scheme.h"
#include "core/pricedata/scheme_list.h"
#include "core/pricedata/startup_recovery.h"
#include "tests/ui/support/main_window_screen.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "tests/ui/support/temp_program_folder.h"
#include "ui/main/frmnew.h"
#include "ui/params/jiben_editor.h"
#include "ui/params/params_page.h"
#include "ui/params/scheme_panel.h"

using Icon = Dialogs::Icon;
using Kind = ScriptedDialogs::Kind;

namespace {

const QString kDefault = QStringLiteral("系统默认");
const char* const kSuffixes[4] = {"ji.dat", "gong.dat", "zhi.dat", "zhibu.dat"};
const char* const kWorking[4] = {"fjiben.dat", "fgongjia.dat", "fzhijia.dat", "fzhijiabu.dat"};

void setList(const TempProgramFolder& dir, const std::vector<std::string>& names) {
    inkquot::rewriteSchemeList(dir.folder().schemeList(), names);
}

bool schemeFilesExist(const TempProgramFolder& dir, std::string_view name) {
    for (const char* suffix : kSuffixes) {
        if (!std::filesystem::exists(dir.schemeFile(name, suffix))) {
            return false;
        }
    }
    return true;
}

// Everything in the program folder, name by name, for "nothing changed".
std::map<std::string, std::string> snapshot(const TempProgramFolder& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.root())) {
        if (e.is_regular_file()) {
            files[e.path().string()] = TempProgramFolder::readBytes(e.path());
        }
    }
    return files;
}

// A scheme panel over an installed temporary program folder that also
// stores and lists `schemes` (each with the name of its first paper); the
// list is read, unless `read` is false, as the program does when the
// parameter page is first shown.
struct PanelScreen {
    explicit PanelScreen(std::initializer_list<std::pair<const char*, const char*>> schemes = {},
                         bool read = true) {
        for (const auto& [name, firstPaper] : schemes) {
            dir.addScheme(name, firstPaper);
        }
        if (read) {
            panel.refresh();
        }
    }

    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    SchemePanel panel{dir.folder(), dialogs};
};

}  // namespace

class TestSchemePanel : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        inkquot::io_test_hooks::failNextWrites(inkquot::io_test_hooks::FailPoint::None);
    }
    void startSelectsFirstListedScheme();
    void choosingAnEntryCopiesItsTables();
    void builtInSchemeCannotBeDeleted();
    void deletingSecondOfThree();
    void deleteKeepsSchemeExportedSinceRefresh();
    void deleteAnsweredNoChangesNothing();
    void failingOperationsChangeNothing_data();
    void failingOperationsChangeNothing();
    void damagedStoredTableIsToldAtSelection();
    void exportUnderListedNameCopiesNothing();
    void exportUnderNewName();
    void exportCancelledOrEmpty_data();
    void exportCancelledOrEmpty();
    void exportRefusesBadNames_data();
    void exportRefusesBadNames();
    void exportTrimsBlanks();
    void repairCancelledLeavesFilesAlone();
    void repairRewritesBuiltInScheme();
    void missingStoredFileKeepsWorkingTables();
    void missingListOffersRestore_data();
    void missingListOffersRestore();
    void missingBuiltInFileOffersRestore();
};

void TestSchemePanel::startSelectsFirstListedScheme() {
    MainWindowScreen s;
    s.dir.addScheme("甲方案", "甲纸");
    setList(s.dir, {"甲方案", "系统默认"});
    s.window.load();
    QVERIFY(s.dialogs.shown.isEmpty());
    SchemePanel* panel = s.window.findChild<SchemePanel*>();
    QVERIFY(panel);
    QCOMPARE(panel->entries(), QStringList({QStringLiteral("甲方案"), kDefault}));
    QCOMPARE(panel->Cmbfangan->currentText(), QStringLiteral("甲方案"));
    QCOMPARE(panel->currentScheme(), QStringLiteral("甲方案"));
    QCOMPARE(s.dir.workingFirstPaper(), QStringLiteral("甲纸"));
    QCOMPARE(s.dir.workingFirstStickerPaper(), QStringLiteral("甲纸"));
}

void TestSchemePanel::choosingAnEntryCopiesItsTables() {
    PanelScreen s({{"甲方案", "甲纸"}}, false);
    QSignalSpy selected(&s.panel, &SchemePanel::schemeSelected);
    s.panel.refresh();
    QCOMPARE(selected.count(), 1);
    QCOMPARE(s.dir.workingFirstPaper(), QStringLiteral("铜版纸"));

    emit s.panel.Cmbfangan->activated(1);  // as a choice in the open list does
    QCOMPARE(selected.count(), 2);
    QCOMPARE(s.panel.currentScheme(), QStringLiteral("甲方案"));
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(TempProgramFolder::readBytes(s.dir.file(kWorking[i])),
                 TempProgramFolder::readBytes(s.dir.schemeFile("甲方案", kSuffixes[i])));
    }
    QVERIFY(s.dialogs.shown.isEmpty());
}

void TestSchemePanel::builtInSchemeCannotBeDeleted() {
    PanelScreen s({{"甲方案", "甲纸"}});
    const auto before = snapshot(s.dir);
    QTest::mouseClick(s.panel.Cmdf[SchemePanel::DeleteButton], Qt::LeftButton);
    QCOMPARE(s.dialogs.shown.size(), 1);
    QCOMPARE(s.dialogs.last().text, QStringLiteral("系统默认方案，不能删除！"));
    QCOMPARE(s.dialogs.last().icon, Icon::Exclamation);
    QVERIFY(snapshot(s.dir) == before);
    QCOMPARE(s.panel.entries().size(), 2);
}

void TestSchemePanel::deletingSecondOfThree() {
    PanelScreen s({{"甲方案", "甲纸"}, {"乙方案", "乙纸"}});
    QVERIFY(s.panel.selectEntry(1));
    QCOMPARE(s.dir.workingFirstPaper(), QStringLiteral("甲纸"));

    s.dialogs.setNextAnswer(true);
    QTest::mouseClick(s.panel.Cmdf[SchemePanel::DeleteButton], Qt::LeftButton);
    QCOMPARE(s.dialogs.texts(), QStringList{QStringLiteral("确定要删除价格方案“甲方案”吗？")});
    QCOMPARE(s.dialogs.last().kind, Kind::Confirm);
    QVERIFY(!s.dialogs.last().okIsDefault);
    QCOMPARE(s.dir.schemeList(), QStringList({kDefault, QStringLiteral("乙方案")}));
    QCOMPARE(s.panel.entries(), QStringList({kDefault, QStringLiteral("乙方案")}));
    for (const char* suffix : kSuffixes) {
        QVERIFY(!std::filesystem::exists(s.dir.schemeFile("甲方案", suffix)));
    }
    QVERIFY(schemeFilesExist(s.dir, "乙方案"));
    // The first scheme became current.
    QCOMPARE(s.panel.Cmbfangan->currentIndex(), 0);
    QCOMPARE(s.panel.currentScheme(), kDefault);
    QCOMPARE(s.dir.workingFirstPaper(), QStringLiteral("铜版纸"));
    // The list on disk is exactly two quoted lines.
    QCOMPARE(
        QByteArray::fromStdString(TempProgramFolder::readBytes(s.dir.folder().schemeList())),
        QByteArray("\"\xCF\xB5\xCD\xB3\xC4\xAC\xC8\xCF\"\r\n\"\xD2\xD2\xB7\xBD\xB0\xB8\"\r\n"));
}

void TestSchemePanel::deleteKeepsSchemeExportedSinceRefresh() {
    PanelScreen s({{"甲方案", "甲纸"}});
    s.dialogs.setNextInput(QStringLiteral("新方案"));
    s.panel.exportScheme();
    QCOMPARE(s.panel.entries().size(), 2);  // not shown until refreshed
    QVERIFY(s.panel.selectEntry(1));
    s.dialogs.setNextAnswer(true);
    s.panel.deleteSelected();
    QCOMPARE(s.dir.schemeList(), QStringList({kDefault, QStringLiteral("新方案")}));
    QVERIFY(schemeFilesExist(s.dir, "新方案"));
}

void TestSchemePanel::deleteAnsweredNoChangesNothing() {
    PanelScreen s({{"甲方案", "甲纸"}});
    QVERIFY(s.panel.selectEntry(1));
    const auto before = snapshot(s.dir);
    // Answered No: nothing happens.
    s.dialogs.setNextAnswer(false);
    s.panel.deleteSelected();
    QCOMPARE(s.dialogs.shown.size(), 1);
    QVERIFY(snapshot(s.dir) == before);
    QCOMPARE(s.panel.entries().size(), 2);
    QCOMPARE(s.panel.currentScheme(), QStringLiteral("甲方案"));
}

void TestSchemePanel::exportUnderListedNameCopiesNothing() {
    PanelScreen s({{"方案一", "旧纸"}});
    const auto before = snapshot(s.dir);
    s.dialogs.setNextInput(QStringLiteral("方案一"));
    QTest::mouseClick(s.panel.Cmdf[SchemePanel::ExportButton], Qt::LeftButton);
    QCOMPARE(s.dialogs.shown.size(), 2);
    const auto& ask = s.dialogs.shown[0];
    QCOMPARE(ask.kind, Kind::Input);
    QCOMPARE(ask.text,
             QStringLiteral("您可将改动并保存过的基本数据，纸价数据和工价数据导出，以便永久使"
                            "用。\n请输入价格方案名称。"));
    QCOMPARE(ask.proposed, QStringLiteral("方案一"));
    QCOMPARE(s.dialogs.last().text, QStringLiteral("方案名已存在!"));
    QCOMPARE(s.dialogs.last().icon, Icon::Exclamation);
    QVERIFY(snapshot(s.dir) == before);
}

void TestSchemePanel::exportUnderNewName() {
    PanelScreen s;
    s.dialogs.setNextInput(QStringLiteral("春季报价"));
    s.panel.exportScheme();
    QVERIFY(s.dialogs.shown.size() == 1);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(TempProgramFolder::readBytes(s.dir.schemeFile("春季报价", kSuffixes[i])),
                 TempProgramFolder::readBytes(s.dir.file(kWorking[i])));
    }
    QCOMPARE(s.dir.schemeList(), QStringList({kDefault, QStringLiteral("春季报价")}));
    QCOMPARE(s.panel.entries(), QStringList({kDefault}));
    QCOMPARE(s.panel.currentScheme(), kDefault);
    s.panel.refresh();
    QCOMPARE(s.panel.entries(), QStringList({kDefault, QStringLiteral("春季报价")}));
}

void TestSchemePanel::exportCancelledOrEmpty_data() {
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("cancelled") << true;
    QTest::newRow("empty answer") << false;
}

void TestSchemePanel::exportCancelledOrEmpty() {
    QFETCH(bool, cancelled);
    PanelScreen s;
    const auto before = snapshot(s.dir);
    s.dialogs.setNextInput(cancelled ? std::nullopt : std::optional<QString>(QString()));
    s.panel.exportScheme();
    QCOMPARE(s.dialogs.shown.size(), 1);  // only the question
    QVERIFY(snapshot(s.dir) == before);
}

void TestSchemePanel::exportRefusesBadNames_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("blanks only") << QStringLiteral("   ");
    QTest::newRow("slash") << QStringLiteral("a/b");
    QTest::newRow("climbs out of jgfa") << QStringLiteral("../../etc/x");
    QTest::newRow("backslash") << QStringLiteral("a\\b");
    QTest::newRow("double quote") << QStringLiteral("甲\"乙");
    QTest::newRow("tab") << QStringLiteral("甲\t乙");
    QTest::newRow("line feed") << QStringLiteral("甲\n乙");
    QTest::newRow("dot dot") << QStringLiteral("..");
    QTest::newRow("not in GBK") << QStringLiteral("方案\U0001F600");
    QTest::newRow("Korean not in GBK") << QStringLiteral("방안");
    QTest::newRow("61 characters") << QString(61, QChar(0x7532));
}

void TestSchemePanel::exportRefusesBadNames() {
    QFETCH(QString, name);
    PanelScreen s;
    const auto outside = snapshot(s.dir).size();
    const auto before = snapshot(s.dir);
    s.dialogs.setNextInput(name);
    s.panel.exportScheme();
    QCOMPARE(s.dialogs.shown.size(), 2);
    QCOMPARE(s.dialogs.last().icon, Icon::Exclamation);
    QVERIFY(!s.dialogs.last().text.isEmpty());
    QVERIFY(snapshot(s.dir) == before);
    QCOMPARE(snapshot(s.dir).size(), outside);
    QVERIFY(!std::filesystem::exists(s.dir.root().parent_path().parent_path() / "etcji.dat"));
}

void TestSchemePanel::exportTrimsBlanks() {
    PanelScreen s;
    const QString longest(60, QChar(0x7532));
    for (const QString& typed : {QStringLiteral("  方案二 "), longest}) {
        s.dialogs.setNextInput(typed);
        s.panel.exportScheme();
    }
    QVERIFY2(s.dialogs.shown.size() == 2, qPrintable(s.dialogs.texts().join(QLatin1Char('|'))));
    QCOMPARE(s.dir.schemeList(), QStringList({kDefault, QStringLiteral("方案二"), longest}));
    QVERIFY(schemeFilesExist(s.dir, "方案二"));
    QVERIFY(schemeFilesExist(s.dir, longest.toStdString()));
}

void TestSchemePanel::repairCancelledLeavesFilesAlone() {
    PanelScreen s({}, false);
    TempProgramFolder::writeBytes(s.dir.schemeFile("系统默认", "gong.dat"), "garbled");
    const auto before = snapshot(s.dir);
    s.dialogs.setNextAnswer(false);
    QTest::mouseClick(s.panel.Cmdf[SchemePanel::RepairButton], Qt::LeftButton);
    QCOMPARE(s.dialogs.shown.size(), 1);
    QCOMPARE(s.dialogs.last().kind, Kind::Confirm);
    QCOMPARE(s.dialogs.last().text, QStringLiteral("将要修复系统默认方案的数据，继续吗？"));
    QCOMPARE(s.dialogs.last().icon, Icon::Information);
    QVERIFY(snapshot(s.dir) == before);
}

void TestSchemePanel::repairRewritesBuiltInScheme() {
    TempProgramFolder dir;
    TempProgramFolder reference;
    ScriptedDialogs dialogs;
    SchemePanel panel(dir.folder(), dialogs);
    panel.refresh();
    for (const char* suffix : kSuffixes) {
        TempProgramFolder::writeBytes(dir.schemeFile("系统默认", suffix), "garbled");
    }
    TempProgramFolder::writeBytes(dir.file("fzhijia.dat"), "working, not repaired");
    dialogs.setNextAnswer(true);
    QTest::mouseClick(panel.Cmdf[SchemePanel::RepairButton], Qt::LeftButton);
    QCOMPARE(dialogs.shown.size(), 2);
    // The built-in scheme is the current one: its repaired prices are used
    // once it is selected again, which "刷新" does.
    QCOMPARE(dialogs.last().text.section(QLatin1Char('\n'), 0, 0), QStringLiteral("修复完毕！"));
    QVERIFY2(dialogs.last().text.contains(QStringLiteral("“刷新”")),
             qPrintable(dialogs.last().text));
    QCOMPARE(dialogs.last().icon, Icon::None);
    for (const char* suffix : kSuffixes) {
        // A shorter file than the built-in table: rewritten whole.
        QCOMPARE(TempProgramFolder::readBytes(dir.schemeFile("系统默认", suffix)),
                 TempProgramFolder::readBytes(reference.schemeFile("系统默认", suffix)));
    }
    QCOMPARE(TempProgramFolder::readBytes(dir.file("fzhijia.dat")),
             std::string("working, not repaired"));
}

void TestSchemePanel::missingStoredFileKeepsWorkingTables() {
    PanelScreen s({{"甲方案", "甲纸"}}, false);
    QSignalSpy selected(&s.panel, &SchemePanel::schemeSelected);
    s.panel.refresh();
    std::filesystem::remove(s.dir.schemeFile("甲方案", "zhibu.dat"));
    const auto before = snapshot(s.dir);
    QVERIFY(!s.panel.selectEntry(1));
    QCOMPARE(s.dialogs.shown.size(), 1);
    QCOMPARE(s.dialogs.last().icon, Icon::Exclamation);
    QVERIFY2(s.dialogs.last().text.contains(QStringLiteral("甲方案zhibu.dat")),
             qPrintable(s.dialogs.last().text));
    QVERIFY(snapshot(s.dir) == before);  // not one working table replaced
    QCOMPARE(s.panel.Cmbfangan->currentText(), kDefault);
    QCOMPARE(s.panel.currentScheme(), kDefault);
    QCOMPARE(selected.count(), 1);
}

void TestSchemePanel::missingListOffersRestore_data() {
    QTest::addColumn<int>("damage");  // 0 the list gone, 1 jgfa gone, 2 the list empty
    QTest::addColumn<bool>("restore");
    QTest::newRow("list gone, restored") << 0 << true;
    QTest::newRow("list gone, declined") << 0 << false;
    QTest::newRow("jgfa gone, restored") << 1 << true;
    QTest::newRow("jgfa gone, declined") << 1 << false;
    QTest::newRow("list empty, restored") << 2 << true;
    QTest::newRow("list empty, declined") << 2 << false;
}

void TestSchemePanel::missingListOffersRestore() {
    QFETCH(int, damage);
    QFETCH(bool, restore);
    TempProgramFolder dir;
    const bool wholeFolder = damage == 1;
    if (wholeFolder) {
        std::filesystem::remove_all(dir.folder().schemeFolder());
    } else if (damage == 0) {
        std::filesystem::remove(dir.folder().schemeList());
    } else {
        TempProgramFolder::writeBytes(dir.folder().schemeList(), "");
    }
    TempProgramFolder::writeBytes(dir.file("fzhijia.dat"), "");
    ScriptedDialogs dialogs;
    SchemePanel panel(dir.folder(), dialogs);
    dialogs.setNextAnswer(restore);
    if (wholeFolder && !restore) {
        dialogs.setNextAnswer(false);  // the built-in scheme's files, asked for next
    }
    panel.refresh();
    QCOMPARE(dialogs.shown.first().kind, Kind::Confirm);
    QVERIFY2(dialogs.shown.first().text.contains(QStringLiteral("fangan.inf")),
             qPrintable(dialogs.shown.first().text));
    // Restored or not, the built-in scheme is offered.
    QCOMPARE(panel.entries(), QStringList({kDefault}));
    if (restore || !wholeFolder) {
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(panel.currentScheme(), kDefault);
        QCOMPARE(dir.workingFirstPaper(), QStringLiteral("铜版纸"));
    } else {
        // Its files are gone too, and their restoring is declined again.
        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(panel.currentScheme(), QString());
        // Nothing half-copied: the working table is as it was.
        QCOMPARE(TempProgramFolder::readBytes(dir.file("fzhijia.dat")), std::string());
        // The other buttons stay safe without a list.
        dialogs.setNextInput(QStringLiteral("方案一"));
        panel.exportScheme();
        dialogs.setNextAnswer(true);
        panel.deleteSelected();
        QVERIFY(!std::filesystem::exists(dir.schemeFile("方案一", "ji.dat")));
    }
}

void TestSchemePanel::missingBuiltInFileOffersRestore() {
    TempProgramFolder dir;
    std::filesystem::remove(dir.schemeFile("系统默认", "gong.dat"));
    ScriptedDialogs dialogs;
    SchemePanel panel(dir.folder(), dialogs);
    dialogs.setNextAnswer(true);
    panel.refresh();
    QCOMPARE(dialogs.shown.size(), 1);
    QVERIFY(dialogs.last().text.contains(QStringLiteral("系统默认gong.dat")));
    QCOMPARE(panel.currentScheme(), kDefault);
    QVERIFY(schemeFilesExist(dir, "系统默认"));
    QCOMPARE(TempProgramFolder::readBytes(dir.file("fgongjia.dat")).size(), std::size_t(44 * 508));
}

void TestSchemePanel::failingOperationsChangeNothing_data() {
    using inkquot::io_test_hooks::FailPoint;
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("point");
    QTest::addColumn<int>("skip");
    const FailPoint points[] = {FailPoint::CreateTemporary, FailPoint::Sync, FailPoint::Rename,
                                FailPoint::Remove, FailPoint::FolderSync};
    for (const char* op : {"select", "export", "delete", "save"}) {
        for (FailPoint point : points) {
            for (int skip = 0; skip < 6; ++skip) {
                const QByteArray row = QByteArray(op) + " point " + QByteArray::number(int(point)) +
                                       " skip " + QByteArray::number(skip);
                QTest::newRow(row.constData()) << QString::fromLatin1(op) << int(point) << skip;
            }
        }
    }
}

// Selecting, exporting, deleting and saving a record each change several
// files; a failure at any step leaves every file as it was (after the next
// start's recovery when even the undo failed) and says so.
void TestSchemePanel::failingOperationsChangeNothing() {
    QFETCH(QString, operation);
    QFETCH(int, point);
    QFETCH(int, skip);
    TempProgramFolder dir;
    dir.addScheme("甲方案", "甲纸");
    ScriptedDialogs dialogs;
    ParamsPage page(dir.folder(), dialogs);
    page.loadSchemes();
    SchemePanel* panel = page.schemePanel();
    QVERIFY(panel->selectEntry(1));
    QCOMPARE(dir.workingFirstPaper(), QStringLiteral("甲纸"));
    const auto before = snapshot(dir);
    dialogs.clear();

    inkquot::io_test_hooks::failNextWrites(inkquot::io_test_hooks::FailPoint(point), 10,
                                           std::size_t(skip));
    if (operation == QLatin1String("select")) {
        panel->selectEntry(0);
    } else if (operation == QLatin1String("export")) {
        dialogs.setNextInput(QStringLiteral("乙方案"));
        panel->exportScheme();
    } else if (operation == QLatin1String("delete")) {
        dialogs.setNextAnswer(true);
        panel->deleteSelected();
    } else {
        JibenEditor* ed = page.jibenEditor();
        ed->lstji->setCurrentRow(17);
        ed->cmdji[JibenEditor::ViewButton]->click();
        ed->cmdji[JibenEditor::EditButton]->click();
        ed->txtji[1]->setText(QStringLiteral("10"));
        ed->save();
    }
    inkquot::io_test_hooks::failNextWrites(inkquot::io_test_hooks::FailPoint::None);

    const bool failed = !dialogs.shown.isEmpty() && dialogs.last().kind == Kind::Message;
    if (!failed) {
        return;  // the failure came after the last step of this operation
    }
    QCOMPARE(dialogs.last().icon, Icon::Exclamation);
    const QString text = dialogs.last().text;
    // Undone at once, or (when even the undo failed) left to the next start.
    const bool later = text.contains(QStringLiteral("下次启动"));
    QVERIFY2(later || text.contains(QStringLiteral("所有文件都未改动")), qPrintable(text));
    if (later) {
        QVERIFY(std::filesystem::exists(dir.file(inkquot::kSwitchJournalName)));
    }
    QVERIFY(inkquot::recoverProgramFolder(dir.folder()).ok());
    auto expected = before;
    if (operation == QLatin1String("delete") && dir.schemeList().size() == 1) {
        // The deletion itself was made; only the selection of the first
        // remaining scheme that follows it failed, leaving the working
        // tables as they were.
        QCOMPARE(dir.schemeList(), QStringList{kDefault});
        QVERIFY(!std::filesystem::exists(dir.schemeFile("甲方案", "ji.dat")));
        expected = snapshot(dir);
        for (const char* working : kWorking) {
            const auto key = dir.file(working).string();
            QVERIFY(expected[key] == before.at(key));
        }
    }
    QVERIFY2(snapshot(dir) == expected, qPrintable(text));
    if (expected == before) {
        QCOMPARE(panel->entries().size(), 2);
    }
}

void TestSchemePanel::damagedStoredTableIsToldAtSelection() {
    TempProgramFolder dir;
    // A garbled stored built-in table is copied at start; the user hears of
    // it once, with the way to repair it.
    TempProgramFolder::writeBytes(dir.schemeFile("系统默认", "gong.dat"), "garbled");
    ScriptedDialogs dialogs;
    SchemePanel panel(dir.folder(), dialogs);
    panel.refresh();
    QCOMPARE(dialogs.shown.size(), 1);
    QCOMPARE(dialogs.last().icon, Icon::Exclamation);
    QCOMPARE(dialogs.last().text,
             QStringLiteral("价格文件 系统默认gong.dat 不完整：只有 0 条记录\n"
                            "当前方案是“系统默认”，可用“修复系统默认数据”修复后重新选择该方案。"));
    QCOMPARE(TempProgramFolder::readBytes(dir.file("fgongjia.dat")), std::string("garbled"));
    panel.refresh();
    QCOMPARE(dialogs.shown.size(), 1);
}

QTEST_MAIN(TestSchemePanel)
#include "tst_scheme_panel.moc"
