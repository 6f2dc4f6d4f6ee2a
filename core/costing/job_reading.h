#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/common/program_folder.h"
#include "core/costing/cost_records.h"
#include "core/costing/job_figures.h"
#include "core/costing/job_form.h"
#include "core/costing/part_costing.h"
#include "core/costing/price_book.h"
#include "core/costing/price_source.h"

namespace inkquot {

// What a costing procedure did with a job. A refused job carries a message
// in Chinese that says what to change; its CostResult is left all zero, so a
// refused job can never be shown as a price. A costed job carries the
// sheets and plates behind its money.
struct CostOutcome {
    std::string refusal;
    JobFigures figures;

    bool ok() const { return refusal.empty(); }
    static CostOutcome costed() { return {}; }
    static CostOutcome refused(std::string message) {
        CostOutcome outcome;
        outcome.refusal = std::move(message);
        return outcome;
    }
};

// The printed parts of the job entry screen by part index: 0 cover, 1 and 2
// inner pages, 3 and 4 inserts, 5 and 6 newspaper pages, 7 single sheet,
// 8 face paper, 9 lining paper, 10 sticker. Used to name a part in messages.
std::string_view partName(int part);

// The shortest decimal text of a value, for messages ("16", "0.5").
std::string numberText(float value);

// The most press-sheet costings one block of pages may need. A book block of
// 160 000 pages at 16开 needs 10 000; anything above is a typing slip, and
// costing it sheet by sheet (four files read per sheet) would leave the
// program unresponsive.
inline constexpr double kMaxSheetCostings = 10000;

// Reads the job the way the costing procedures see it: texts as 32-bit float
// numbers, list positions counted from 1 (0 for no selection), check states
// and ticks as 1 or 0.
//
// The screen refuses texts that are not numbers before a pricing run, but a
// form filled by other means may still hold one. Such a text reads as 0 and
// the first one read is kept as a refusal that names the control, so a job
// never prices a value nobody entered.
class JobReader {
public:
    // The reader of a job of `quantity` copies. A quantity of 0 (the unit
    // price would divide by it) or one that is not a finite number is the
    // first refusal.
    JobReader(const JobForm& form, float quantity);

    // `what` names the value for the refusal, e.g. "内页一的印色".
    float number(Ctl control, int index, std::string_view what);
    // The same with the text's name in two pieces (a part's name and what of
    // it), joined only for a refusal.
    float number(Ctl control, int index, std::string_view part, std::string_view what);
    // The same for a value that only matters when `needed`; otherwise a text
    // that is not a number reads as 0 without a refusal.
    float numberIf(bool needed, Ctl control, int index, std::string_view what);
    float position(Ctl control, int index = 0) const;
    // The press of a part as the cost rules number it (PartSpec::press).
    float press(int part) const;
    float checked(Ctl control, int index) const;
    float ticked(Ctl list, int item) const;
    int option(Ctl group) const;

    bool failed() const { return !refusal_.empty(); }
    const std::string& refusal() const { return refusal_; }

    // Keeps `message` as the refusal unless an earlier one is kept already.
    void refuse(std::string message);

private:
    const JobForm& form_;
    std::string refusal_;
};

// The printing controls of one part: where its colours and difficulty live
// (the part index j addresses the other arrays directly).
struct PrintingControls {
    int part;
    int coloursFront;  // index into Ncomyinse
    int coloursBack;   // index into Ncomyinse, -1 when the part prints one side
    int difficulty;    // index into Comnd
};

// Fills weight, paper, colours, spot colours and printing difficulty of
// `spec` from the part's controls. The sticker has no weight list and reads
// its paper from Nzhibu.
void readPaperAndColours(JobReader& reader, const PrintingControls& controls, PartSpec& spec);

// The start of a printed part: `quantity` pieces of Kai `kai` on paper whose
// 对开 sheet is `halfSheetArea` m², with the press-sheet Kai, the press and
// the work-and-turn permission read from the part's controls.
PartSpec readPiece(JobReader& reader, int part, float quantity, float kai, float halfSheetArea);

// The difficulty of die cutting and of its die board, from Comnd `first` and
// the one after it; their texts matter only when the part is die cut.
void readDieCutDifficulty(JobReader& reader, int first, PartSpec& spec);

// Refuses a part that cannot be costed: a press-sheet Kai that is not
// positive, no paper chosen, or a paper position beyond the price table.
// Only parts that will actually be costed are checked.
void checkPrintedPart(JobReader& reader, int part, const PartSpec& spec);

// Refuses a finished-piece Kai that is not a positive number; `what` names
// the size, e.g. "整书规格".
void checkKai(JobReader& reader, float kai, std::string_view what);

// Refuses the size of a piece: a Kai as checkKai does, then a half-sheet
// area that is not a finite number; `what` names the size, e.g. "报纸规格".
void checkSize(JobReader& reader, float kai, float area, std::string_view what);

// The area of one 对开 sheet of a paper series list at list index `index`
// (from 0): 0.53 m² for 大度, 0.43 m² for 正度. Other indexes (no selection)
// are refused through `reader` and give 0.
float halfSheetAreaOf(JobReader& reader, int index, std::string_view what);

// One job's costing: clears the part scratch and the result, then costs
// parts one at a time (CostPart, then AddPartCost) and finishes the totals.
// The first refused part stops the job: the result is cleared again and the
// refusal kept.
class JobCosting {
public:
    JobCosting(const PriceSource& prices, CostResult& result);

    // Costs one part and adds it in; false when the part was refused.
    bool addPart(const PartSpec& spec, int part);

    // Charges the binding of a book (CostBinding) from the book the last
    // part costing loaded; false when the cost is out of range.
    bool bind(float copies, float kai, float pages, float bindingForm);

    // Stops the job with `refusal`, leaving the result all zero.
    CostOutcome refuse(std::string refusal);

    // Forms TotalPrice and UnitPrice. A total that is not finite (inputs so
    // large that a sum overflows) refuses the job.
    CostOutcome finish(float quantity);

    bool failed() const { return !refusal_.empty(); }
    // The refusal, or the figures of a costed job.
    CostOutcome outcome() const;

private:
    const PriceSource& prices_;
    CostResult& result_;
    PriceBook book_;
    JobFigures figures_;
    std::string refusal_;
};

// The one printed part of a single sheet or a sticker job: the check box
// (item 0 of `section`) that puts it in the job, its part index and the name
// of its size in refusals.
struct OnePart {
    Ctl section;
    int part;
    std::string_view size;
};

// The costing of a job of at most one printed part. When the part is in the
// job its size is checked and its piece read (readPiece), then `readRest`
// reads the rest of its spec; a job with a refused text is stopped before
// anything is costed, and a job without its part costs nothing.
CostOutcome costOnePart(const PriceSource& prices, const JobForm& form, CostResult& result,
                        float quantity, float kai, float halfSheetArea, const OnePart& one,
                        const std::function<void(JobReader&, PartSpec&)>& readRest);

}  // namespace inkquot
