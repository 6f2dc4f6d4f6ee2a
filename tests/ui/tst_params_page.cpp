#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include "core/costing/price_book.h"
#include "core/costing/price_job.h"
#include "tests/core/costing/sample_parts.h"
#include "tests/ui/params_support.h"
#include "tests/ui/support/main_window_screen.h"
#include "ui/main/frmnew.h"
#include "ui/params/gongjia_editor.h"
#include "ui/params/jiben_editor.h"
#include "ui/params/zhijia_editor.h"
#include "ui/pricing/pricing_page.h"

using namespace params_test;

class TestParamsPage : public QObject {
    Q_OBJECT

private slots:
    void optfangChoosesOnePanel();
    void schemeSelectionShowsItsTables();
    void savedEditSurvivesReselection();
    void builtInSchemeEditedAndRepaired();
    void changedPaperPriceIsPricedAtOnce();
    void screenshots();
};

void TestParamsPage::optfangChoosesOnePanel() {
    ParamsScreen s;
    ParamsPage& page = s.page;
    const char* captions[3] = {"基本数据", "纸价数据", "工价数据"};
    for (int k = 0; k < 3; ++k) {
        QCOMPARE(page.Optfang[k]->text(), QString::fromUtf8(captions[k]));
    }
    QVERIFY(page.Optfang[0]->isChecked());
    for (int k : {2, 1, 0, 2}) {
        page.Optfang[k]->click();
        QCOMPARE(page.shownPanel(), k);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(page.Picanshu[i]->isVisible(), i == k);
            QCOMPARE(page.Picanshu[i]->isEnabled(), i == k);
        }
    }
}

void TestParamsPage::schemeSelectionShowsItsTables() {
    ParamsScreen s("甲方案", "甲纸");
    ParamsPage& page = s.page;
    ZhijiaEditor* paper = page.zhijiaEditor();
    QCOMPARE(paper->lstzhi->item(0)->text(), QStringLiteral("铜版纸"));
    // Whatever the editors showed, the selection shows the new scheme's
    // first records in the viewing state.
    page.jibenEditor()->lstji->setCurrentRow(5);
    page.gongjiaEditor()->lstgong->setCurrentRow(30);
    page.choosePanel(ParamsPage::PaperPanel);
    paper->optzhi[1]->click();

    QVERIFY(page.schemePanel()->selectEntry(1));
    QCOMPARE(paper->lstzhi->count(), 10);  // the table chosen in the panel
    QCOMPARE(paper->lstzhi->item(0)->text(), QStringLiteral("甲纸"));
    QVERIFY(paper->lstzhi->isEnabledTo(paper));
    QCOMPARE(page.jibenEditor()->lstji->currentRow(), 0);
    QCOMPARE(page.gongjiaEditor()->lstgong->currentRow(), 0);
    QCOMPARE(page.gongjiaEditor()->txtgong[0]->text(), QStringLiteral("对开平印机印刷费（一）"));
    QVERIFY(s.dialogs.shown.isEmpty());
}

void TestParamsPage::savedEditSurvivesReselection() {
    ParamsScreen s("甲方案", "甲纸");
    ParamsPage& page = s.page;
    QVERIFY(page.schemePanel()->selectEntry(1));
    page.choosePanel(ParamsPage::ProcessPanel);
    GongjiaEditor* ed = page.gongjiaEditor();
    editRecord(ed, 10);
    typeInto(ed->txtgong[GongjiaEditor::PriceBox], QStringLiteral("125"));
    click(ed->cmdgong[GongjiaEditor::SaveButton]);
    QVERIFY(s.dialogs.shown.isEmpty());
    // The edit went to 甲方案, not to the built-in scheme.
    QVERIFY(s.stored(Gong, "甲方案") == s.working(Gong));
    QVERIFY(s.stored(Gong) != s.working(Gong));

    QVERIFY(page.schemePanel()->selectEntry(0));
    QCOMPARE(ed->records()[10].Danjia, 100.0f);
    QVERIFY(page.schemePanel()->selectEntry(1));
    QCOMPARE(ed->records()[10].Danjia, 125.0f);
    inkquot::PriceBook book;
    QVERIFY(inkquot::LoadPriceBook(s.dir.folder(), book).ok());
    QCOMPARE(book.gong[11].Danjia, 125.0f);
}

