#pragma once

#include <QString>

#include "ui/output/output_services.h"

class QWidget;
class FrmResult;

namespace inkquot {
struct PricedJob;
}  // namespace inkquot

// The quotation of the last costing, for the result panel's buttons. Both
// ask for the heading ("请输入打印标题", proposing the last heading used, at
// first "XXX印务有限公司报价单"); an empty or cancelled heading does nothing.
// Everything on the page comes from the priced job, never from the entry
// screen; the shop's letterhead, when one is set, goes above it.

// "打印报价单": prints the quotation as one page; "打印机错误!" when the
// printer fails. True when it was printed.
bool printQuotation(QWidget* parent, const inkquot::PricedJob& job, OutputServices services);

// "导出PDF": the same page into a PDF file the user names (proposed: the
// heading and the date). True when the file was written.
bool exportQuotationPdf(QWidget* parent, const inkquot::PricedJob& job, OutputServices services);

// Fills the quotation page with `heading` and the job; used by both.
void fillQuotation(FrmResult& page, const QString& heading, const inkquot::PricedJob& job,
                   const inkquot::Clock& clock);
