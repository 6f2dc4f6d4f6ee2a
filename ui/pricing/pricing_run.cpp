#include "ui/pricing/pricing_run.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <unordered_set>

#include "core/job/form_rules.h"
#include "core/job/job_file.h"
#include "core/job/paper_lists.h"
#include "core/job/recent_jobs.h"
#include "core/job/scheme_comparison.h"
#include "core/records/history_file.h"
#include "core/records/history_jobs.h"
#include "core/records/recent_customers.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/output/output_services.h"
#include "ui/output/page_printer.h"
#include "ui/output/price_table_action.h"
#include "ui/output/quotation_print.h"
#include "ui/output/save_file_chooser.h"
#include "ui/output/ticket_print.h"
#include "ui/pricing/pricing_page.h"
#include "ui/pricing/scheme_comparison_dialog.h"

namespace {

using inkquot::Ctl;

const QString kStart = QStringLiteral("开始计价");
const QString kRestart = QStringLiteral("重新开始");
constexpr int kResultPanel = 5;

}  // namespace

PricingRun::PricingRun(PricingPage& page, const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                       const inkquot::Clock& clock, QObject* parent)
    : QObject(parent),
      page_(page),
      folder_(folder),
      dialogs_(dialogs),
      clock_(clock),
      printer_(std::make_unique<DefaultPagePrinter>()),
      files_(std::make_unique<QtSaveFileChooser>()),
      damage_(folder, dialogs) {
    connect(&page_, &PricingPage::commandPressed, this, &PricingRun::press);
    offerSavedCustomers();
    connect(page_.cmdprint, &QPushButton::clicked, this, &PricingRun::printQuotation);

    // Shops e-mail quotations: the PDF export sits beside the print button.
    cmdpdf = addResultButton(QStringLiteral("导出PDF"), "cmdpdf");
    connect(cmdpdf, &QPushButton::clicked, this, &PricingRun::exportQuotationPdf);
    cmdcompare = addResultButton(QStringLiteral("方案比较"), "cmdcompare");
    connect(cmdcompare, &QPushButton::clicked, this, &PricingRun::compareSchemes);
    // The press room's ticket of the same run.
    cmdticket = addResultButton(QStringLiteral("施工单"), "cmdticket");
    connect(cmdticket, &QPushButton::clicked, this, &PricingRun::showTicket);

    page_.cmdjijia[0]->setText(kStart);
    page_.cmdjijia[1]->setEnabled(false);
}

PricingRun::~PricingRun() = default;

// A button in the row of the print button, after the ones added before it.
QPushButton* PricingRun::addResultButton(const QString& caption, const char* name) {
    auto* button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    QWidget* row = page_.cmdprint->parentWidget();
    if (auto* box = row != nullptr ? qobject_cast<QBoxLayout*>(row->layout()) : nullptr) {
        int after = box->indexOf(page_.cmdprint);
        while (after + 1 < box->count() &&
               qobject_cast<QPushButton*>(box->itemAt(after + 1)->widget()) != nullptr) {
            ++after;
        }
        box->insertWidget(after + 1, button);
    } else {
        button->setParent(row);
    }
    return button;
}

void PricingRun::compareSchemes() {
    if (priced_.kind < 0) {
        return;
    }
    std::vector<inkquot::SchemePrice> prices;
    const inkquot::IoStatus status =
        inkquot::priceUnderEveryScheme(folder_, inkquot::formOfPricedJob(folder_, priced_), prices);
    if (!status) {
        dialogs_.warning(&page_, fromUtf8(status.message));
        return;
    }
    SchemeComparisonDialog dialog(priced_.result, prices, &page_);
    if (showComparison) {
        showComparison(dialog);
    } else {
        dialog.exec();
    }
}

void PricingRun::setPrinter(std::unique_ptr<PagePrinter> printer) {
    printer_ = std::move(printer);
}

void PricingRun::setFileChooser(std::unique_ptr<SaveFileChooser> chooser) {
    files_ = std::move(chooser);
}

void PricingRun::press(int index) {
    switch (index) {
        case 0:
            if (page_.cmdjijia[0]->text() == kStart) {
                start();
            } else {
                restart();
            }
            break;
        case 1:
            save();
            break;
        case 2:
            generateTable();
            break;
        default:
            break;
    }
}

