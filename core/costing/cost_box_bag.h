#pragma once

#include "core/costing/cost_records.h"
#include "core/costing/job_form.h"
#include "core/costing/job_reading.h"
#include "core/costing/price_source.h"

namespace inkquot {

// Prices a folding box, carton or paper bag (job kind 纸盒\纸袋). Its parts
// are ticked in lsthe: the face paper (面纸), which carries all finishing
// (surface, foil stamping, embossing, die cutting with a die board,
// corrugated lamination, gluing or bag making), and a lining paper
// (对裱里纸) mounted to it, which carries the mounting charge. Both use the
// box's Kai and paper series.
//
// Arguments: the number of boxes or bags, the Kai of the unfolded box and the
// half-sheet area of its paper series.
//
// Refused before anything is costed (the result is left all zero): a
// quantity of 0 or not finite (a negative one is priced); and, when a part is ticked, a Kai or
// press-sheet Kai that is not positive, no paper chosen, or a text that is not
// a number among the values used.
CostOutcome CostBoxBag(const PriceSource& prices, const JobForm& form, CostResult& result,
                       float quantity, float kai, float halfSheetArea);

}  // namespace inkquot
