#pragma once

#include <string>
#include <string_view>

#include "core/costing/cost_records.h"
#include "core/costing/job_figures.h"
#include "core/costing/job_form.h"
#include "core/costing/price_source.h"

namespace inkquot {

// The warning of a pricing run on a quantity of 0.
inline constexpr std::string_view kZeroQuantityMessage = "数量不能为零！";

// What a pricing run did. A refused run carries a message in Chinese that
// the screen shows as a warning and the command line tool prints.
struct PriceOutcome {
    std::string refusal;
    // Of a priced job: the sheets and plates behind the money.
    JobFigures figures;

    bool ok() const { return refusal.empty(); }
};

// The area of one 对开 sheet of a paper series from its list position p:
// (1 − p) / 10 + 0.43 m², formed in double and kept as a 32-bit float, so
// 0.53 for 大度 (0) and 0.43 for 正度 (1).
float halfSheetAreaOfSeries(int position);

// A pricing run ("开始计价"): reads the job kind from comleibie, refuses a
// quantity of 0 with kZeroQuantityMessage, reads the quantity, the 开 and the
// paper series of the kind's size entry (for books also the cover's and the
// pages of 内页一) and calls the kind's costing procedure, which reads the
// rest of the job from `form` and fills `result`.
//
// Refused before any costing, with `result` left as it was: no job kind, a
// quantity of 0, a quantity, 开 or page text that is not a number, and a
// paper series list without a selection. The costing procedures' own
// refusals come back as they are (their result is all zero). A result that
// holds a value that is not a finite number is refused as well and cleared,
// so no such value is ever shown as a price.
PriceOutcome priceJob(const PriceSource& prices, const JobForm& form, CostResult& result);

}  // namespace inkquot
