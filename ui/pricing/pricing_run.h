#pragma once

#include <QObject>
#include <functional>
#include <memory>

#include "core/common/clock.h"
#include "core/common/program_folder.h"
#include "core/job/priced_job.h"
#include "ui/pricing/price_file_warning.h"

class Dialogs;
class QDialog;
class PagePrinter;
class PricingPage;
class QPushButton;
class SaveFileChooser;

// The three command buttons below the job entry panels and the result
// panel's buttons: "开始计价" / "重新开始", "保存结果", "生成价格表",
// "打印报价单", "导出PDF", "方案比较" and "施工单". It keeps the last
// pricing run's priced job: the result panel, the quotation, the production
// ticket and the saved record are all made from it, never from the entry
// controls, until the next run replaces it.
class PricingRun : public QObject {
    Q_OBJECT

public:
    PricingRun(PricingPage& page, const inkquot::ProgramFolder& folder, Dialogs& dialogs,
               const inkquot::Clock& clock, QObject* parent = nullptr);
    ~PricingRun() override;

    // Tests put a failing printer or a scripted file dialog here.
    void setPrinter(std::unique_ptr<PagePrinter> printer);
    void setFileChooser(std::unique_ptr<SaveFileChooser> chooser);

    // The press handler of cmdjijia(index).
    void press(int index);
    void printQuotation();
    void exportQuotationPdf();
    // "方案比较": the shown job under every stored scheme.
    void compareSchemes();
    // "施工单": the production ticket of the shown job.
    void showTicket();

    const inkquot::CostResult& result() const { return priced_.result; }
    const inkquot::PricedJob& pricedJob() const { return priced_; }
    PriceFileWarning& priceFileWarning() { return damage_; }
    bool showingResult() const { return showingResult_; }
    // A result was priced and not saved to the history since.
    bool resultUnsaved() const { return resultUnsaved_; }
    QPushButton* cmdpdf = nullptr;
    QPushButton* cmdcompare = nullptr;
    // Shows the comparison; tests look at the dialog here instead of
    // running it.
    std::function<void(QDialog&)> showComparison;
    QPushButton* cmdticket = nullptr;  // "施工单"

private:
    void offerSavedCustomers();
    void start();
    void restart();
    void save();
    void generateTable();
    QPushButton* addResultButton(const QString& caption, const char* name);

    PricingPage& page_;
    inkquot::ProgramFolder folder_;
    Dialogs& dialogs_;
    const inkquot::Clock& clock_;
    std::unique_ptr<PagePrinter> printer_;
    std::unique_ptr<SaveFileChooser> files_;
    PriceFileWarning damage_;
    inkquot::PricedJob priced_;
    bool showingResult_ = false;
    bool resultUnsaved_ = false;
};
