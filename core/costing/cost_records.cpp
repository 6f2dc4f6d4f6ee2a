#include "core/costing/cost_records.h"

#include <cmath>

#include "core/costing/stored_float.h"

namespace inkquot {

#define INKQUOT_FIELD(Record, name) \
    FloatField<Record> {            \
#name, &Record::name        \
    }

const std::array<FloatField<PartSpec>, 35> kPartSpecFields = {
    INKQUOT_FIELD(PartSpec, quantity),
    INKQUOT_FIELD(PartSpec, halfSheetArea),
    INKQUOT_FIELD(PartSpec, kai),
    INKQUOT_FIELD(PartSpec, sheetKai),
    INKQUOT_FIELD(PartSpec, gsm),
    INKQUOT_FIELD(PartSpec, paperIndex),
    INKQUOT_FIELD(PartSpec, coloursFront),
    INKQUOT_FIELD(PartSpec, coloursBack),
    INKQUOT_FIELD(PartSpec, spotColours),
    INKQUOT_FIELD(PartSpec, printFlag),
    INKQUOT_FIELD(PartSpec, stickerPaper),
    INKQUOT_FIELD(PartSpec, workAndTurn),
    INKQUOT_FIELD(PartSpec, press),
    INKQUOT_FIELD(PartSpec, filmFlag),
    INKQUOT_FIELD(PartSpec, filmMode),
    INKQUOT_FIELD(PartSpec, impositionFlag),
    INKQUOT_FIELD(PartSpec, surfaceFlag),
    INKQUOT_FIELD(PartSpec, surfaceSides),
    INKQUOT_FIELD(PartSpec, surfaceType),
    INKQUOT_FIELD(PartSpec, foilFlag),
    INKQUOT_FIELD(PartSpec, foilPasses),
    INKQUOT_FIELD(PartSpec, foilArea),
    INKQUOT_FIELD(PartSpec, embossFlag),
    INKQUOT_FIELD(PartSpec, mountFlag),
    INKQUOT_FIELD(PartSpec, dieCutFlag),
    INKQUOT_FIELD(PartSpec, dieBoardFlag),
    INKQUOT_FIELD(PartSpec, corrugatedFlag),
    INKQUOT_FIELD(PartSpec, corrugatedLayers),
    INKQUOT_FIELD(PartSpec, glueFlag),
    INKQUOT_FIELD(PartSpec, glueMode),
    INKQUOT_FIELD(PartSpec, foldFlag),
    INKQUOT_FIELD(PartSpec, folds),
    INKQUOT_FIELD(PartSpec, printDifficulty),
    INKQUOT_FIELD(PartSpec, dieCutDifficulty),
    INKQUOT_FIELD(PartSpec, dieBoardDifficulty),
};

const std::array<FloatField<PartCost>, 13> kPartCostFields = {
    INKQUOT_FIELD(PartCost, FilmCost),       INKQUOT_FIELD(PartCost, ImpositionCost),
    INKQUOT_FIELD(PartCost, PrintCost),      INKQUOT_FIELD(PartCost, PaperCost),
    INKQUOT_FIELD(PartCost, SurfaceCost),    INKQUOT_FIELD(PartCost, FoilCost),
    INKQUOT_FIELD(PartCost, EmbossCost),     INKQUOT_FIELD(PartCost, MountCost),
    INKQUOT_FIELD(PartCost, DieBoardCost),   INKQUOT_FIELD(PartCost, DieCutCost),
    INKQUOT_FIELD(PartCost, CorrugatedCost), INKQUOT_FIELD(PartCost, GlueCost),
    INKQUOT_FIELD(PartCost, FoldCost),
};

const std::array<FloatField<CostResult>, 16> kCostResultFields = {
    INKQUOT_FIELD(CostResult, UnitPrice),      INKQUOT_FIELD(CostResult, TotalPrice),
    INKQUOT_FIELD(CostResult, FilmCost),       INKQUOT_FIELD(CostResult, ImpositionCost),
    INKQUOT_FIELD(CostResult, PrintCost),      INKQUOT_FIELD(CostResult, PaperCost),
    INKQUOT_FIELD(CostResult, SurfaceCost),    INKQUOT_FIELD(CostResult, FoilCost),
    INKQUOT_FIELD(CostResult, EmbossCost),     INKQUOT_FIELD(CostResult, MountCost),
    INKQUOT_FIELD(CostResult, DieBoardCost),   INKQUOT_FIELD(CostResult, DieCutCost),
    INKQUOT_FIELD(CostResult, CorrugatedCost), INKQUOT_FIELD(CostResult, GlueCost),
    INKQUOT_FIELD(CostResult, BindingCost),    INKQUOT_FIELD(CostResult, FoldCost),
};

#undef INKQUOT_FIELD

void ClearCostResult(CostResult& result) {
    result = CostResult{};
}

void ClearPartCost(PartCost& cost) {
    cost = PartCost{};
}

namespace {

void addInto(float& sum, float item) {
    sum = storedFloat(static_cast<double>(sum) + static_cast<double>(item));
}

}  // namespace

void AddPartCost(const PartCost& cost, CostResult& result) {
    addInto(result.FilmCost, cost.FilmCost);
    addInto(result.ImpositionCost, cost.ImpositionCost);
    addInto(result.PrintCost, cost.PrintCost);
    addInto(result.PaperCost, cost.PaperCost);
    addInto(result.SurfaceCost, cost.SurfaceCost);
    addInto(result.FoilCost, cost.FoilCost);
    addInto(result.EmbossCost, cost.EmbossCost);
    addInto(result.MountCost, cost.MountCost);
    addInto(result.DieBoardCost, cost.DieBoardCost);
    addInto(result.DieCutCost, cost.DieCutCost);
    addInto(result.CorrugatedCost, cost.CorrugatedCost);
    addInto(result.GlueCost, cost.GlueCost);
    addInto(result.FoldCost, cost.FoldCost);
}

void FinishCostResult(CostResult& result, float quantity) {
    const CostResult& r = result;
    double total = r.FilmCost;
    for (float item : {r.ImpositionCost, r.PrintCost, r.PaperCost, r.SurfaceCost, r.FoilCost,
                       r.EmbossCost, r.MountCost, r.DieBoardCost, r.DieCutCost, r.CorrugatedCost,
                       r.GlueCost, r.BindingCost, r.FoldCost}) {
        total += item;
    }
    result.TotalPrice = storedFloat(total);
    result.UnitPrice = 0;
    if (quantity != 0) {
        const float unit =
            storedFloat(static_cast<double>(result.TotalPrice) / static_cast<double>(quantity));
        if (std::isfinite(unit)) {
            result.UnitPrice = unit;
        }
    }
}

}  // namespace inkquot
