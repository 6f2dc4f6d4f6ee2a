#pragma once

#include "core/costing/cost_records.h"
#include "core/costing/job_form.h"
#include "core/costing/job_reading.h"
#include "core/costing/price_source.h"

namespace inkquot {

// Prices a leaflet, poster or flyer (job kind 单张\招贴): one printed part,
// with optional film, imposition, surface finishing, die cutting with a die
// board, and folding. Nothing at all is costed, not even film, unless 印刷
// (Chkdan(0)) is ticked.
//
// Arguments: the number of copies, the Kai of the finished sheet and the
// half-sheet area of its paper series.
//
// Refused before anything is costed (the result is left all zero): a
// quantity of 0 or not finite (a negative one is priced); and, when the sheet is printed, a
// Kai or press-sheet Kai that is not positive, no paper chosen, or a text
// that is not a number among the values used.
CostOutcome CostSingleSheet(const PriceSource& prices, const JobForm& form, CostResult& result,
                            float quantity, float kai, float halfSheetArea);

}  // namespace inkquot
