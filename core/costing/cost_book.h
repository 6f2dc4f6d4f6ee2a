#pragma once

#include <optional>

#include "core/costing/cost_records.h"
#include "core/costing/job_form.h"
#include "core/costing/job_reading.h"
#include "core/costing/price_source.h"

namespace inkquot {

// How a block of inner pages is laid on press sheets. A unit is four pages
// (one 贴): a press sheet printed on both sides carries pageKai / sheetKai
// leaves, that is u = pageKai / 2 / sheetKai units. The block fills W whole
// press sheets; the r units left over go on smaller fractions of a sheet:
// part A (kaiA pieces per full sheet, printed on sheetKaiA press sheets) and,
// when the remainder is more than half a sheet, part B. A part with kai 0 is
// not printed.
struct InnerLayout {
    float unitsPerSheet = 0;  // u
    float wholeSheets = 0;    // W
    float remainder = 0;      // r, a whole number of units
    float kaiA = 0;
    float sheetKaiA = 0;
    float kaiB = 0;
    float sheetKaiB = 0;
};

// The layout of `pages` pages of page Kai `pageKai` on press sheets of Kai
// `sheetKai`. The remainder takes the smallest fraction of a sheet that holds
// it: 1 unit of a 4-unit sheet goes 4-up, 2 units 2-up, 3 units on half a
// sheet plus a quarter; on other sheets the remainder is enlarged to the next
// number of units that divides the half sheet evenly, and a remainder of
// more than half a sheet takes half a sheet plus such a block.
//
// When no such block exists among the next u sizes (possible only for page
// Kai values that are not powers of two, e.g. 46), the part stays at kai 0
// and is not printed. Each block starts from 0, so the second inner block
// never inherits a layout of the first one, whose press sheet may differ.
//
// Returns nothing when u rounds to 0 units (u ≤ 0.5, a page larger than
// half the press sheet): such a block cannot be laid out. The caller keeps
// the inputs within range: pages ≥ 0, sheetKai > 0, u ≤ kMaxUnitsPerSheet.
std::optional<InnerLayout> layoutInnerBlock(float pages, float sheetKai, float pageKai);

// Units per press sheet beyond this are no real book: the remainder search
// runs over u sizes.
inline constexpr double kMaxUnitsPerSheet = 100000;

// Prices a book or brochure (job kind 书刊\画册). Its blocks are ticked in
// Lsthua: 封面, 内页一, 内页二, 插页一, 插页二. The cover and the inserts are
// one part each; the inner blocks are costed press sheet by press sheet, so
// minimum runs, plates and film are charged per sheet; binding is charged on
// the pages of the cover and the inner blocks. Without a cover of its own,
// the cover finishing (surface, foil, die cutting) is charged on a four-page
// cover of the inner pages' size.
//
// The arguments come from the pricing run: quantity, the book's page Kai and
// half-sheet area, the unfolded cover's Kai and area, and the pages of 内页一.
// Everything else is read from `form`.
//
// Refused before anything is costed (the result is left all zero):
// - a quantity of 0 or not finite (a negative one is priced);
// - for a ticked block whose size is needed: a Kai that is not positive, a
//   press-sheet Kai (开纸大小) that is not positive, no paper chosen, an
//   insert without a paper series;
// - an inner block whose page Kai puts less than one unit (four pages) on a
//   press sheet, i.e. u ≤ 0.5 (for example a 2开 book on 对开 press sheets):
//   the message asks for a larger press sheet or a smaller page;
// - a negative page count in a ticked inner block, or so many pages that the
//   block would need more than kMaxSheetCostings press sheets;
// - a control of a costed part whose text is not a number.
// A job whose sums overflow the float range is refused after costing.
CostOutcome CostBook(const PriceSource& prices, const JobForm& form, CostResult& result,
                     float quantity, float innerKai, float innerHalfSheetArea, float coverKai,
                     float coverHalfSheetArea, float innerPages);

}  // namespace inkquot
