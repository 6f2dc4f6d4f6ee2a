#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include "core/common/file_io.h"
#include "core/costing/price_book.h"
#include "tests/ui/params_support.h"
#include "tests/ui/support/main_window_screen.h"
#include "ui/main/frmnew.h"
#include "ui/params/zhijia_editor.h"

using namespace params_test;
using Icon = Dialogs::Icon;
using inkquot::PriceTable;

namespace {

QColor menuColour() {
    return QApplication::palette("QMenu").color(QPalette::Window);
}
QColor windowColour(QWidget* w) {
    return QApplication::palette(w).color(QPalette::Base);
}

}  // namespace

class TestParamsZhijia : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        inkquot::io_test_hooks::failNextWrites(inkquot::io_test_hooks::FailPoint::None);
    }
    void captions();
    void editUnlocks_data();
    void editUnlocks();
    void newNameReachesEveryPaperList();
    void emptyNoteIsRefused();
    void leavingWithThreeFaultsShowsThreeMessages();
    void leavingForAnotherBoxComplainsOnce();
    void textsThatCannotBeStored_data();
    void textsThatCannotBeStored();
    void failedWriteLeavesBothFiles();
    void stickerPaperTable();
    void blankRecordsDoNotHoldTheFocus();
};

void TestParamsZhijia::captions() {
    ParamsScreen s;
    ZhijiaEditor* ed = s.page.zhijiaEditor();
    QCOMPARE(ed->title(), QStringLiteral("查看或修改纸价"));
    QCOMPARE(ed->optzhi[0]->text(), QStringLiteral("普通纸"));
    QCOMPARE(ed->optzhi[1]->text(), QStringLiteral("不干胶纸"));
    QVERIFY(ed->optzhi[0]->isChecked());
    QCOMPARE(textsOf(ed->labels), utf8Texts({"纸张种类", "纸张价格", "单    位", "说    明"}));
    QCOMPARE(textsOf(ed->cmdzhi), utf8Texts({"显示/刷新", "查看", "更改", "保存更改"}));
    QCOMPARE(ed->lstzhi->count(), 50);
    QCOMPARE(ed->txtzhi[0]->text(), QStringLiteral("铜版纸"));
    QCOMPARE(ed->txtzhi[1]->text(), QStringLiteral("8000"));  // as stored, no fee
    QCOMPARE(ed->txtzhi[2]->text(), QStringLiteral("元/吨"));
    QCOMPARE(ed->txtzhi[3]->text(), QStringLiteral("普通"));
    // Hidden with the panel until it is chosen; its own state is viewing.
    QVERIFY(!ed->isEnabled());
    QVERIFY(ed->lstzhi->isEnabledTo(ed));
    QVERIFY(ed->cmdzhi[ZhijiaEditor::EditButton]->isEnabledTo(ed));
    QVERIFY(!ed->cmdzhi[ZhijiaEditor::SaveButton]->isEnabledTo(ed));
    s.page.Optfang[ParamsPage::PaperPanel]->click();
    QVERIFY(ed->isEnabled() && ed->isVisible());
}

void TestParamsZhijia::editUnlocks_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("textsOpen");
    QTest::newRow("built-in 铜版纸") << 0 << QStringLiteral("铜版纸") << false;
    QTest::newRow("built-in 灰底白版纸") << 8 << QStringLiteral("灰底白版纸") << false;
    QTest::newRow("user-definable first") << 9 << QStringLiteral("自定义纸张") << true;
    QTest::newRow("user-definable last") << 49 << QStringLiteral("自定义纸张") << true;
}

