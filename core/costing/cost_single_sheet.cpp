#include "core/costing/cost_single_sheet.h"

namespace inkquot {

CostOutcome CostSingleSheet(const PriceSource& prices, const JobForm& form, CostResult& result,
                            float quantity, float kai, float halfSheetArea) {
    constexpr int kPart = 7;
    const auto readLeaflet = [&](JobReader& reader, PartSpec& spec) {
        readPaperAndColours(reader, PrintingControls{kPart, 14, 15, 9}, spec);
        checkPrintedPart(reader, kPart, spec);
        spec.printFlag = 1;
        spec.filmFlag = reader.checked(Ctl::Chkdan, 1);
        spec.filmMode = reader.position(Ctl::Cmbfeilin, 2);
        spec.impositionFlag = reader.checked(Ctl::Chkdan, 2);
        spec.surfaceFlag = reader.checked(Ctl::Chkdan, 3);
        spec.surfaceSides = reader.position(Ctl::comjiao, 2);
        spec.surfaceType = reader.position(Ctl::comjiao, 3);
        spec.dieCutFlag = reader.checked(Ctl::Chkdan, 4);
        spec.dieBoardFlag = reader.checked(Ctl::Chkban, 1);
        spec.foldFlag = reader.checked(Ctl::Chkdan, 5);
        spec.folds = reader.numberIf(spec.foldFlag == 1, Ctl::Cmbzheci, 0, "折页的折次");
        readDieCutDifficulty(reader, 10, spec);
    };
    return costOnePart(prices, form, result, quantity, kai, halfSheetArea,
                       OnePart{Ctl::Chkdan, kPart, "单张规格"}, readLeaflet);
}

}  // namespace inkquot
