// Prints one quotation and one price table on the system's default printer
// through the program's own printing code (DefaultPagePrinter), exactly as
// "打印报价单" and the price table window's print button do. Used by
// scripts/print-check.sh against a real print queue; exits 1 when a print
// fails, and names what it printed on standard output.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "core/common/clock.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/cost_records.h"
#include "core/job/form_state.h"
#include "core/job/priced_job.h"
#include "core/pricedata/default_scheme.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "tests/ui/support/temp_program_folder.h"
#include "ui/output/frmshow.h"
#include "ui/output/page_printer.h"
#include "ui/output/price_table_action.h"
#include "ui/output/quotation_print.h"
#include "ui/output/save_file_chooser.h"

namespace {

class NoFileChooser final : public SaveFileChooser {
public:
    std::optional<QString> choosePdfFile(QWidget*, const QString&) override { return {}; }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TempProgramFolder folder;
    inkquot::SystemClock clock;
    DefaultPagePrinter printer;
    NoFileChooser files;

    inkquot::FormState form;
    std::vector<std::string> papers;
    for (const auto& rec : inkquot::defaultZhijiaTable()) {
        papers.push_back(rec.Mingcheng);
    }
    form.setPaperNames(papers);
    form.setListIndex(inkquot::Ctl::comleibie, 0, 2);
    form.setText(inkquot::Ctl::txtkehuming, 2, "华光印刷物资有限公司");
    form.setText(inkquot::Ctl::txtyinjianming, 2, "新品宣传单");

    inkquot::CostResult result;
    result.UnitPrice = 0.1234f;
    result.TotalPrice = 2468;
    result.PaperCost = 1200.5f;
    result.PrintCost = 800;

    ScriptedDialogs dialogs;
    dialogs.setNextInput(QStringLiteral("大度印务有限公司报价单"));
    const bool quoted = printQuotation(nullptr, inkquot::pricedJobOf(form, result), {dialogs, printer, files, clock});
    std::printf("quotation: %s\n", quoted ? "printed" : "FAILED");

    dialogs.setNextInput(QStringLiteral("大度印务有限公司价格表"));
    const auto shown = generatePriceTableWindow(
        nullptr, folder.folder(), form, result, {dialogs, printer, files, clock},
        [](FrmShow& w) { QTest::mouseClick(w.Cmdbjd[0], Qt::LeftButton); });
    bool tableFailed = false;
    for (const auto& s : dialogs.shown) {
        if (s.kind == ScriptedDialogs::Kind::Message) {
            std::printf("message: %s\n", qPrintable(s.text));
            tableFailed = true;
        }
    }
    const bool tabled = shown == PriceTableShown::Shown && !tableFailed;
    std::printf("price table: %s\n", tabled ? "printed" : "FAILED");
    return quoted && tabled ? 0 : 1;
}