void TestParamsZhijia::editUnlocks() {
    QFETCH(int, row);
    QFETCH(QString, name);
    QFETCH(bool, textsOpen);
    ParamsScreen s;
    ZhijiaEditor* ed = s.paperPanel();
    ed->lstzhi->setCurrentRow(row);
    QCOMPARE(ed->txtzhi[0]->text(), name);
    for (QLineEdit* box : ed->txtzhi) {
        QVERIFY(box->isReadOnly());
    }
    click(ed->cmdzhi[ZhijiaEditor::EditButton]);
    QVERIFY(!ed->txtzhi[1]->isReadOnly());
    QCOMPARE(QApplication::focusWidget(), ed->txtzhi[1]);
    QVERIFY(ed->txtzhi[2]->isReadOnly());
    for (int b : {0, 3}) {
        QCOMPARE(ed->txtzhi[b]->isReadOnly(), !textsOpen);
        QCOMPARE(ed->txtzhi[b]->palette().color(QPalette::Base),
                 textsOpen ? windowColour(ed->txtzhi[b]) : menuColour());
    }
    QVERIFY(ed->cmdzhi[ZhijiaEditor::SaveButton]->isEnabled());
    QVERIFY(!ed->cmdzhi[ZhijiaEditor::EditButton]->isEnabled());
    // Typing into a locked name changes nothing.
    ed->txtzhi[0]->setFocus();
    QTest::keyClicks(ed->txtzhi[0], QStringLiteral("x"));
    QCOMPARE(ed->txtzhi[0]->text(), textsOpen ? name + QStringLiteral("x") : name);
}

void TestParamsZhijia::newNameReachesEveryPaperList() {
    MainWindowScreen s;
    s.window.load();
    s.window.showPage(FrmNew::ParamsPageIndex);
    s.showActive();
    ZhijiaEditor* ed = s.window.paramsPage()->zhijiaEditor();
    s.window.paramsPage()->Optfang[ParamsPage::PaperPanel]->click();
    QVERIFY(ed->isVisible());
    s.dialogs.clear();

    editRecord(ed, 9);
    typeInto(ed->txtzhi[0], QStringLiteral("特种纸"));
    typeInto(ed->txtzhi[3], QStringLiteral("进口"));
    typeInto(ed->txtzhi[1], QStringLiteral("12000"));
    click(ed->cmdzhi[ZhijiaEditor::SaveButton]);
    QVERIFY2(s.dialogs.shown.isEmpty(), qPrintable(s.dialogs.texts().join(u'|')));

    std::vector<inkquot::ZhijiaRec> recs;
    inkquot::readZhijiaTable(s.dir.schemeFile("系统默认", "zhi.dat"), recs);
    QCOMPARE(QString::fromStdString(recs[9].Mingcheng).trimmed(), QStringLiteral("特种纸"));
    QCOMPARE(QString::fromStdString(recs[9].Shuoming).trimmed(), QStringLiteral("进口"));
    QCOMPARE(recs[9].Jiage, 12000.0f);
    QCOMPARE(recs[9].Neizhi, 0);

    const auto lists =
        s.window.findChildren<QComboBox*>(QRegularExpression(QStringLiteral("^Ncomzhi")));
    QCOMPARE(lists.size(), 10);
    for (QComboBox* list : lists) {
        QCOMPARE(list->count(), 50);
        QCOMPARE(list->itemText(9).trimmed(), QStringLiteral("特种纸"));
        QCOMPARE(list->itemText(10).trimmed(), QStringLiteral("自定义纸张"));
    }
}

void TestParamsZhijia::emptyNoteIsRefused() {
    ParamsScreen s;
    ZhijiaEditor* ed = s.paperPanel();
    const std::string before = s.working(Zhi);
    // A refused paper save writes and copies nothing: a stored file that
    // differs from the working file stays as it is.
    TempProgramFolder::writeBytes(s.dir.schemeFile(inkquot::kDefaultSchemeName, "zhi.dat"),
                                  "stale");
    editRecord(ed, 12);
    typeInto(ed->txtzhi[3], QString());
    QSignalSpy saved(ed, &ZhijiaEditor::papersSaved);
    // Every press of the button meets the box check first and goes no
    // further; the save itself refuses as well.
    for (int press = 0; press < 2; ++press) {
        s.dialogs.clear();
        click(ed->cmdzhi[ZhijiaEditor::SaveButton]);
        QCOMPARE(s.dialogs.texts(), QStringList{QStringLiteral("数据不能为空！")});
        QTRY_COMPARE(QApplication::focusWidget(), ed->txtzhi[3]);
    }
    QVERIFY(!ed->save());
    QCOMPARE(s.dialogs.texts().last(), QStringLiteral("数据错误，不能保存。"));
    QCOMPARE(s.dialogs.last().icon, Icon::Exclamation);
    QCOMPARE(saved.count(), 0);
    QVERIFY(s.working(Zhi) == before);
    QVERIFY(s.stored(Zhi) == "stale");
    QVERIFY(!ed->cmdzhi[ZhijiaEditor::SaveButton]->isEnabled());
}

