#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "core/common/file_io.h"
#include "core/costing/price_book.h"
#include "tests/ui/params_support.h"
#include "ui/params/jiben_editor.h"

using namespace params_test;
using Icon = Dialogs::Icon;

class TestParamsJiben : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        inkquot::io_test_hooks::failNextWrites(inkquot::io_test_hooks::FailPoint::None);
    }
    void captionsAndFirstRecord();
    void feeChangeWritesOnlyItsSlotAndPricesAtOnce();
    void valueThatIsNotANumber_data();
    void valueThatIsNotANumber();
    void failedWriteIsReported();
};

void TestParamsJiben::captionsAndFirstRecord() {
    ParamsScreen s;
    JibenEditor* ed = s.basicPanel();
    QCOMPARE(ed->title(), QStringLiteral("基本数据设置"));
    QCOMPARE(textsOf(ed->labels), utf8Texts({"项目名称", "项目数据", "单    位", "说    明"}));
    QCOMPARE(textsOf(ed->cmdji), utf8Texts({"显示/刷新", "查看", "更改", "保存改动"}));
    QCOMPARE(ed->lstji->count(), 18);
    QCOMPARE(ed->lstji->item(17)->text(), QStringLiteral("纸张管理费"));
    QCOMPARE(ed->lstji->currentRow(), 0);
    QCOMPARE(ed->txtji[0]->text(), QStringLiteral("平印机印刷每色放头数"));
    QCOMPARE(ed->txtji[1]->text(), QStringLiteral("20"));
    QCOMPARE(ed->txtji[2]->text(), QStringLiteral("张"));
    QCOMPARE(ed->txtji[3]->text(), QStringLiteral("按实际开纸计"));
    for (QLineEdit* box : ed->txtji) {
        QVERIFY(box->isReadOnly());
    }
    QVERIFY(ed->cmdji[JibenEditor::EditButton]->isEnabled());
    QVERIFY(!ed->cmdji[JibenEditor::SaveButton]->isEnabled());

    // A list click shows that record; 专色 factor 1.5 shows as typed.
    ed->lstji->setCurrentRow(16);
    QCOMPARE(ed->txtji[1]->text(), QStringLiteral("1.5"));
    QCOMPARE(ed->txtji[2]->text(), QStringLiteral("倍"));

    // 更改 opens only the value box, and only the save button is left.
    click(ed->cmdji[JibenEditor::EditButton]);
    QVERIFY(!ed->txtji[1]->isReadOnly());
    QVERIFY(ed->txtji[0]->isReadOnly() && ed->txtji[2]->isReadOnly() && ed->txtji[3]->isReadOnly());
    QCOMPARE(QApplication::focusWidget(), ed->txtji[1]);
    QVERIFY(!ed->cmdji[JibenEditor::EditButton]->isEnabled());
    QVERIFY(ed->cmdji[JibenEditor::SaveButton]->isEnabled());
    QVERIFY(s.dialogs.shown.isEmpty());
}

