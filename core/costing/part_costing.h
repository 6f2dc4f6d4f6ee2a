#pragma once

#include "core/common/program_folder.h"
#include "core/costing/cost_records.h"
#include "core/costing/price_book.h"

namespace inkquot {

// What became of a part costing. Only Costed and NotPrintable are ordinary
// outcomes; every other status is a part the costing refuses. In all cases
// but Costed every item is 0, so a refused part can never put an infinity or
// NaN into a job's total.
enum class PartStatus {
    Costed,
    // The piece cannot be made on this press sheet: kai is 0, the piece is
    // larger than the press sheet (kai < sheetKai), or the press is too small
    // for the piece (八开平印机 below kai 8, 四开平印机 below kai 4). This is
    // a normal answer of the cost rules: the part simply costs nothing.
    NotPrintable,
    // Refused inputs, checked in this order before anything is computed:
    NonFiniteInput,  // one of the 35 values is an infinity or NaN
    BadQuantity,     // quantity is 0
    BadSheetKai,     // sheetKai is 0 or negative (pieces per press sheet undefined)
    // paperIndex, rounded to the nearest whole number (halves to even), is
    // outside 1..50 (1..10 for sticker paper). Checked only when the part is
    // printed, because only then is a paper bought.
    BadPaperIndex,
    // The inputs are valid but so large that an item exceeds the float range.
    ResultOutOfRange,
    // CostPart only: a working price file exists but cannot be read.
    PriceFilesUnreadable,
};

// The sheets and plates behind a part's cost, as the cost rules formed them
// for the money: what the press room needs to run the part. All zero for a
// part that was not costed.
struct PartFigures {
    float piecesPerSheet = 0;  // n = kai / sheetKai, pieces on one press sheet
    // CU, the colour runs (plate sets) of the process colours; the spot
    // colours run on plates of their own.
    float colourRuns = 0;
    // S, passes through the press: a full press sheet goes through as two
    // 对开 sheets, and a work-and-turn sheet passes twice. The rotary's
    // minimum run is a charge only and not counted here.
    float pressSheets = 0;
    // With printing only (the paper is bought): P, the net paper sheets on
    // the press sheet, and the full sheets bought with the overrun (a per
    // mille allowance and make-ready sheets for every colour run), which the
    // paper cost is priced on. Sticker paper counts its overrun in press
    // sheets; it is given here in full sheets too.
    float netSheets = 0;
    double fullSheets = 0;
};

struct PartOutcome {
    PartStatus status = PartStatus::Costed;
    PartCost cost;
    PartFigures figures;
};

// The cost rules of one printed part over an already loaded price book: the
// thirteen items of film, imposition, printing, paper and finishing.
PartOutcome costPartWithBook(const PriceBook& book, const PartSpec& spec);

// Reloads `book` from the program folder's working files (LoadPriceBook),
// clears `cost` and fills it with the items of `spec`. The reloaded book is
// left in `book` for CostBinding, which a book job calls after its parts.
PartStatus CostPart(const ProgramFolder& folder, const PartSpec& spec, PartCost& cost,
                    PriceBook& book);

}  // namespace inkquot
