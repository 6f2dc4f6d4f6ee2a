#include "core/costing/cost_single_sheet.h"

namespace inkquot {

CostOutcome CostSingleSheet(const ProgramFolder& folder, const JobForm& form, CostResult& result,
                            float quantity, float kai, float halfSheetArea) {
    constexpr int kPart = 7;
    const auto readLeaflet = [&](JobReader& reader, PartSpec& spec) {
        if (reader.checked(Ctl::Chkdan, 0) != 1) {
            return false;
        }
        checkKai(reader, kai, "单张规格");
        checkArea(reader, halfSheetArea, "单张规格");
        spec = readPiece(reader, kPart, quantity, kai, halfSheetArea);
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
        return true;
    };
    return costOnePart(folder, form, result, quantity, kPart, readLeaflet);
}

}  // namespace inkquot
