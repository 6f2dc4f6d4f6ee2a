#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <set>

#include "core/common/clock.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/cost_records.h"
#include "core/job/form_state.h"
#include "core/job/priced_job.h"
#include "core/pricedata/default_scheme.h"
#include "tests/ui/output_fakes.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "tests/ui/support/temp_program_folder.h"
#include "ui/output/frmshow.h"
#include "ui/output/page_printer.h"
#include "ui/output/price_table_action.h"
#include "ui/output/print_page.h"
#include "ui/output/quotation_print.h"

using inkquot::CostResult;
using inkquot::Ctl;
using inkquot::FormState;

namespace {

FormState formOfKind(int kind) {
    FormState f;
    std::vector<std::string> papers;
    for (const auto& rec : inkquot::defaultZhijiaTable()) {
        papers.push_back(rec.Mingcheng);
    }
    std::vector<std::string> stickers;
    for (const auto& rec : inkquot::defaultZhijiabuTable()) {
        stickers.push_back(rec.Mingcheng);
    }
    f.setPaperNames(papers);
    f.setStickerPaperNames(stickers);
    f.setListIndex(Ctl::comleibie, 0, kind);
    return f;
}

// A page of lines in the print font, every other one bold as the captions
// are.
class CharacterPage : public PrintPage {
public:
    explicit CharacterPage(const QString& characters) {
        resize(tw(10800), tw(15000));
        const int perLine = 30;
        for (qsizetype at = 0, line = 0; at < characters.size(); at += perLine, ++line) {
            auto* l = new QLabel(characters.mid(at, perLine), this);
            l->setFont(printFont(12, line % 2 == 1));
            l->setGeometry(tw(600), tw(600) + int(line) * 24, tw(9600), 22);
        }
    }
};

}  // namespace

// Every character the quotation and the price table print must come back
// from the PDF as the code point that was printed: a reader that searches
// or copies an exported quotation sees "大度", not a radical that happens to
// share the glyph.
class TestPrintText : public QObject {
    Q_OBJECT

private slots:
    void everyPrintedCharacterExtractsAsItself();
};

void TestPrintText::everyPrintedCharacterExtractsAsItself() {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) {
        QSKIP("pdftotext (poppler-utils) is not installed");
    }
    inkquot::FixedClock clock({2026, 12, 7});
    TempProgramFolder folder;
    RecordingPrinter printer;
    ScriptedFileChooser files;
    std::set<char32_t> printed;
    const auto keep = [&] {
        for (const QString& text : printer.texts) {
            for (char32_t c : text.toUcs4()) {
                printed.insert(c);
            }
        }
    };
    CostResult result;
    result.UnitPrice = 0.1234f;
    result.TotalPrice = 1234567.5f;
    for (int kind = 0; kind < 5; ++kind) {
        FormState form = formOfKind(kind);
        ScriptedDialogs dialogs;
        dialogs.setNextInput(QStringLiteral("XXX印务有限公司报价单"));
        QVERIFY(printQuotation(nullptr, inkquot::pricedJobOf(form, result), {dialogs, printer, files, clock}));
        keep();
        dialogs.setNextInput(QStringLiteral("XXX印务有限公司价格表"));
        generatePriceTableWindow(
            nullptr, folder.folder(), form, result, {dialogs, printer, files, clock},
            [](FrmShow& w) { QTest::mouseClick(w.Cmdbjd[0], Qt::LeftButton); });
        keep();
    }
    QVERIFY(printer.calls >= 8);
    // The paper names reach the page through the table's explanation.
    for (int kind : {0, 4}) {
        const FormState form = formOfKind(kind);
        for (const auto& name : form.items(Ctl::Ncomzhi, 0)) {
            for (char32_t c : QString::fromStdString(name).toUcs4()) {
                printed.insert(c);
            }
        }
    }
    QString characters;
    for (char32_t c : printed) {
        if (!QChar::isSpace(c)) {
            characters += QString::fromUcs4(&c, 1);
        }
    }
    QVERIFY(printed.count(U'大') && printed.count(U'页') && printed.count(U'面'));

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("characters.pdf"));
    PdfPagePrinter writer(pdf);
    QVERIFY(writer.print(CharacterPage(characters), QStringLiteral("characters")));
    QProcess extract;
    extract.start(pdftotext,
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    QVERIFY(extract.waitForFinished(60000));
    const QString text = QString::fromUtf8(extract.readAllStandardOutput());

    QString missing;
    for (char32_t c : characters.toUcs4()) {
        if (!text.contains(QString::fromUcs4(&c, 1))) {
            missing += QString::fromUcs4(&c, 1);
        }
    }
    QString strangers;
    for (char32_t c : text.toUcs4()) {
        if (!QChar::isSpace(c) && !printed.count(c)) {
            strangers += QString::fromUcs4(&c, 1);
        }
    }
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("lost: ") + missing));
    QVERIFY2(strangers.isEmpty(), qPrintable(QStringLiteral("came back instead: ") + strangers));
}

QTEST_MAIN(TestPrintText)
#include "tst_print_text.moc"
