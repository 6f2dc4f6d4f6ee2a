#include "core/costing/cost_sticker.h"

namespace inkquot {

CostOutcome CostSticker(const ProgramFolder& folder, const JobForm& form, CostResult& result,
                        float quantity, float halfSheetArea, float kai) {
    constexpr int kPart = 10;
    JobCosting job(folder, result);
    JobReader reader(form);
    checkQuantity(reader, quantity);
    const bool printed = reader.checked(Ctl::Chkbu, 0) == 1;
    PartSpec spec;
    if (printed) {
        checkKai(reader, kai, "不干胶规格");
        checkArea(reader, halfSheetArea, "不干胶规格");
        spec.quantity = quantity;
        spec.halfSheetArea = halfSheetArea;
        spec.kai = kai;
        readPress(reader, kPart, spec);
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
        const bool dieCut = spec.dieCutFlag == 1;
        spec.dieCutDifficulty = reader.numberIf(dieCut, Ctl::Comnd, 17, "模切的难度系数");
        spec.dieBoardDifficulty = reader.numberIf(dieCut, Ctl::Comnd, 18, "模板的难度系数");
    }
    if (reader.failed()) {
        return job.refuse(reader.refusal());
    }
    if (printed && !job.addPart(spec, kPart)) {
        return job.outcome();
    }
    return job.finish(quantity);
}

}  // namespace inkquot
