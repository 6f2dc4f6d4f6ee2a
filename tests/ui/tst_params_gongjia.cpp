#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "core/common/file_io.h"
#include "tests/ui/params_support.h"
#include "ui/params/gongjia_editor.h"

using namespace params_test;
using Icon = Dialogs::Icon;
using inkquot::PriceTable;

namespace {

constexpr int kPinban = 17;  // 拼版费: 20 元/块版, TAG 0.6 0.3 0 0

}  // namespace

class TestParamsGongjia : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        inkquot::io_test_hooks::failNextWrites(inkquot::io_test_hooks::FailPoint::None);
    }
    void captionsAndRecord();
    void leavingABox_data();
    void leavingABox();
    void zeroUnitPriceRestoredSilently_data();
    void zeroUnitPriceRestoredSilently();
    void saveWritesPriceAndFactors();
    void savePressMeetsTheBoxCheckFirst();
    void refusedSaveIsNotReportedAsSaved();
};

void TestParamsGongjia::captionsAndRecord() {
    ParamsScreen s;
    GongjiaEditor* ed = s.processPanel();
    QCOMPARE(ed->title(), QStringLiteral("查看或修改工价"));
    QCOMPARE(textsOf(ed->labels), utf8Texts({"项目名称", "单    价", "单    位", "TAG1", "TAG2",
                                             "TAG3", "TAG4", "说    明"}));
    QCOMPARE(textsOf(ed->cmdgong), utf8Texts({"显示/刷新列表", "查看", "更改", "保存改动"}));
    QCOMPARE(ed->lstgong->count(), 44);
    QCOMPARE(ed->lstgong->item(43)->text(), QStringLiteral("对开纸袋做工费"));
    ed->lstgong->setCurrentRow(27);  // 对开盒粘盒费
    const char* shownTexts[7] = {"对开盒粘盒费", "0.15", "元/边/个", "0.5", "0.2", "0.12", "0.08"};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(ed->txtgong[i]->text(), QString::fromUtf8(shownTexts[i]));
        QVERIFY(ed->txtgong[i]->isReadOnly());
    }
    QVERIFY(ed->txtgongNote->toPlainText().startsWith(QStringLiteral("4-8开按(tag1)倍计")));
    QVERIFY(ed->txtgongNote->isReadOnly());

    click(ed->cmdgong[GongjiaEditor::EditButton]);
    QCOMPARE(QApplication::focusWidget(), ed->txtgong[GongjiaEditor::PriceBox]);
    for (int i = 0; i < 7; ++i) {
        const bool open = i == GongjiaEditor::PriceBox || i >= GongjiaEditor::Tag1Box;
        QCOMPARE(ed->txtgong[i]->isReadOnly(), !open);
    }
    QVERIFY(ed->txtgongNote->isReadOnly());
    QVERIFY(!ed->cmdgong[GongjiaEditor::EditButton]->isEnabled());
    QVERIFY(ed->cmdgong[GongjiaEditor::SaveButton]->isEnabled());
}

void TestParamsGongjia::leavingABox_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("message");  // empty: none
    QTest::addColumn<bool>("plainBox");
    QTest::addColumn<bool>("stays");
    const int t1 = GongjiaEditor::Tag1Box, t3 = GongjiaEditor::Tag3Box,
              price = GongjiaEditor::PriceBox;
    const QString zero = QStringLiteral("此处TAG不能为零！"), bad = QStringLiteral("非法数据！");
    QTest::newRow("TAG1 to 0") << t1 << "0"
                               << "0.6" << zero << true << true;
    QTest::newRow("TAG3 to 2") << t3 << "2"
                               << "0" << QString() << false << false;
    QTest::newRow("TAG1 to 0.7") << t1 << "0.7"
                                 << "0.7" << QString() << false << false;
    QTest::newRow("TAG1 letters") << t1 << "abc"
                                  << "0.6" << bad << false << true;
    QTest::newRow("price letters") << price << "x1"
                                   << "20" << bad << false << true;
    QTest::newRow("price 25") << price << "25"
                              << "25" << QString() << false << false;
}

