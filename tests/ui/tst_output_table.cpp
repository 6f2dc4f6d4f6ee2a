#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>

#include "core/common/clock.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/cost_records.h"
#include "core/costing/price_table.h"
#include "core/costing/price_table_check.h"
#include "core/job/form_state.h"
#include "tests/ui/output_fakes.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "tests/ui/support/temp_program_folder.h"
#include "ui/output/frmshow.h"
#include "ui/output/price_chart.h"
#include "ui/output/price_chart_data.h"
#include "ui/output/price_scale.h"
#include "ui/output/price_sheet.h"
#include "ui/output/price_table_action.h"
#include "ui/output/print_page.h"

using inkquot::CheckState;
using inkquot::CostResult;
using inkquot::Ctl;
using inkquot::FormState;

namespace {

const QString kPrompt = QStringLiteral("请输入报价表标题");
const QString kProposal = QStringLiteral("XXX印务有限公司价格表");
const inkquot::CivilDate kDay{2026, 3, 9};

FormState formOfKind(int kind) {
    FormState f;
    std::vector<std::string> papers(50, "自定义纸张");
    papers[0] = "铜版纸";
    f.setPaperNames(papers);
    f.setStickerPaperNames(std::vector<std::string>(10, "不干胶纸"));
    f.setListIndex(Ctl::comleibie, 0, kind);
    return f;
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The pages of a PDF file: its page objects, not the page tree.
int pdfPageCount(const QString& file) {
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QString bytes = QString::fromLatin1(pdf.readAll());
    return int(bytes.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

}  // namespace

class TestOutputTable : public QObject {
    Q_OBJECT

private slots:
    void newspapersAndStickersDoNothing_data();
    void newspapersAndStickersDoNothing();
    void cancelledHeadingShowsNothingButLeavesItsMarks();
    void windowShowsTheTable();
    void scrollingMovesTheTable_data();
    void scrollingMovesTheTable();
    void windowTakesTheHeightTheScreenAllows_data();
    void windowTakesTheHeightTheScreenAllows();
    void cellsInDoubtAreMarkedAndCounted();
    void chartLeavesOutRowsWithoutPricesAndRingsTheCellsInDoubt();
    void chartScaleRunsBetweenRoundPrices();
    void spreadsheetExport();
    void printingCopiesIntoTheLayoutAndCloses();
    void printerFailureIsReportedAndCloses();
    void exportWritesTheSamePageAndStaysOpen();
    void refusedCellsAreReported();
    void modalWindowRunsAndReturns();

private:
    PriceTableShown run(FormState& form, CostResult& result, OutputFakes& out,
                        const std::function<void(FrmShow&)>& show) {
        return generatePriceTableWindow(nullptr, folder_.folder(), form, result, out.services(),
                                        show);
    }

    TempProgramFolder folder_;
};

void TestOutputTable::newspapersAndStickersDoNothing_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("newspaper") << 1;
    QTest::newRow("sticker") << 4;
}

void TestOutputTable::newspapersAndStickersDoNothing() {
    QFETCH(int, kind);
    FormState form = formOfKind(kind);
    CostResult result;
    result.UnitPrice = 3;
    OutputFakes out(true, kDay);
    bool shown = false;
    QCOMPARE(run(form, result, out, [&](FrmShow&) { shown = true; }), PriceTableShown::NotOffered);
    QVERIFY(!shown);
    QVERIFY(out.dialogs.shown.isEmpty());
    QCOMPARE(result.UnitPrice, 3.0f);
    // The sections a table would force are left as they were.
    QCOMPARE(form.checkState(Ctl::Chkhua, 2), CheckState::Unchecked);
    QVERIFY(!form.ticked(Ctl::Lsthua, 1));
}

void TestOutputTable::cancelledHeadingShowsNothingButLeavesItsMarks() {
    for (const bool answered : {false, true}) {
        FormState form = formOfKind(0);
        form.setCheckState(Ctl::Chkhua, 2, CheckState::Checked);
        form.setText(Ctl::Ncomzhuanse, 1, "2");
        CostResult result;
        OutputFakes out(true, kDay);
        out.dialogs.setNextInput(answered ? std::optional<QString>(QString()) : std::nullopt);
        bool shown = false;
        QCOMPARE(run(form, result, out, [&](FrmShow&) { shown = true; }),
                 PriceTableShown::Cancelled);
        QVERIFY(!shown);
        QCOMPARE(out.dialogs.texts(), QStringList({kPrompt}));
        QCOMPARE(out.dialogs.last().proposed, kProposal);
        // The job is in its table form and the result holds the last cell.
        QVERIFY(form.ticked(Ctl::Lsthua, 1));
        QCOMPARE(form.checkState(Ctl::Chkhua, 2), CheckState::Unchecked);
        QCOMPARE(form.text(Ctl::Ncomzhuanse, 1), "0");
        FormState again = form;
        CostResult expected;
        const auto grid = inkquot::generatePriceTable(folder_.folder(), again, expected);
        QVERIFY(grid.has_value());
        QCOMPARE(result.UnitPrice, grid->unitPrices[83]);
        QCOMPARE(result.TotalPrice, expected.TotalPrice);
        QVERIFY(result.TotalPrice > 0);
    }
}

void TestOutputTable::windowShowsTheTable() {
    FormState form = formOfKind(3);
    form.setCheckState(Ctl::Chkhe, 6, CheckState::Checked);
    FormState copy = form;
    CostResult unused;
    const auto grid = inkquot::generatePriceTable(folder_.folder(), copy, unused);
    QVERIFY(grid.has_value());

    CostResult result;
    OutputFakes out(true, kDay);
    out.dialogs.setNextInput(QStringLiteral("华光印务价格表"));
    bool shown = false;
    const auto outcome = run(form, result, out, [&](FrmShow& w) {
        shown = true;
        QCOMPARE(w.windowTitle(), QStringLiteral("墨衡印件计价系统-价格表"));
        QCOMPARE(w.Cmdbjd[0]->text(), QStringLiteral("打印价格表"));
        QCOMPARE(w.Cmdbjd[1]->text(), QStringLiteral("退出"));
        QCOMPARE(w.cmdpdf->text(), QStringLiteral("导出PDF"));
        PriceSheet& t = *w.Picture2;
        QCOMPARE(t.labiaoti->text(), QStringLiteral("华光印务价格表"));
        QCOMPARE(t.labdate->text(), QStringLiteral("2026年3月"));
        QCOMPARE(t.lablei->text(), QStringLiteral("纸盒类-裱瓦楞"));
        QCOMPARE(t.labshuoming->text(), qs(grid->labshuoming));
        QCOMPARE(t.guige->text(), QStringLiteral("规格"));
        QCOMPARE(t.danjiaUnit->text(), QStringLiteral("单价(元)"));
        QCOMPARE(t.shuliang->text(), QStringLiteral("数量"));
        QCOMPARE(t.daduCaption->text(), QStringLiteral("大        度"));
        QCOMPARE(t.zhengduCaption->text(), QStringLiteral("正        度"));
        for (int j = 0; j < 6; ++j) {
            QCOMPARE(t.labshu[j]->text(), qs(grid->labshu[j]));
        }
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(t.labddu[i]->text(), qs(grid->labddu[i]));
            QCOMPARE(t.labzdu[i]->text(), qs(grid->labddu[i]));
        }
        for (int n = 0; n < 84; ++n) {
            QCOMPARE(t.labdanjia[n]->text(), qs(grid->labdanjia[n]));
        }
        // Label 41 is block 0, row 6, column 5; label 42 block 1, row 0,
        // column 0: each sits in its row and under its column.
        struct Place {
            int label;
            QLabel* row;
            QLabel* column;
        };
        for (const Place& p :
             {Place{41, t.labddu[6], t.labshu[5]}, Place{42, t.labzdu[0], t.labshu[0]},
              Place{0, t.labddu[0], t.labshu[0]}, Place{83, t.labzdu[6], t.labshu[5]}}) {
            const QRect cell = t.labdanjia[p.label]->geometry();
            QCOMPARE(cell.center().y(), p.row->geometry().center().y());
            QVERIFY(cell.left() >= p.column->geometry().left());
            QVERIFY(cell.right() <= p.column->geometry().right());
        }
        // The window fits a screen of 800 × 600.
        w.fitToScreen(QRect(0, 0, 800, 600));
        w.adjustSize();
        QVERIFY(w.width() <= 790);
        QVERIFY(w.height() <= 560);
        // The chart has the table's room on its tab.
        w.tabs->setCurrentIndex(1);
        // A page that was never shown keeps a default size on some styles.
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.chart->isVisibleTo(&w));
        QVERIFY2(w.chart->height() >= w.Picture1->height(),
                 qPrintable(QStringLiteral("chart %1, table %2 on a tab of %3")
                                .arg(w.chart->height())
                                .arg(w.Picture1->height())
                                .arg(w.tabs->widget(0)->height())));
        const QString keep = qEnvironmentVariable("INKQUOT_OUTPUT_SAMPLES");
        if (!keep.isEmpty()) {
            w.grab().save(QDir(keep).filePath(QStringLiteral("window-chart-800x600.png")));
            w.fitToScreen(QRect(0, 0, 1280, 800));
            w.grab().save(QDir(keep).filePath(QStringLiteral("window-chart-1280x800.png")));
            w.fitToScreen(QRect(0, 0, 800, 600));
            w.tabs->setCurrentIndex(0);
            w.grab().save(QDir(keep).filePath(QStringLiteral("window-top.png")));
            w.VScroll1->setValue(6205);
            w.grab().save(QDir(keep).filePath(QStringLiteral("window-end.png")));
        }
    });
    QCOMPARE(outcome, PriceTableShown::Shown);
    QVERIFY(shown);
    QCOMPARE(out.dialogs.texts(), QStringList({kPrompt}));
}