void TestParamsJiben::feeChangeWritesOnlyItsSlotAndPricesAtOnce() {
    ParamsScreen s;
    JibenEditor* ed = s.basicPanel();
    const std::string before = s.working(Ji);

    ed->lstji->setCurrentRow(17);
    QCOMPARE(ed->txtji[1]->text(), QStringLiteral("15"));
    click(ed->cmdji[JibenEditor::EditButton]);
    typeInto(ed->txtji[1], QStringLiteral("10"));
    QSignalSpy saved(ed, &JibenEditor::saved);
    click(ed->cmdji[JibenEditor::SaveButton]);
    QCOMPARE(saved.count(), 1);
    QVERIFY2(s.dialogs.shown.isEmpty(), qPrintable(s.dialogs.texts().join(u'|')));

    const std::string after = s.working(Ji);
    QCOMPARE(after.size(), std::size_t(4896));
    for (int n = 1; n <= 18; ++n) {
        const bool same = slot(after, inkquot::PriceTable::Jiben, n) ==
                          slot(before, inkquot::PriceTable::Jiben, n);
        QVERIFY2(same == (n != 18), qPrintable(QStringLiteral("slot %1").arg(n)));
    }
    std::vector<inkquot::JibenRec> recs;
    QVERIFY(inkquot::readJibenTable(s.dir.file("fjiben.dat"), recs).ok());
    QCOMPARE(recs[17].Shuju, 10.0f);
    QCOMPARE(recs[17].Mingcheng.substr(0, 15), std::string("纸张管理费"));
    // The scheme keeps the edit, and pricing uses it at once.
    QVERIFY(s.stored(Ji) == after);
    inkquot::PriceBook book;
    QVERIFY(inkquot::LoadPriceBook(s.dir.folder(), book).ok());
    QCOMPARE(book.zhi[1], 8800.0f);
    // Back to viewing: both 更改 and the save button wait for the next 查看.
    QVERIFY(!ed->cmdji[JibenEditor::EditButton]->isEnabled());
    QVERIFY(!ed->cmdji[JibenEditor::SaveButton]->isEnabled());
    click(ed->cmdji[JibenEditor::ViewButton]);
    QCOMPARE(ed->txtji[1]->text(), QStringLiteral("10"));
    QVERIFY(ed->cmdji[JibenEditor::EditButton]->isEnabled());
}

void TestParamsJiben::valueThatIsNotANumber_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters") << QStringLiteral("abc");
    QTest::newRow("empty") << QString();
    QTest::newRow("too large for a float") << QStringLiteral("1e39");
}

void TestParamsJiben::valueThatIsNotANumber() {
    QFETCH(QString, typed);
    ParamsScreen s;
    JibenEditor* ed = s.basicPanel();
    const std::string before = s.working(Ji);
    editRecord(ed, 4);
    typeInto(ed->txtji[1], typed);

    // Leaving the box is refused and the focus comes back.
    leaveTo(ed->lstji);
    QCOMPARE(s.dialogs.texts(), QStringList{QStringLiteral("非法数据！")});
    QCOMPARE(s.dialogs.last().icon, Icon::Exclamation);
    QTRY_COMPARE(QApplication::focusWidget(), ed->txtji[1]);
    QCOMPARE(ed->txtji[1]->text(), typed);
    // So is every press of 保存改动: the box check comes first each time and
    // the press goes no further.
    for (int press = 0; press < 2; ++press) {
        s.dialogs.clear();
        click(ed->cmdji[JibenEditor::SaveButton]);
        QCOMPARE(s.dialogs.texts(), QStringList{QStringLiteral("非法数据！")});
        QTRY_COMPARE(QApplication::focusWidget(), ed->txtji[1]);
        QVERIFY(ed->cmdji[JibenEditor::SaveButton]->isEnabled());
    }

    // Saving it anyway is refused; nothing is written and nothing reported
    // as saved.
    s.dialogs.clear();
    QSignalSpy saved(ed, &JibenEditor::saved);
    QVERIFY(!ed->save());
    QCOMPARE(s.dialogs.texts(), QStringList{QStringLiteral("数据错误，不能保存。")});
    QCOMPARE(s.dialogs.last().icon, Icon::Exclamation);
    QCOMPARE(saved.count(), 0);
    QVERIFY(s.working(Ji) == before);
    QVERIFY(s.stored(Ji) == before);
    QVERIFY(!ed->cmdji[JibenEditor::SaveButton]->isEnabled());
    QCOMPARE(ed->records()[4].Shuju, 3000.0f);
}

void TestParamsJiben::failedWriteIsReported() {
    ParamsScreen s;
    JibenEditor* ed = s.basicPanel();
    editRecord(ed, 17);
    typeInto(ed->txtji[1], QStringLiteral("10"));
    QSignalSpy saved(ed, &JibenEditor::saved);
    s.expectFailedSave(ed, Ji, inkquot::io_test_hooks::FailPoint::Sync);
    QCOMPARE(saved.count(), 0);
    // The panel still shows what the file holds.
    click(ed->cmdji[JibenEditor::ViewButton]);
    QCOMPARE(ed->txtji[1]->text(), QStringLiteral("15"));
}

QTEST_MAIN(TestParamsJiben)
#include "tst_params_jiben.moc"