void TestParamsGongjia::leavingABox() {
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(QString, message);
    QFETCH(bool, plainBox);
    QFETCH(bool, stays);
    ParamsScreen s;
    GongjiaEditor* ed = s.processPanel();
    ed->lstgong->setCurrentRow(kPinban);
    QCOMPARE(ed->txtgong[0]->text(), QStringLiteral("拼版费"));
    click(ed->cmdgong[GongjiaEditor::EditButton]);
    typeInto(ed->txtgong[box], typed);
    QLineEdit* next = ed->txtgong[GongjiaEditor::UnitBox];
    leaveTo(next);

    QCOMPARE(ed->txtgong[box]->text(), after);
    if (message.isEmpty()) {
        QVERIFY2(s.dialogs.shown.isEmpty(), qPrintable(s.dialogs.texts().join(u'|')));
    } else {
        QCOMPARE(s.dialogs.texts(), QStringList{message});
        QCOMPARE(s.dialogs.last().icon, plainBox ? Icon::None : Icon::Exclamation);
    }
    if (stays) {
        QTRY_COMPARE(QApplication::focusWidget(), ed->txtgong[box]);
    } else {
        QTest::qWait(20);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void TestParamsGongjia::zeroUnitPriceRestoredSilently_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("price");
    QTest::newRow("对开平印机印刷费（一）") << 0 << QStringLiteral("40");
    QTest::newRow("对开纸袋做工费") << 43 << QStringLiteral("0.5");
}

void TestParamsGongjia::zeroUnitPriceRestoredSilently() {
    QFETCH(int, row);
    QFETCH(QString, price);
    ParamsScreen s;
    GongjiaEditor* ed = s.processPanel();
    editRecord(ed, row);
    QLineEdit* box = ed->txtgong[GongjiaEditor::PriceBox];
    QCOMPARE(box->text(), price);
    typeInto(box, QStringLiteral("0"));
    leaveTo(ed->txtgong[GongjiaEditor::Tag1Box]);
    QCOMPARE(box->text(), price);
    QVERIFY(s.dialogs.shown.isEmpty());
    QTRY_COMPARE(QApplication::focusWidget(), box);

    // The remembered price is the one the box had when it got the focus:
    // a valid change, then a 0, goes back to the change.
    typeInto(box, QStringLiteral("99"));
    leaveTo(ed->txtgong[GongjiaEditor::Tag1Box]);
    typeInto(box, QStringLiteral("0"));
    leaveTo(ed->txtgong[GongjiaEditor::Tag1Box]);
    QCOMPARE(box->text(), QStringLiteral("99"));
}

void TestParamsGongjia::saveWritesPriceAndFactors() {
    ParamsScreen s;
    GongjiaEditor* ed = s.processPanel();
    const std::string before = s.working(Gong);
    editRecord(ed, kPinban);
    typeInto(ed->txtgong[GongjiaEditor::PriceBox], QStringLiteral("22.5"));
    typeInto(ed->txtgong[GongjiaEditor::Tag1Box], QStringLiteral("0.65"));
    typeInto(ed->txtgong[GongjiaEditor::Tag3Box], QStringLiteral("4"));  // stays 0
    QSignalSpy saved(ed, &GongjiaEditor::saved);
    click(ed->cmdgong[GongjiaEditor::SaveButton]);
    QCOMPARE(saved.count(), 1);
    QVERIFY2(s.dialogs.shown.isEmpty(), qPrintable(s.dialogs.texts().join(u'|')));

    const std::string after = s.working(Gong);
    for (int n = 1; n <= 44; ++n) {
        QCOMPARE(slot(after, PriceTable::Gongjia, n) == slot(before, PriceTable::Gongjia, n),
                 n != kPinban + 1);
    }
    QVERIFY(s.stored(Gong) == after);
    std::vector<inkquot::GongjiaRec> recs;
    inkquot::readGongjiaTable(s.dir.file("fgongjia.dat"), recs);
    const auto& r = recs[kPinban];
    QCOMPARE(r.Danjia, 22.5f);
    QCOMPARE(r.Tag1, 0.65f);
    QCOMPARE(r.Tag2, 0.3f);
    QCOMPARE(r.Tag3, 0.0f);
    QCOMPARE(r.Tag4, 0.0f);
    QCOMPARE(QString::fromStdString(r.Danwei).trimmed(), QStringLiteral("元/块版"));
    QVERIFY(QString::fromStdString(r.Shuoming).startsWith(QStringLiteral("以对开计")));
    // Shown again as saved.
    click(ed->cmdgong[GongjiaEditor::ViewButton]);
    QCOMPARE(ed->txtgong[GongjiaEditor::Tag1Box]->text(), QStringLiteral("0.65"));
}

void TestParamsGongjia::savePressMeetsTheBoxCheckFirst() {
    ParamsScreen s;
    GongjiaEditor* ed = s.processPanel();
    const std::string before = s.working(Gong);
    editRecord(ed, kPinban);
    QLineEdit* tag1 = ed->txtgong[GongjiaEditor::Tag1Box];
    typeInto(tag1, QStringLiteral("abc"));
    QSignalSpy saved(ed, &GongjiaEditor::saved);

    // The refused box gets its remembered TAG back and keeps the focus; the
    // press goes no further.
    click(ed->cmdgong[GongjiaEditor::SaveButton]);
    QCOMPARE(s.dialogs.texts(), QStringList{QStringLiteral("非法数据！")});
    QTRY_COMPARE(QApplication::focusWidget(), tag1);
    QCOMPARE(tag1->text(), QStringLiteral("0.6"));
    QCOMPARE(saved.count(), 0);
    QVERIFY(ed->cmdgong[GongjiaEditor::SaveButton]->isEnabled());
    QVERIFY(s.working(Gong) == before);

    // With the box mended the next press saves.
    s.dialogs.clear();
    typeInto(tag1, QStringLiteral("0.7"));
    click(ed->cmdgong[GongjiaEditor::SaveButton]);
    QVERIFY2(s.dialogs.shown.isEmpty(), qPrintable(s.dialogs.texts().join(u'|')));
    QCOMPARE(saved.count(), 1);
    QCOMPARE(ed->records()[kPinban].Tag1, 0.7f);
}

void TestParamsGongjia::refusedSaveIsNotReportedAsSaved() {
    ParamsScreen s;
    GongjiaEditor* ed = s.processPanel();
    const std::string before = s.working(Gong);
    editRecord(ed, 3);
    // Put there by the program, not typed: the save judges it itself.
    ed->txtgong[GongjiaEditor::PriceBox]->setText(QStringLiteral("二十"));
    QSignalSpy saved(ed, &GongjiaEditor::saved);
    QVERIFY(!ed->save());
    QCOMPARE(s.dialogs.texts(), QStringList{QStringLiteral("数据错误，不能保存。")});
    QCOMPARE(s.dialogs.last().icon, Icon::Exclamation);
    QCOMPARE(saved.count(), 0);
    QVERIFY(s.working(Gong) == before);
    QVERIFY(s.stored(Gong) == before);
    QVERIFY(!ed->cmdgong[GongjiaEditor::SaveButton]->isEnabled());

    // A write that fails is reported, and the record stays as it was.
    click(ed->cmdgong[GongjiaEditor::ViewButton]);
    click(ed->cmdgong[GongjiaEditor::EditButton]);
    typeInto(ed->txtgong[GongjiaEditor::PriceBox], QStringLiteral("30"));
    s.expectFailedSave(ed, Gong, inkquot::io_test_hooks::FailPoint::Rename);
    QCOMPARE(saved.count(), 0);
    QVERIFY(s.working(Gong) == before);
    QCOMPARE(ed->records()[3].Danjia, 24.0f);
}

QTEST_MAIN(TestParamsGongjia)
#include "tst_params_gongjia.moc"
