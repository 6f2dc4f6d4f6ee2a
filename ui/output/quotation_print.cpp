#include "ui/output/quotation_print.h"

#include <optional>

#include "core/common/clock.h"
#include "core/common/date_text.h"
#include "core/job/quotation_text.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/output/frmresult.h"
#include "ui/output/page_printer.h"
#include "ui/output/save_file_chooser.h"

namespace {

std::optional<QString> askHeading(QWidget* parent, Dialogs& dialogs) {
    const auto heading = dialogs.input(parent, fromUtf8(inkquot::kQuotationTitlePrompt),
                                       fromUtf8(inkquot::kQuotationTitleProposal), false);
    if (!heading || heading->isEmpty()) {
        return std::nullopt;
    }
    return heading;
}

}  // namespace

void fillQuotation(FrmResult& page, const QString& heading, const inkquot::PricedJob& job,
                   const inkquot::Clock& clock) {
    page.fill(heading, fromUtf8(inkquot::quotationAddressee(job)),
              fromUtf8(inkquot::quotationLetter(job)),
              fromUtf8(inkquot::longDateText(clock.today())));
}

bool printQuotation(QWidget* parent, const inkquot::PricedJob& job, OutputServices services) {
    const auto heading = askHeading(parent, services.dialogs);
    if (!heading) {
        return false;
    }
    FrmResult frmresult;
    fillQuotation(frmresult, *heading, job, services.clock);
    if (!services.printer.print(frmresult, *heading)) {
        services.dialogs.warning(parent, QString::fromUtf8(kPrinterErrorText));
        return false;
    }
    return true;
}

bool exportQuotationPdf(QWidget* parent, const inkquot::PricedJob& job, OutputServices services) {
    const auto heading = askHeading(parent, services.dialogs);
    if (!heading) {
        return false;
    }
    const QString date = fromUtf8(inkquot::longDateText(services.clock.today()));
    const auto file = services.files.choosePdfFile(
        parent, proposedPdfPath(*heading + QStringLiteral("-") + date));
    if (!file) {
        return false;
    }
    FrmResult frmresult;
    fillQuotation(frmresult, *heading, job, services.clock);
    PdfPagePrinter pdf(*file);
    if (!pdf.print(frmresult, *heading)) {
        services.dialogs.warning(parent, QString::fromUtf8(kPdfErrorText) + *file);
        return false;
    }
    return true;
}