void TestOutputTable::scrollingMovesTheTable_data() {
    QTest::addColumn<int>("value");     // -1: the end of the range
    QTest::addColumn<int>("expected");  // the clamped scroll value
    QTest::newRow("top") << 0 << 0;
    QTest::newRow("one step") << 100 << 100;
    QTest::newRow("page") << 1000 << 1000;
    QTest::newRow("end") << -1 << -1;
    QTest::newRow("past the end") << 9000 << -1;
}

void TestOutputTable::scrollingMovesTheTable() {
    QFETCH(int, value);
    QFETCH(int, expected);
    OutputFakes out(true, kDay);
    FrmShow w(out.services());
    w.fitToScreen(QRect(0, 0, 800, 600));
    const int end = w.scrollRangeTwips();
    QVERIFY(end > 1000);
    value = value < 0 ? end : value;
    expected = expected < 0 ? end : expected;
    QCOMPARE(w.VScroll1->minimum(), 0);
    QCOMPARE(w.VScroll1->maximum(), end);
    QCOMPARE(w.VScroll1->singleStep(), 100);
    QCOMPARE(w.VScroll1->pageStep(), 1000);
    if (value > 0) {
        // From elsewhere first, so a change always happens.
        w.VScroll1->setValue(value == 100 ? 3000 : 0);
    }
    w.VScroll1->setValue(value);
    QCOMPARE(w.VScroll1->value(), expected);
    QCOMPARE(w.Picture2->y(), -tw(expected));
    if (expected == end) {
        // At the end the bottom of the table is the bottom of the viewport.
        QCOMPARE(w.Picture2->geometry().bottom(), w.Picture1->height() - 1);
    }
}

