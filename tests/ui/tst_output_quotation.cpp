#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include "core/common/clock.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/cost_records.h"
#include "core/job/form_state.h"
#include "core/job/priced_job.h"
#include "tests/core/costing/sample_parts.h"
#include "tests/ui/output_fakes.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "ui/output/frmresult.h"
#include "ui/output/print_page.h"
#include "ui/output/quotation_print.h"

using inkquot::CheckState;
using inkquot::Ctl;
using inkquot::FormState;
using inkquot::testing::sampleQuotationResult;

namespace {

const QString kPrompt = QStringLiteral("请输入打印标题");
const QString kProposal = QStringLiteral("XXX印务有限公司报价单");

FormState sampleForm() {
    FormState f;
    f.setListIndex(Ctl::comleibie, 0, 2);
    f.setText(Ctl::txtkehuming, 2, "华光印刷物资有限公司");
    f.setText(Ctl::txtyinjianming, 2, "新品宣传单");
    f.setText(Ctl::txtshuliang, 2, "20000");
    return f;
}

}  // namespace

class TestOutputQuotation : public QObject {
    Q_OBJECT

private slots:
    void printsTheLetterOfTheKindChosenNow();
    void emptyOrCancelledHeadingPrintsNothing_data();
    void emptyOrCancelledHeadingPrintsNothing();
    void printerFailureIsReported();
    void labelsSitAtTheirPlaces();
    void longLetterPushesTheDateDown();
    void exportsAPdfWithItsFonts();
    void exportCancelledOrUnwritable();
    void proposedNamesAreSafe_data();
    void proposedNamesAreSafe();
};

void TestOutputQuotation::printsTheLetterOfTheKindChosenNow() {
    OutputFakes out;
    out.dialogs.setNextInput(kProposal);
    FormState form = sampleForm();
    QVERIFY(printQuotation(nullptr, pricedJobOf(form, sampleQuotationResult()), out.services()));

    QCOMPARE(out.dialogs.shown.size(), 1);
    QCOMPARE(out.dialogs.last().text, kPrompt);
    QCOMPARE(out.dialogs.last().proposed, kProposal);
    QCOMPARE(out.printer.calls, 1);
    QCOMPARE(out.printer.texts[QStringLiteral("lbiaoti")], kProposal);
    QCOMPARE(out.printer.texts[QStringLiteral("lkehu")],
             QStringLiteral("致华光印刷物资有限公司："));
    QCOMPARE(out.printer.texts[QStringLiteral("labre")],
             QStringLiteral("    贵单位的印件<<新品宣传单>>共印制20,000份，单价为：0.1234元/份,"
                            "总价为：2,468.00元。    其中，印前制作费：120.50元，纸价：1,234.50元，"
                            "印刷费：800.00元，装订费：0.00元，其它费：213.00元。"));
    QCOMPARE(out.printer.texts[QStringLiteral("labdate")], QStringLiteral("2026年12月7日"));

    // Another kind chosen after the run: its boxes, the same prices.
    form.setListIndex(Ctl::comleibie, 0, 0);
    out.dialogs.setNextInput(QStringLiteral("报价"));
    QVERIFY(printQuotation(nullptr, pricedJobOf(form, sampleQuotationResult()), out.services()));
    QCOMPARE(out.printer.texts[QStringLiteral("lkehu")], QStringLiteral("致客户1："));
    QVERIFY(out.printer.texts[QStringLiteral("labre")].contains(
        QStringLiteral("<<印件1>>共印制10,000份，单价为：0.1234元/份,")));
}

void TestOutputQuotation::emptyOrCancelledHeadingPrintsNothing_data() {
    QTest::addColumn<bool>("answered");
    QTest::newRow("cancelled") << false;
    QTest::newRow("empty") << true;
}

