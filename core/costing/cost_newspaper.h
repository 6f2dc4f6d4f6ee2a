#pragma once

#include "core/costing/cost_records.h"
#include "core/costing/job_form.h"
#include "core/costing/job_reading.h"
#include "core/costing/price_source.h"

namespace inkquot {

// Prices a newspaper (job kind 报纸). Its two page groups 页一 and 页二 are
// ticked in Lstbao and may differ in paper and colours. Newspapers always run
// on the 对开 rotary press, four pages (版) to one 对开 press sheet per copy:
// every four pages of a group are costed as a sheet of their own, so the
// rotary minimum run, the plates and the film are charged per sheet. A group
// of 6 pages makes 1.5 sheets and is costed as 2; 10 pages as 2 (halves
// round to even). Only film and imposition are offered besides printing.
//
// Arguments: the number of copies, the Kai of the newspaper page and the
// half-sheet area of its paper series.
//
// Refused before anything is costed (the result is left all zero): a
// quantity of 0 or not finite (a negative one is priced); a page Kai that is not positive; in
// a ticked group with pages, a negative page count, more than
// kMaxSheetCostings sheets, no paper chosen, or a text that is not a number.
CostOutcome CostNewspaper(const PriceSource& prices, const JobForm& form, CostResult& result,
                          float quantity, float kai, float halfSheetArea);

// The number of 对开 sheets a group of `pages` pages is costed as.
double newspaperSheets(float pages);

}  // namespace inkquot