void TestOutputTable::windowTakesTheHeightTheScreenAllows_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("whole");  // the whole table in view
    QTest::newRow("800x600") << QSize(800, 600) << false;
    QTest::newRow("1280x800") << QSize(1280, 800) << false;
    QTest::newRow("1920x1080") << QSize(1920, 1080) << true;
}

void TestOutputTable::windowTakesTheHeightTheScreenAllows() {
    QFETCH(QSize, screen);
    QFETCH(bool, whole);
    OutputFakes out(true, kDay);
    FrmShow w(out.services());
    w.fitToScreen(QRect(QPoint(0, 0), screen));
    w.adjustSize();
    // Room is left for the window frame; the table takes the rest.
    QVERIFY(w.height() <= screen.height() - 40);
    QVERIFY(w.width() <= screen.width() - 10);
    QCOMPARE(w.scrollRangeTwips() == 0, whole);
    QCOMPARE(w.VScroll1->isEnabled(), !whole);
    QVERIFY(w.height() >= (whole ? w.Picture2->height() : screen.height() - 120));
    if (whole) {
        QCOMPARE(w.Picture1->height(), w.Picture2->height());
    }
    const QString keep = qEnvironmentVariable("INKQUOT_OUTPUT_SAMPLES");
    if (!keep.isEmpty()) {
        w.grab().save(QDir(keep).filePath(
            QStringLiteral("window-%1x%2.png").arg(screen.width()).arg(screen.height())));
    }
}