void TestOutputQuotation::emptyOrCancelledHeadingPrintsNothing() {
    QFETCH(bool, answered);
    OutputFakes out;
    out.dialogs.setNextInput(answered ? std::optional<QString>(QString()) : std::nullopt);
    const FormState form = sampleForm();
    QVERIFY(!printQuotation(nullptr, pricedJobOf(form, sampleQuotationResult()), out.services()));
    QVERIFY(
        !exportQuotationPdf(nullptr, pricedJobOf(form, sampleQuotationResult()), out.services()));
    QCOMPARE(out.printer.calls, 0);
    QVERIFY(out.files.proposed.isEmpty());
    // Only the two prompts: nothing is said about the cancelled heading.
    QCOMPARE(out.dialogs.texts(), QStringList({kPrompt, kPrompt}));
}

void TestOutputQuotation::printerFailureIsReported() {
    OutputFakes out(false);
    out.dialogs.setNextInput(kProposal);
    QVERIFY(!printQuotation(nullptr, pricedJobOf(sampleForm(), sampleQuotationResult()),
                            out.services()));
    QCOMPARE(out.printer.calls, 1);
    QCOMPARE(out.dialogs.texts(), QStringList({kPrompt, QStringLiteral("打印机错误!")}));
    QCOMPARE(out.dialogs.last().icon, Dialogs::Icon::Exclamation);
}

// Positions in twips of the page (15 twips a pixel), fonts in points.
void TestOutputQuotation::labelsSitAtTheirPlaces() {
    FrmResult page;
    fillQuotation(page, kProposal, pricedJobOf(sampleForm(), sampleQuotationResult()),
                  OutputFakes().clock);
    QCOMPARE(page.size(), QSize(745, 456));

    struct Place {
        QLabel* label;
        int left, top;
        double points;
        bool bold;
    };
    for (const Place& p :
         {Place{page.lkehu, 1080, 2040, 14.25, true}, Place{page.labre, 1080, 2820, 14.25, false},
          Place{page.labdate, 7020, 5040, 14.25, false}}) {
        QCOMPARE(p.label->x(), tw(p.left));
        QCOMPARE(p.label->y(), tw(p.top));
        QCOMPARE(p.label->font().pixelSize(), qRound(p.points * 96 / 72));
        QCOMPARE(p.label->font().bold(), p.bold);
        // Wide enough for its text: nothing cut off on the right.
        QVERIFY(p.label->width() >=
                    QFontMetrics(p.label->font())
                        .horizontalAdvance(p.label->text().split(QLatin1Char('\n')).first()) ||
                p.label->wordWrap());
    }
    QCOMPARE(page.labre->width(), tw(9120));
    QVERIFY(page.labre->wordWrap());
    // The heading is centred on the page, in 18 pt.
    QCOMPARE(page.lbiaoti->y(), tw(1260));
    QCOMPARE(page.lbiaoti->font().pixelSize(), 24);
    QVERIFY(qAbs(page.lbiaoti->geometry().center().x() - page.width() / 2) <= 1);
    // The letter ends above the date.
    QVERIFY(page.labre->geometry().bottom() < page.labdate->y());
}

void TestOutputQuotation::longLetterPushesTheDateDown() {
    FormState form = sampleForm();
    std::string name;
    for (int i = 0; i < 40; ++i) {
        name += "企业年度画册";
    }
    form.setText(Ctl::txtyinjianming, 2, name);
    FrmResult page;
    fillQuotation(page, kProposal, pricedJobOf(form, sampleQuotationResult()), OutputFakes().clock);
    QVERIFY(page.labre->geometry().bottom() > tw(5040));
    QVERIFY(page.labdate->y() > page.labre->geometry().bottom());
    QVERIFY(page.height() > page.labdate->geometry().bottom());
}

