#pragma once

#include <functional>

#include "ui/output/output_services.h"

class QWidget;
class FrmShow;

namespace inkquot {
class JobForm;
class ProgramFolder;
struct CostResult;
}  // namespace inkquot

enum class PriceTableShown {
    NotOffered,  // newspapers and stickers: nothing happened
    Refused,     // no cell could be priced: the reason was shown
    Cancelled,   // no heading: the form is forced and the result holds the last cell
    Shown,       // the window was shown and has been closed
};

// "生成价格表": generates the price table of the job on `form` (its forced
// settings go through the form's setters, so on the pricing page the
// screen's own rules run), asks for the heading ("请输入报价表标题",
// proposing the last heading used, at first "XXX印务有限公司价格表") and
// shows the table window modally.
// Cells that cannot be priced show "-" and are reported in one warning.
// `result` is left holding the last cell costed.
//
// `showModal` opens the window; by default it runs the window's own event
// loop until it closes.
PriceTableShown generatePriceTableWindow(QWidget* parent, const inkquot::ProgramFolder& folder,
                                         inkquot::JobForm& form, inkquot::CostResult& result,
                                         OutputServices services,
                                         const std::function<void(FrmShow&)>& showModal = {});
