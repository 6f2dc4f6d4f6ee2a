#include "ui/output/quotation_print.h"

#include <optional>

#include "core/common/clock.h"
#include "core/common/date_text.h"
#include "core/identity/remembered_headings.h"
#include "core/job/quotation_text.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/output/frmresult.h"
#include "ui/output/letterhead_page.h"
#include "ui/output/page_printer.h"
#include "ui/output/save_file_chooser.h"

namespace {

// The heading proposed is the last one used; the answer becomes the last
// one. A heading that cannot be kept is still printed.
std::optional<QString> askHeading(QWidget* parent, const OutputServices& services) {
    using inkquot::HeadingKind;
    const auto heading = services.dialogs.input(
        parent, fromUtf8(inkquot::kQuotationTitlePrompt),
        fromUtf8(inkquot::proposedHeading(services.shopFolder, HeadingKind::Quotation)), false);
    if (!heading || heading->isEmpty()) {
        return std::nullopt;
    }
    if (services.shopFolder) {
        inkquot::rememberHeading(*services.shopFolder, HeadingKind::Quotation, toUtf8(*heading));
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
    const auto heading = askHeading(parent, services);
    if (!heading) {
        return false;
    }
    FrmResult frmresult;
    fillQuotation(frmresult, *heading, job, services.clock);
    if (!printWithLetterhead(services.printer, frmresult, *heading, services.shopFolder)) {
        services.dialogs.warning(parent, QString::fromUtf8(kPrinterErrorText));
        return false;
    }
    return true;
}

bool exportQuotationPdf(QWidget* parent, const inkquot::PricedJob& job, OutputServices services) {
    const auto heading = askHeading(parent, services);
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
    if (!printWithLetterhead(pdf, frmresult, *heading, services.shopFolder)) {
        services.dialogs.warning(parent, QString::fromUtf8(kPdfErrorText) + *file);
        return false;
    }
    return true;
}
