#include "core/costing/cost_sticker.h"

namespace inkquot {

CostOutcome CostSticker(const PriceSource& prices, const JobForm& form, CostResult& result,
                        float quantity, float halfSheetArea, float kai) {
    constexpr int kPart = 10;
    const auto readLabels = [&](JobReader& reader, PartSpec& spec) {
        spec.workAndTurn = 0;
        readPaperAndColours(reader, PrintingControls{kPart, 20, -1, 16}, spec);
        spec.printFlag = 1;
        spec.stickerPaper = 1;
        checkPrintedPart(reader, kPart, spec);
        spec.filmFlag = reader.checked(Ctl::Chkbu, 1);
        spec.filmMode = reader.position(Ctl::Cmbfeilin, 4);
        spec.impositionFlag = reader.checked(Ctl::Chkbu, 2);
        spec.surfaceFlag = reader.checked(Ctl::Chkbu, 3);
        spec.surfaceSides = 1;  // labels are finished on the printed side only
        spec.surfaceType = reader.position(Ctl::comjiao, 6);
        spec.dieCutFlag = reader.checked(Ctl::Chkbu, 4);
        spec.dieBoardFlag = reader.checked(Ctl::Chkban, 3);
        readDieCutDifficulty(reader, 17, spec);
    };
    return costOnePart(prices, form, result, quantity, kai, halfSheetArea,
                       OnePart{Ctl::Chkbu, kPart, "不干胶规格"}, readLabels);
}

}  // namespace inkquot