// A single sheet printed on a 四开 press cannot take the 2开 row: those cells
// cost 0 and are marked; the line under the table counts them.
void TestOutputTable::cellsInDoubtAreMarkedAndCounted() {
    FormState form = formOfKind(2);
    form.setListIndex(Ctl::Comyinji, 7, 1);
    CostResult result;
    OutputFakes out(true, kDay);
    out.dialogs.setNextInput(kProposal);
    QStringList marked;
    QString line;
    QCOMPARE(run(form, result, out,
                 [&](FrmShow& w) {
                     for (QLabel* l : w.Picture2->labdanjia) {
                         if (!l->styleSheet().isEmpty()) {
                             marked << l->text();
                         }
                     }
                     line = w.labcheck->text();
                     const QString keep = qEnvironmentVariable("INKQUOT_OUTPUT_SAMPLES");
                     if (!keep.isEmpty()) {
                         w.show();
                         w.grab().save(QDir(keep).filePath(QStringLiteral("window-doubt.png")));
                         w.tabs->setCurrentIndex(1);
                         w.grab().save(QDir(keep).filePath(QStringLiteral("chart-doubt.png")));
                     }
                 }),
             PriceTableShown::Shown);
    QVERIFY(!marked.isEmpty());
    QCOMPARE(marked, QStringList(marked.size(), QStringLiteral("0.0000")));
    QCOMPARE(line,
             QStringLiteral("价格表中有%1格单价为零或负数，请检查价格方案").arg(marked.size()));

    // A sound table marks nothing and says nothing.
    FormState sound = formOfKind(2);
    out.dialogs.setNextInput(kProposal);
    QCOMPARE(run(sound, result, out,
                 [&](FrmShow& w) {
                     QVERIFY(w.labcheck->text().isEmpty());
                     for (QLabel* l : w.Picture2->labdanjia) {
                         QVERIFY(l->styleSheet().isEmpty());
                     }
                 }),
             PriceTableShown::Shown);
}

