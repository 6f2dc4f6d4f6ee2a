#include "core/costing/cost_box_bag.h"

namespace inkquot {

namespace {

constexpr int kFace = 8;
constexpr int kLining = 9;

PartSpec boxPart(JobReader& reader, int part, int colours, int difficulty, float quantity,
                 float kai, float area) {
    PartSpec spec = readPiece(reader, part, quantity, kai, area);
    readPaperAndColours(reader, PrintingControls{part, colours, colours + 1, difficulty}, spec);
    checkPrintedPart(reader, part, spec);
    spec.printFlag = 1;
    spec.filmFlag = reader.checked(Ctl::Chkhe, 0);
    spec.filmMode = reader.position(Ctl::Cmbfeilin, 3);
    spec.impositionFlag = reader.checked(Ctl::Chkhe, 1);
    return spec;
}

// Option groups: the first option is 1, the second 2, anything else 3.
float optionCode(int chosen) {
    if (chosen == 0) {
        return 1;
    }
    return chosen == 1 ? 2.0f : 3.0f;
}

}  // namespace

CostOutcome CostBoxBag(const PriceSource& prices, const JobForm& form, CostResult& result,
                       float quantity, float kai, float halfSheetArea) {
    JobCosting job(prices, result);
    JobReader reader(form, quantity);
    const bool face = reader.ticked(Ctl::lsthe, 0) == 1;
    const bool lining = reader.ticked(Ctl::lsthe, 1) == 1;
    if (face || lining) {
        checkSize(reader, kai, halfSheetArea, "纸盒规格");
    }
    PartSpec faceSpec;
    if (face) {
        faceSpec = boxPart(reader, kFace, 16, 12, quantity, kai, halfSheetArea);
        faceSpec.surfaceFlag = reader.checked(Ctl::Chkhe, 2);
        faceSpec.surfaceSides = reader.position(Ctl::comjiao, 4);
        faceSpec.surfaceType = reader.position(Ctl::comjiao, 5);
        faceSpec.foilFlag = reader.checked(Ctl::Chkhe, 4);
        faceSpec.foilPasses = 1;
        faceSpec.foilArea =
            reader.numberIf(faceSpec.foilFlag == 1, Ctl::txttang, 1, "烫电化铝的面积");
        faceSpec.embossFlag = reader.checked(Ctl::Chkhe, 3);
        faceSpec.dieCutFlag = reader.checked(Ctl::Chkhe, 5);
        faceSpec.dieBoardFlag = reader.checked(Ctl::Chkban, 2);
        readDieCutDifficulty(reader, 14, faceSpec);
        faceSpec.corrugatedFlag = reader.checked(Ctl::Chkhe, 6);
        faceSpec.corrugatedLayers = optionCode(reader.option(Ctl::optwa));
        faceSpec.glueFlag = reader.checked(Ctl::Chkhe, 7);
        faceSpec.glueMode = optionCode(reader.option(Ctl::optnian));
    }
    PartSpec liningSpec;
    if (lining) {
        liningSpec = boxPart(reader, kLining, 18, 13, quantity, kai, halfSheetArea);
        liningSpec.mountFlag = 1;  // mounting (对裱) is charged on the lining
        liningSpec.dieCutDifficulty = 1;
        liningSpec.dieBoardDifficulty = 1;
    }
    if (reader.failed()) {
        return job.refuse(reader.refusal());
    }
    if (face && !job.addPart(faceSpec, kFace)) {
        return job.outcome();
    }
    if (lining && !job.addPart(liningSpec, kLining)) {
        return job.outcome();
    }
    return job.finish(quantity);
}

}  // namespace inkquot