void PricingRun::start() {
    if (!damage_.checkBeforePricing(&page_)) {
        return;
    }
    const inkquot::PriceOutcome outcome = inkquot::priceJob(folder_, page_.captureJob(), priced_);
    if (!outcome.ok()) {
        // Nothing changes on the screen: the entry panel stays for a fix.
        dialogs_.warning(&page_, fromUtf8(outcome.refusal));
        return;
    }
    page_.labresult->setText(fromUtf8(priced_.resultText));
    page_.labdamage->setText(damage_.resultLine());
    page_.labdamage->setVisible(!page_.labdamage->text().isEmpty());
    page_.showPanel(kResultPanel);
    page_.cmdjijia[1]->setEnabled(true);
    page_.cmdjijia[0]->setText(kRestart);
    showingResult_ = true;
    resultUnsaved_ = true;
}

void PricingRun::restart() {
    page_.showPanel(page_.listIndex(Ctl::comleibie));
    page_.cmdjijia[1]->setEnabled(false);
    page_.cmdjijia[0]->setText(kStart);
    showingResult_ = false;
}

void PricingRun::save() {
    if (priced_.kind < 0) {
        return;
    }
    inkquot::JiluRec rec;
    rec.Riqi = inkquot::serialFromDate(clock_.today());
    rec.Kehuming = priced_.customer;
    rec.Yinjianming = priced_.jobName;
    rec.Shuliang = priced_.quantity;
    rec.Guige = priced_.guige;
    rec.Yaoqiu = priced_.yaoqiu;
    rec.Danjia = priced_.result.UnitPrice;
    rec.Zongjia = priced_.result.TotalPrice;
    // The job description goes beside the record, so that the quotation can
    // be reopened from the history.
    bool jobStored = false;
    const auto status = inkquot::appendHistoryWithJob(
        folder_, rec, inkquot::jobFileText(priced_.description, true), &jobStored);
    if (!status) {
        // The result stays shown and can be saved again once the cause is
        // fixed.
        dialogs_.warning(&page_, QStringLiteral("保存失败：") + fromUtf8(status.message));
        return;
    }
    page_.cmdjijia[1]->setEnabled(false);
    resultUnsaved_ = false;
    page_.rememberCustomer(fromUtf8(priced_.customer));
    if (!jobStored) {
        dialogs_.warning(&page_, QStringLiteral("结果已保存，但印件描述未能一并保存（文件“%1”已损坏"
                                                "或由较新版本的程序保存），这条记录不能调出印件。")
                                     .arg(QString::fromUtf8(inkquot::kHistoryJobsFileName)));
    }
}

void PricingRun::generateTable() {
    if (!damage_.checkBeforePricing(&page_)) {
        return;
    }
    // The table forces its own settings onto a copy of the job: the entry
    // controls and the shown result stay as they are.
    inkquot::FormState job = page_.captureJob();
    // A job the tool would refuse to read gives no table here either.
    if (const auto refusal = inkquot::firstOutOfRange(job)) {
        dialogs_.warning(&page_, fromUtf8(*refusal));
        return;
    }
    inkquot::CostResult lastCell;
    OutputServices services{dialogs_, *printer_, *files_, clock_, &folder_};
    generatePriceTableWindow(&page_, folder_, job, lastCell, services);
}

void PricingRun::printQuotation() {
    OutputServices services{dialogs_, *printer_, *files_, clock_, &folder_};
    ::printQuotation(&page_, priced_, services);
}

void PricingRun::exportQuotationPdf() {
    OutputServices services{dialogs_, *printer_, *files_, clock_, &folder_};
    ::exportQuotationPdf(&page_, priced_, services);
}

void PricingRun::showTicket() {
    OutputServices services{dialogs_, *printer_, *files_, clock_, &folder_};
    showProductionTicket(&page_, priced_, inkquot::readPaperNames(folder_), services);
}

// The customer boxes offer the customers of the history. A history that
// cannot be read offers none; the pricing itself does not need it.
// The customers of the clerk's recent job files come first, then those of
// the saved quotations.
void PricingRun::offerSavedCustomers() {
    std::vector<std::string> names = inkquot::customersOfRecentJobs(folder_);
    std::vector<std::string> quoted;
    inkquot::recentCustomers(folder_.file(inkquot::kHistoryFileName), inkquot::kOfferedCustomers,
                             quoted);
    QStringList customers;
    customers.reserve(qsizetype(names.size() + quoted.size()));
    std::unordered_set<std::string> seen;
    for (const auto* list : {&names, &quoted}) {
        for (const std::string& name : *list) {
            if (seen.insert(name).second) {
                customers << fromUtf8(name);
            }
        }
    }
    page_.offerCustomers(customers);
}