// The chart draws a line for every row with a price above zero and rings
// exactly the cells the table check doubts; a row of zeros, of refused
// cells or of prices too small to show has no line and is named instead.
void TestOutputTable::chartLeavesOutRowsWithoutPricesAndRingsTheCellsInDoubt() {
    inkquot::PriceTableGrid g;
    for (int j = 0; j < 6; ++j) {
        g.labshu[j] = std::to_string(1000 * (j + 1));
    }
    for (int i = 0; i < 7; ++i) {
        g.labddu[i] = std::to_string(2 << i) + "开";
    }
    for (int n = 0; n < 84; ++n) {
        g.unitPrices[n] = 2.0f - 0.1f * static_cast<float>(n % 6);  // falling along a row
    }
    auto set = [&](int series, int row, int column, float price) {
        g.unitPrices[inkquot::labdanjiaIndex(series, row, column)] = price;
    };
    set(0, 1, 3, 3);  // rises
    for (int j = 0; j < 6; ++j) {
        set(0, 2, j, 0);         // zeros in 大度 only
        set(1, 5, j, 0.00004f);  // shows as 0.0000
        g.refused[inkquot::labdanjiaIndex(0, 5, j)] = true;
    }
    g.refused[inkquot::labdanjiaIndex(0, 3, 2)] = true;  // a gap in the line
    set(1, 4, 5, 0);                                     // one zero among prices
    set(1, 6, 0, -1);

    const PriceChartData data = priceChartData(g);
    const inkquot::PriceTableCheck check = inkquot::checkPriceTable(g);
    QCOMPARE(data.series[0].leftOut, std::vector<int>({2, 5}));
    QCOMPARE(data.series[1].leftOut, std::vector<int>({5}));
    QCOMPARE(data.highest, 3.0);
    QVERIFY(data.anyInDoubt());
    QSet<int> ringed;
    for (int s = 0; s < 2; ++s) {
        for (const PriceChartLine& line : data.series[s].lines) {
            QVERIFY(!std::count(data.series[s].leftOut.begin(), data.series[s].leftOut.end(),
                                line.row));
            for (const PriceChartPoint& point : line.points) {
                const int cell = inkquot::labdanjiaIndex(s, line.row, point.column);
                QVERIFY(!g.refused[cell]);
                if (point.inDoubt) {
                    ringed << cell;
                }
            }
        }
    }
    QCOMPARE(data.series[0].lines[2].points.size(), std::size_t(5));  // row 3 without column 2
    // The zero and the negative price sit at the foot of the chart.
    QCOMPARE(data.series[1].lines[4].points[5].price, 0.0);
    QCOMPARE(data.series[1].lines[5].points[0].price, 0.0);
    QSet<int> flagged;
    for (int cell = 0; cell < 84; ++cell) {
        const bool leftOut = cell == inkquot::labdanjiaIndex(0, 2, cell % 6) ||
                             cell == inkquot::labdanjiaIndex(1, 5, cell % 6);
        if (check.cells[cell] != inkquot::CellDoubt::None && !leftOut) {
            flagged << cell;
        }
    }
    QCOMPARE(ringed, flagged);
    QCOMPARE(ringed.size(), 3);  // the rise, the zero and the negative price

    // The same chart as a picture: a PNG of twice the size asked for.
    QImage picture;
    QVERIFY(picture.loadFromData(priceChartPng(data, QSize(300, 200)), "PNG"));
    QCOMPARE(picture.size(), QSize(600, 400));
    const QString keep = qEnvironmentVariable("INKQUOT_OUTPUT_SAMPLES");
    if (!keep.isEmpty()) {
        QFile file(QDir(keep).filePath(QStringLiteral("chart-in-doubt.png")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(priceChartPng(data, QSize(650, 430)));
    }
}

// The price scale reaches from a round price below the lowest to one above
// the highest; on a short chart only the powers of ten are marked.
void TestOutputTable::chartScaleRunsBetweenRoundPrices() {
    auto labels = [](const PriceScale& scale) {
        QStringList texts;
        for (const double mark : scale.marks()) {
            texts << PriceScale::label(mark);
        }
        return texts.join(QStringLiteral(" "));
    };
    const PriceScale tall(0.0345, 4.4055, 400);
    QCOMPARE(labels(tall), QStringLiteral("0.02 0.05 0.1 0.2 0.5 1 2 5"));
    QCOMPARE(tall.place(0.02), 0.0);
    QCOMPARE(tall.place(5), 1.0);
    QCOMPARE(tall.place(0), 0.0);
    QCOMPARE(labels(PriceScale(0.0345, 4.4055, 60)), QStringLiteral("0.1 1"));
    // One price alone still gets a scale of some height.
    QCOMPARE(labels(PriceScale(2, 2, 400)), QStringLiteral("2 5"));
}

// "导出Excel": a workbook or a CSV file of the shown table; a file that cannot
// be written says "保存失败：" with the reason and leaves nothing; the window
// stays open.
void TestOutputTable::spreadsheetExport() {
    QTemporaryDir sheets;
    const QString book = sheets.filePath(QStringLiteral("表.xlsx"));
    const QString csv = sheets.filePath(QStringLiteral("表.csv"));
    FormState form = formOfKind(2);
    CostResult result;
    OutputFakes out(true, kDay);
    out.dialogs.setNextInput(QStringLiteral("甲印务价格表"));
    out.files.sheetAnswers = {
        SheetFileChoice{book, inkquot::SheetFormat::Xlsx},
        SheetFileChoice{csv, inkquot::SheetFormat::Csv},
        SheetFileChoice{sheets.filePath(QStringLiteral("无/表.csv")), inkquot::SheetFormat::Csv}};
    QString first;
    QCOMPARE(run(form, result, out,
                 [&](FrmShow& w) {
                     for (int n = 0; n < 3; ++n) {
                         QTest::mouseClick(w.cmdexcel, Qt::LeftButton);
                     }
                     first = w.Picture2->labdanjia[0]->text();
                     QCOMPARE(w.result(), 0);
                 }),
             PriceTableShown::Shown);
    QCOMPARE(QFileInfo(out.files.proposed.value(0)).fileName(),
             QStringLiteral("甲印务价格表-2026年3月"));
    QFile workbook(book);
    QVERIFY(workbook.open(QIODevice::ReadOnly));
    const QByteArray archive = workbook.readAll();
    QVERIFY(archive.startsWith("PK"));
    // The chart below the table, as a picture.
    QVERIFY(archive.contains("xl/media/image1.png"));
    const QString keep = qEnvironmentVariable("INKQUOT_OUTPUT_SAMPLES");
    if (!keep.isEmpty()) {
        QFile::remove(QDir(keep).filePath(QStringLiteral("table.xlsx")));
        QFile::copy(book, QDir(keep).filePath(QStringLiteral("table.xlsx")));
    }
    QFile sheet(csv);
    QVERIFY(sheet.open(QIODevice::ReadOnly));
    const QByteArray bytes = sheet.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    QVERIFY(text.startsWith(QStringLiteral("甲印务价格表,")));
    QVERIFY(text.contains(QStringLiteral("\r\n2开,") + QString(first).remove(QChar(u','))));
    QCOMPARE(out.dialogs.texts().size(), 2);  // the heading prompt, then the failure
    QVERIFY(out.dialogs.last().text.startsWith(QStringLiteral("保存失败：")));
    QCOMPARE(QDir(sheets.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 2);
}

void TestOutputTable::printingCopiesIntoTheLayoutAndCloses() {
    FormState form = formOfKind(2);
    CostResult result;
    OutputFakes out(true, kDay);
    out.dialogs.setNextInput(kProposal);
    QTemporaryDir samples;
    const QString keep = qEnvironmentVariable("INKQUOT_OUTPUT_SAMPLES");
    out.printer.pdfFolder = keep.isEmpty() ? samples.path() : keep;
    QMap<QString, QString> window;
    run(form, result, out, [&](FrmShow& w) {
        w.show();
        for (const QLabel* l : w.Picture2->findChildren<QLabel*>()) {
            window[l->objectName()] = l->text();
        }
        QTest::mouseClick(w.Cmdbjd[0], Qt::LeftButton);
        QVERIFY(!w.isVisible());
    });
    QCOMPARE(out.printer.calls, 1);
    QCOMPARE(out.printer.titles, QStringList({kProposal}));
    QCOMPARE(out.printer.texts, window);
    QCOMPARE(out.printer.texts.value(QStringLiteral("labdanjia_83")),
             window.value(QStringLiteral("labdanjia_83")));
    QCOMPARE(out.printer.texts.size(), 4 + 6 + 7 + 7 + 84 + 5);
    QCOMPARE(out.dialogs.texts(), QStringList({kPrompt}));
}

void TestOutputTable::printerFailureIsReportedAndCloses() {
    FormState form = formOfKind(0);
    CostResult result;
    OutputFakes out(false, kDay);
    out.dialogs.setNextInput(kProposal);
    bool closed = false;
    run(form, result, out, [&](FrmShow& w) {
        w.show();
        QTest::mouseClick(w.Cmdbjd[0], Qt::LeftButton);
        closed = !w.isVisible();
    });
    QVERIFY(closed);
    QCOMPARE(out.printer.calls, 1);
    QCOMPARE(out.dialogs.texts(), QStringList({kPrompt, QStringLiteral("打印机错误!")}));
    QCOMPARE(out.dialogs.last().icon, Dialogs::Icon::Exclamation);
}

void TestOutputTable::exportWritesTheSamePageAndStaysOpen() {
    FormState form = formOfKind(0);
    form.setTicked(Ctl::Lsthua, 0, true);
    CostResult result;
    OutputFakes out(true, kDay);
    out.dialogs.setNextInput(kProposal);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("价格表.pdf"));
    out.files.answers.push_back(file);
    run(form, result, out, [&](FrmShow& w) {
        w.show();
        QTest::mouseClick(w.cmdpdf, Qt::LeftButton);
        QVERIFY(w.isVisible());
        QTest::mouseClick(w.Cmdbjd[1], Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Rejected));
    });
    QCOMPARE(out.printer.calls, 0);
    QCOMPARE(QFileInfo(out.files.proposed.value(0)).fileName(),
             QStringLiteral("XXX印务有限公司价格表-2026年3月.pdf"));
    QVERIFY(isPdfWithItsFonts(file));
    QCOMPARE(pdfPageCount(file), 2);  // the table, then the chart
    QCOMPARE(out.dialogs.texts(), QStringList({kPrompt}));
    const QString keep = qEnvironmentVariable("INKQUOT_OUTPUT_SAMPLES");
    if (!keep.isEmpty()) {
        QFile::remove(QDir(keep).filePath(QStringLiteral("table.pdf")));
        QFile::copy(file, QDir(keep).filePath(QStringLiteral("table.pdf")));
    }
}

void TestOutputTable::refusedCellsAreReported() {
    // Some cells overflow: one warning, then the table with dashes.
    FormState form = formOfKind(2);
    form.setText(Ctl::Ncomke, 7, "3e38");
    CostResult result;
    OutputFakes out(true, kDay);
    out.dialogs.setNextInput(kProposal);
    int dashes = 0;
    QCOMPARE(run(form, result, out,
                 [&](FrmShow& w) {
                     for (QLabel* l : w.Picture2->labdanjia) {
                         dashes += l->text() == QStringLiteral("-");
                     }
                 }),
             PriceTableShown::Shown);
    QVERIFY(dashes > 0 && dashes < 84);
    QCOMPARE(out.dialogs.shown.size(), 2);
    QVERIFY(
        out.dialogs.shown[0].text.startsWith(QStringLiteral("价格表中有%1格无法计价").arg(dashes)));

    // No paper at all: the reason, and no table.
    FormState none = formOfKind(2);
    none.setListIndex(Ctl::Ncomzhi, 7, -1);
    OutputFakes refused(true, kDay);
    bool shown = false;
    QCOMPARE(run(none, result, refused, [&](FrmShow&) { shown = true; }), PriceTableShown::Refused);
    QVERIFY(!shown);
    QCOMPARE(refused.dialogs.shown.size(), 1);
    QVERIFY(refused.dialogs.last().text.contains(QStringLiteral("请为")));
}

// The real modal loop, closed from inside as the user would.
void TestOutputTable::modalWindowRunsAndReturns() {
    FormState form = formOfKind(2);
    CostResult result;
    OutputFakes out(true, kDay);
    out.dialogs.setNextInput(kProposal);
    bool clicked = false;
    QTimer::singleShot(0, this, [&] {
        auto* w = qobject_cast<FrmShow*>(QApplication::activeModalWidget());
        QVERIFY(w != nullptr);
        clicked = true;
        QTest::mouseClick(w->Cmdbjd[1], Qt::LeftButton);
    });
    QCOMPARE(run(form, result, out, {}), PriceTableShown::Shown);
    QVERIFY(clicked);
}

QTEST_MAIN(TestOutputTable)
#include "tst_output_table.moc"
