#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include "core/common/clock.h"
#include "core/costing/price_book.h"
#include "core/costing/price_job.h"
#include "tests/ui/params_support.h"
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
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    ShownPage shown(dir, dialogs);
    ParamsPage& page = shown.page;
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
    TempProgramFolder dir;
    dir.addScheme("甲方案", "甲纸");
    ScriptedDialogs dialogs;
    ShownPage shown(dir, dialogs);
    ParamsPage& page = shown.page;
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
    QVERIFY(dialogs.shown.isEmpty());
}

void TestParamsPage::savedEditSurvivesReselection() {
    TempProgramFolder dir;
    dir.addScheme("甲方案", "甲纸");
    ScriptedDialogs dialogs;
    ShownPage shown(dir, dialogs);
    ParamsPage& page = shown.page;
    QVERIFY(page.schemePanel()->selectEntry(1));
    page.choosePanel(ParamsPage::ProcessPanel);
    GongjiaEditor* ed = page.gongjiaEditor();
    ed->lstgong->setCurrentRow(10);
    click(ed->cmdgong[GongjiaEditor::EditButton]);
    typeInto(ed->txtgong[GongjiaEditor::PriceBox], QStringLiteral("125"));
    click(ed->cmdgong[GongjiaEditor::SaveButton]);
    QVERIFY(dialogs.shown.isEmpty());
    // The edit went to 甲方案, not to the built-in scheme.
    QVERIFY(stored(dir, Gong, "甲方案") == working(dir, Gong));
    QVERIFY(stored(dir, Gong) != working(dir, Gong));

    QVERIFY(page.schemePanel()->selectEntry(0));
    QCOMPARE(ed->records()[10].Danjia, 100.0f);
    QVERIFY(page.schemePanel()->selectEntry(1));
    QCOMPARE(ed->records()[10].Danjia, 125.0f);
    inkquot::PriceBook book;
    QVERIFY(inkquot::LoadPriceBook(dir.folder(), book).ok());
    QCOMPARE(book.gong[11].Danjia, 125.0f);
}

void TestParamsPage::builtInSchemeEditedAndRepaired() {
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    ShownPage shown(dir, dialogs);
    ParamsPage& page = shown.page;
    QCOMPARE(page.schemePanel()->currentScheme(), QStringLiteral("系统默认"));
    const std::string original = stored(dir, Ji);
    JibenEditor* ed = page.jibenEditor();
    ed->lstji->setCurrentRow(17);
    click(ed->cmdji[JibenEditor::EditButton]);
    typeInto(ed->txtji[1], QStringLiteral("10"));
    click(ed->cmdji[JibenEditor::SaveButton]);
    QVERIFY(dialogs.shown.isEmpty());
    QVERIFY(stored(dir, Ji) != original);
    QVERIFY(stored(dir, Ji) == working(dir, Ji));

    dialogs.setNextAnswer(true);
    page.schemePanel()->repairDefaultScheme();
    QVERIFY2(dialogs.last().text.startsWith(QStringLiteral("修复完毕！\n")) &&
                 dialogs.last().text.contains(QStringLiteral("“刷新”")),
             qPrintable(dialogs.last().text));
    QVERIFY(stored(dir, Ji) == original);
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
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    dialogs.setNextInput(QStringLiteral("604172"));
    inkquot::FixedClock clock({2026, 12, 7});
    FrmNew window(dir.folder(), dialogs, clock);
    window.load();
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    using inkquot::Ctl;
    PricingPage* job = window.pricingPage();
    job->setListIndex(Ctl::comleibie, 0, 2);
    job->setText(Ctl::txtshuliang, 2, "1000");
    job->setText(Ctl::Cmbkaizhi, 7, "4");
    job->setText(Ctl::Ncomke, 7, "157");
    job->setText(Ctl::Ncomyinse, 15, "0");
    job->setCheckState(Ctl::Chkdan, 0, inkquot::CheckState::Checked);
    QCOMPARE(job->listIndex(Ctl::Ncomzhi, 7), 0);  // 铜版纸
    inkquot::CostResult before;
    QVERIFY(inkquot::priceJob(dir.folder(), *job, before).ok());
    QCOMPARE(before.PaperCost, 129.375f);  // 8000 yuan a ton and 15 % fee

    window.showPage(FrmNew::ParamsPageIndex);
    ParamsPage* page = window.paramsPage();
    page->Optfang[ParamsPage::PaperPanel]->click();
    ZhijiaEditor* ed = page->zhijiaEditor();
    ed->lstzhi->setCurrentRow(0);
    click(ed->cmdzhi[ZhijiaEditor::EditButton]);
    typeInto(ed->txtzhi[ZhijiaEditor::PriceBox], QStringLiteral("10000"));
    click(ed->cmdzhi[ZhijiaEditor::SaveButton]);
    QVERIFY(!dialogs.texts().contains(QStringLiteral("数据错误，不能保存。")));

    window.showPage(FrmNew::PricingPageIndex);
    QCOMPARE(job->listIndex(Ctl::Ncomzhi, 7), 0);
    inkquot::CostResult after;
    QVERIFY(inkquot::priceJob(dir.folder(), *job, after).ok());
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
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    dialogs.setNextInput(QStringLiteral("604172"));
    inkquot::FixedClock clock({2026, 12, 7});
    for (const QSize size : {QSize(800, 600), QSize(1024, 700)}) {
        FrmNew window(dir.folder(), dialogs, clock);
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