void TestParamsPage::builtInSchemeEditedAndRepaired() {
    ParamsScreen s;
    ParamsPage& page = s.page;
    QCOMPARE(page.schemePanel()->currentScheme(), QStringLiteral("系统默认"));
    const std::string original = s.stored(Ji);
    JibenEditor* ed = page.jibenEditor();
    editRecord(ed, 17);
    typeInto(ed->txtji[1], QStringLiteral("10"));
    click(ed->cmdji[JibenEditor::SaveButton]);
    QVERIFY(s.dialogs.shown.isEmpty());
    QVERIFY(s.stored(Ji) != original);
    QVERIFY(s.stored(Ji) == s.working(Ji));

    s.dialogs.setNextAnswer(true);
    page.schemePanel()->repairDefaultScheme();
    QVERIFY2(s.dialogs.last().text.startsWith(QStringLiteral("修复完毕！\n")) &&
                 s.dialogs.last().text.contains(QStringLiteral("“刷新”")),
             qPrintable(s.dialogs.last().text));
    QVERIFY(s.stored(Ji) == original);
    // The working tables keep the edit until the scheme is selected again.
    QCOMPARE(ed->records()[17].Shuju, 10.0f);
    page.schemePanel()->refresh();
    QCOMPARE(ed->records()[17].Shuju, 15.0f);
    QCOMPARE(ed->txtji[1]->text(), QStringLiteral("20"));
}

// As a user would: price a leaflet, raise the price of its paper, price
// again. 1000 copies of a 16开 leaflet on 四开 press sheets, 157 g 铜版纸,
// four colours on one side, printing only.
void TestParamsPage::changedPaperPriceIsPricedAtOnce() {
    MainWindowScreen s;
    s.showActive();
    using inkquot::Ctl;
    PricingPage* job = s.window.pricingPage();
    inkquot::testing::fillLeafletExample(*job);
    QCOMPARE(job->listIndex(Ctl::Ncomzhi, 7), 0);  // 铜版纸
    inkquot::CostResult before;
    QVERIFY(inkquot::priceJob(s.dir.folder(), *job, before).ok());
    QCOMPARE(before.PaperCost, 129.375f);  // 8000 yuan a ton and 15 % fee

    s.window.showPage(FrmNew::ParamsPageIndex);
    ParamsPage* page = s.window.paramsPage();
    page->Optfang[ParamsPage::PaperPanel]->click();
    ZhijiaEditor* ed = page->zhijiaEditor();
    editRecord(ed, 0);
    typeInto(ed->txtzhi[ZhijiaEditor::PriceBox], QStringLiteral("10000"));
    click(ed->cmdzhi[ZhijiaEditor::SaveButton]);
    QVERIFY(!s.dialogs.texts().contains(QStringLiteral("数据错误，不能保存。")));

    s.window.showPage(FrmNew::PricingPageIndex);
    QCOMPARE(job->listIndex(Ctl::Ncomzhi, 7), 0);
    inkquot::CostResult after;
    QVERIFY(inkquot::priceJob(s.dir.folder(), *job, after).ok());
    QCOMPARE(after.PaperCost, 161.71875f);  // 10000 / 8000 of it
    QCOMPARE(after.PrintCost, before.PrintCost);
    QVERIFY(after.TotalPrice > before.TotalPrice);
}

// Pictures of the three panels in the whole main window at 800 x 600, for a
// person to look at: written only when INKQUOT_SCREENSHOT_DIR names a folder.
void TestParamsPage::screenshots() {
    const QString folder = qEnvironmentVariable("INKQUOT_SCREENSHOT_DIR");
    if (folder.isEmpty()) {
        QSKIP("INKQUOT_SCREENSHOT_DIR not set");
    }
    for (const QSize size : {QSize(800, 600), QSize(1024, 700)}) {
        MainWindowScreen s;
        FrmNew& window = s.window;
        window.load();
        window.resize(size);
        window.show();
        window.showPage(FrmNew::ParamsPageIndex);
        ParamsPage* page = window.paramsPage();
        const char* names[3] = {"basic", "paper", "process"};
        for (int k = 0; k < 3; ++k) {
            page->Optfang[k]->click();
            if (k == 1) {
                page->zhijiaEditor()->lstzhi->setCurrentRow(9);
                page->zhijiaEditor()->beginEdit();
            }
            if (k == 2) {
                page->gongjiaEditor()->lstgong->setCurrentRow(17);
            }
            QTest::qWait(50);
            const QString file = QDir(folder).filePath(QStringLiteral("params_%1_%2x%3.png")
                                                           .arg(QString::fromLatin1(names[k]))
                                                           .arg(size.width())
                                                           .arg(size.height()));
            QVERIFY(window.grab().save(file));
        }
    }
}

QTEST_MAIN(TestParamsPage)
#include "tst_params_page.moc"