void TestParamsZhijia::leavingWithThreeFaultsShowsThreeMessages() {
    ParamsScreen s;
    ZhijiaEditor* ed = s.paperPanel();
    editRecord(ed, 20);
    // Each box is filled and left in turn; the focus comes back each time.
    ed->txtzhi[0]->setText(QString());
    ed->txtzhi[3]->setText(QString());
    typeInto(ed->txtzhi[1], QStringLiteral("八千"));
    leaveTo(ed->lstzhi);
    QCOMPARE(s.dialogs.texts(),
             QStringList({QStringLiteral("数据不能为空！"), QStringLiteral("数据不能为空！"),
                          QStringLiteral("非法数据！")}));
    QTRY_COMPARE(QApplication::focusWidget(), ed->txtzhi[1]);
    // With everything mended the focus may go.
    s.dialogs.clear();
    ed->txtzhi[0]->setText(QStringLiteral("牛皮纸"));
    ed->txtzhi[3]->setText(QStringLiteral("包装"));
    typeInto(ed->txtzhi[1], QStringLiteral("6500"));
    leaveTo(ed->txtzhi[2]);
    QVERIFY(s.dialogs.shown.isEmpty());
    QCOMPARE(QApplication::focusWidget(), ed->txtzhi[2]);
}

void TestParamsZhijia::leavingForAnotherBoxComplainsOnce() {
    ParamsScreen s;
    ZhijiaEditor* ed = s.paperPanel();
    editRecord(ed, 30);
    typeInto(ed->txtzhi[3], QString());
    // The price box shares the check; taking the focus back from it must
    // not judge it too, or the two boxes would hand the complaint back and
    // forth.
    leaveTo(ed->txtzhi[1]);
    QTest::qWait(50);
    QCOMPARE(s.dialogs.texts(), QStringList{QStringLiteral("数据不能为空！")});
    QCOMPARE(QApplication::focusWidget(), ed->txtzhi[3]);
}

void TestParamsZhijia::textsThatCannotBeStored_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("name of 11 characters")
        << 0 << QStringLiteral("一二三四五六七八九十一") << QStringLiteral("最多20个字节");
    QTest::newRow("emoji in name") << 0 << QStringLiteral("纸😀") << QStringLiteral("😀");
    QTest::newRow("note of 16 characters")
        << 3 << QStringLiteral("一二三四五六七八九十一二三四五六")
        << QStringLiteral("最多30个字节");
}

void TestParamsZhijia::textsThatCannotBeStored() {
    QFETCH(int, box);
    QFETCH(QString, text);
    QFETCH(QString, mentions);
    ParamsScreen s;
    ZhijiaEditor* ed = s.paperPanel();
    const std::string before = s.working(Zhi);
    editRecord(ed, 9);
    typeInto(ed->txtzhi[box], text);
    leaveTo(ed->lstzhi);
    QCOMPARE(s.dialogs.shown.size(), 1);
    QVERIFY2(s.dialogs.last().text.contains(mentions), qPrintable(s.dialogs.last().text));
    QTRY_COMPARE(QApplication::focusWidget(), ed->txtzhi[box]);
    QCOMPARE(ed->txtzhi[box]->text(), text);  // kept for mending, never cut

    s.dialogs.clear();
    QVERIFY(!ed->save());
    QCOMPARE(s.dialogs.shown.size(), 1);
    QVERIFY(s.dialogs.last().text.contains(mentions));
    QVERIFY(s.working(Zhi) == before);
    QVERIFY(s.stored(Zhi) == before);
}

void TestParamsZhijia::failedWriteLeavesBothFiles() {
    ParamsScreen s;
    ZhijiaEditor* ed = s.paperPanel();
    editRecord(ed, 0);
    typeInto(ed->txtzhi[1], QStringLiteral("8500"));
    QSignalSpy saved(ed, &ZhijiaEditor::papersSaved);
    s.expectFailedSave(ed, Zhi, inkquot::io_test_hooks::FailPoint::WriteAfterBytes, 10);
    QVERIFY(s.dialogs.last().text.contains(QStringLiteral("fzhijia.dat")));
    QCOMPARE(saved.count(), 0);
    QCOMPARE(ed->records()[0].Jiage, 8000.0f);
}