void TestOutputQuotation::exportsAPdfWithItsFonts() {
    QTemporaryDir dir;
    OutputFakes out;
    out.dialogs.setNextInput(kProposal);
    const QString file = dir.filePath(QStringLiteral("报价单.pdf"));
    out.files.answers.push_back(file);
    QVERIFY(exportQuotationPdf(nullptr, pricedJobOf(sampleForm(), sampleQuotationResult()),
                               out.services()));
    QCOMPARE(out.printer.calls, 0);  // the export never goes to the printer
    QCOMPARE(QFileInfo(out.files.proposed.value(0)).fileName(),
             QStringLiteral("XXX印务有限公司报价单-2026年12月7日.pdf"));
    QVERIFY(isPdfWithItsFonts(file));
    QCOMPARE(out.dialogs.texts(), QStringList({kPrompt}));
    // Nothing left beside it.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("报价单.pdf")}));

    const QString samples = qEnvironmentVariable("INKQUOT_OUTPUT_SAMPLES");
    if (!samples.isEmpty()) {
        QFile::remove(QDir(samples).filePath(QStringLiteral("quotation.pdf")));
        QFile::copy(file, QDir(samples).filePath(QStringLiteral("quotation.pdf")));
    }
}

void TestOutputQuotation::exportCancelledOrUnwritable() {
    QTemporaryDir dir;
    OutputFakes out;
    // Cancelled at the file dialog: nothing written, nothing said.
    out.dialogs.setNextInput(kProposal);
    out.files.answers.push_back(std::nullopt);
    QVERIFY(!exportQuotationPdf(nullptr, pricedJobOf(sampleForm(), sampleQuotationResult()),
                                out.services()));
    QCOMPARE(out.dialogs.texts(), QStringList({kPrompt}));

    // A folder that does not exist: a warning naming the file.
    const QString file = dir.filePath(QStringLiteral("no/such/folder/q.pdf"));
    out.dialogs.setNextInput(kProposal);
    out.files.answers.push_back(file);
    QVERIFY(!exportQuotationPdf(nullptr, pricedJobOf(sampleForm(), sampleQuotationResult()),
                                out.services()));
    QCOMPARE(out.dialogs.last().icon, Dialogs::Icon::Exclamation);
    QVERIFY(out.dialogs.last().text.contains(file));

    // An existing file is replaced only by a whole new one.
    const QString kept = dir.filePath(QStringLiteral("kept.pdf"));
    {
        QFile old(kept);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    out.dialogs.setNextInput(kProposal);
    out.files.answers.push_back(kept);
    QVERIFY(exportQuotationPdf(nullptr, pricedJobOf(sampleForm(), sampleQuotationResult()),
                               out.services()));
    QFile replaced(kept);
    QVERIFY(replaced.open(QIODevice::ReadOnly));
    QVERIFY(replaced.readAll().startsWith("%PDF-"));
}

void TestOutputQuotation::proposedNamesAreSafe_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain") << QStringLiteral("报价单-2026年1月2日")
                           << QStringLiteral("报价单-2026年1月2日.pdf");
    QTest::newRow("separators") << QStringLiteral("../甲/乙\\丙")
                                << QStringLiteral(".._甲_乙_丙.pdf");
    QTest::newRow("reserved") << QStringLiteral("a:b*c?d\"e<f>g|h")
                              << QStringLiteral("a_b_c_d_e_f_g_h.pdf");
    QTest::newRow("control") << QStringLiteral("a\tb\nc") << QStringLiteral("a_b_c.pdf");
    QTest::newRow("dots only") << QStringLiteral("..") << QStringLiteral("报价.pdf");
    QTest::newRow("blank") << QStringLiteral("   ") << QStringLiteral("报价.pdf");
}

void TestOutputQuotation::proposedNamesAreSafe() {
    QFETCH(QString, name);
    QFETCH(QString, file);
    const QFileInfo proposed(proposedPdfPath(name));
    QCOMPARE(proposed.fileName(), file);
    QVERIFY(proposed.dir().exists());
}

QTEST_MAIN(TestOutputQuotation)
#include "tst_output_quotation.moc"
