#pragma once

#include <QString>

#include "ui/output/output_services.h"

class QWidget;
class FrmResult;

namespace inkquot {
class JobForm;
struct CostResult;
}  // namespace inkquot

// The quotation of the last costing, for the result panel's buttons. Both
// ask for the heading ("请输入打印标题", proposing "XXX印务有限公司报价单");
// an empty or cancelled heading does nothing. The customer, job and
// quantity are read from the entry boxes of the job kind chosen now, the
// prices from `result`.

// "打印报价单": prints the quotation as one page; "打印机错误!" when the
// printer fails. True when it was printed.
bool printQuotation(QWidget* parent, const inkquot::JobForm& form,
                    const inkquot::CostResult& result, OutputServices services);

// "导出PDF": the same page into a PDF file the user names (proposed: the
// heading and the date). True when the file was written.
bool exportQuotationPdf(QWidget* parent, const inkquot::JobForm& form,
                        const inkquot::CostResult& result, OutputServices services);

// Fills the quotation page with `heading` and the job; used by both.
void fillQuotation(FrmResult& page, const QString& heading, const inkquot::JobForm& form,
                   const inkquot::CostResult& result, const inkquot::Clock& clock);
