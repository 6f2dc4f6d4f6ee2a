#pragma once

#include "core/costing/cost_records.h"
#include "core/costing/job_form.h"
#include "core/costing/job_reading.h"
#include "core/costing/price_source.h"

namespace inkquot {

// Prices self-adhesive labels (job kind 不干胶): one part printed on one side
// only, on sticker paper priced per 对开 sheet, with optional film,
// imposition, one-sided surface finishing and die cutting with a die board.
// Work-and-turn never applies, whatever the page's box says. Nothing is
// costed unless 印刷 (Chkbu(0)) is ticked.
//
// Arguments: the number of labels, the half-sheet area of the paper series
// and the Kai of the finished label (the area comes before the Kai here).
//
// Refused before anything is costed (the result is left all zero): a
// quantity of 0 or not finite (a negative one is priced); and, when printed, a Kai or
// press-sheet Kai that is not positive, no sticker paper chosen, or a text
// that is not a number among the values used.
CostOutcome CostSticker(const PriceSource& prices, const JobForm& form, CostResult& result,
                        float quantity, float halfSheetArea, float kai);

}  // namespace inkquot