void TestParamsZhijia::stickerPaperTable() {
    ParamsScreen s;
    ZhijiaEditor* ed = s.paperPanel();
    const std::string papers = s.working(Zhi);

    ed->optzhi[1]->click();
    for (int b : {ZhijiaEditor::ViewButton, ZhijiaEditor::EditButton, ZhijiaEditor::SaveButton}) {
        QVERIFY(!ed->cmdzhi[b]->isEnabled());
    }
    QVERIFY(!ed->lstzhi->isEnabled());
    QVERIFY(ed->cmdzhi[ZhijiaEditor::RefreshButton]->isEnabled());

    click(ed->cmdzhi[ZhijiaEditor::RefreshButton]);
    QCOMPARE(ed->lstzhi->count(), 10);
    QVERIFY(ed->lstzhi->isEnabled());
    QCOMPARE(ed->shownTable(), PriceTable::Zhijiabu);
    QCOMPARE(ed->txtzhi[0]->text(), QStringLiteral("普通不干胶纸"));
    QCOMPARE(ed->txtzhi[1]->text(), QStringLiteral("1.2"));
    QCOMPARE(ed->txtzhi[2]->text(), QStringLiteral("元/张"));

    editRecord(ed, 0);
    typeInto(ed->txtzhi[1], QStringLiteral("1.35"));
    QSignalSpy stickers(ed, &ZhijiaEditor::stickerPapersSaved);
    QSignalSpy paper(ed, &ZhijiaEditor::papersSaved);
    click(ed->cmdzhi[ZhijiaEditor::SaveButton]);
    QCOMPARE(stickers.count(), 1);
    QCOMPARE(paper.count(), 0);
    QVERIFY(s.dialogs.shown.isEmpty());
    QVERIFY(s.working(Zhi) == papers);
    QVERIFY(s.stored(Zhibu) == s.working(Zhibu));
    std::vector<inkquot::ZhijiabuRec> recs;
    inkquot::readZhijiabuTable(s.dir.file("fzhijiabu.dat"), recs);
    QCOMPARE(recs[0].Jiage, 1.35f);
    // A refused save copies neither table.
    TempProgramFolder::writeBytes(s.dir.schemeFile(inkquot::kDefaultSchemeName, "zhibu.dat"),
                                  "stale");
    editRecord(ed, 1);
    ed->txtzhi[1]->setText(QString());
    QVERIFY(!ed->save());
    QVERIFY(s.stored(Zhibu) == "stale");
    QVERIFY(s.stored(Zhi) == papers);

    // Back to the papers: the sticker list stays until it is refreshed.
    ed->optzhi[0]->click();
    QVERIFY(!ed->lstzhi->isEnabled());
    QCOMPARE(ed->lstzhi->count(), 10);
    click(ed->cmdzhi[ZhijiaEditor::RefreshButton]);
    QCOMPARE(ed->lstzhi->count(), 50);
}

void TestParamsZhijia::blankRecordsDoNotHoldTheFocus() {
    // A short sticker table: records beyond its end read as blanks.
    ParamsScreen s;
    TempProgramFolder::writeBytes(s.dir.file("fzhijiabu.dat"), s.working(Zhibu).substr(0, 136 * 2));
    ZhijiaEditor* ed = s.paperPanel();
    ed->optzhi[1]->click();
    click(ed->cmdzhi[ZhijiaEditor::RefreshButton]);
    ed->lstzhi->setCurrentRow(5);
    QCOMPARE(ed->txtzhi[0]->text(), QString());
    ed->txtzhi[0]->setFocus();
    leaveTo(ed->txtzhi[2]);
    QVERIFY(s.dialogs.shown.isEmpty());
    QCOMPARE(QApplication::focusWidget(), ed->txtzhi[2]);
}

QTEST_MAIN(TestParamsZhijia)
#include "tst_params_zhijia.moc"
