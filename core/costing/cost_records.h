#pragma once

#include <array>

namespace inkquot {

// The description of one printed part (a leaflet, the cover or the inner
// pages of a book, the face paper of a box ...) as the costing procedures
// hand it to CostPart. Every value is a 32-bit float, flags included: a flag
// is on only when it is exactly 1.
struct PartSpec {
    float quantity = 0;       // pieces of this part to produce
    float halfSheetArea = 0;  // m² of one 对开 sheet: 0.53 大度, 0.43 正度
    float kai = 0;            // Kai of the finished piece (pieces per full sheet)
    float sheetKai = 0;       // Kai of the press sheet: 1 full, 2 对开, 4 四开 ...
    float gsm = 0;            // paper weight, g/m²
    float paperIndex = 0;     // 1-based into zhi (1..50) or, sticker paper, zhibu (1..10)
    float coloursFront = 0;
    float coloursBack = 0;
    float spotColours = 0;   // 专色或实地色
    float printFlag = 0;     // 1: printing and paper are charged
    float stickerPaper = 0;  // 1: sticker paper, priced per 对开 sheet
    float workAndTurn = 0;   // 1: 自翻版 / 跟斗翻 allowed
    // 1 对开平印机, 2 四开平印机, 3 八开平印机, 4 对开轮转机: costingPress() of
    // the press kind.
    float press = 0;
    float filmFlag = 0;
    float filmMode = 0;  // 1 单出菲林, 2 出菲林/打样, 3 设计制作/出菲林/打样
    float impositionFlag = 0;
    float surfaceFlag = 0;
    float surfaceSides = 0;  // 1 单面, 2 双面
    float surfaceType = 0;   // 1 过光胶, 2 过哑胶, 3 过油磨光, 4 过UV
    float foilFlag = 0;
    float foilPasses = 0;  // 2: the stamping work is charged twice
    float foilArea = 0;    // stamped area per piece, cm²
    float embossFlag = 0;
    float mountFlag = 0;
    float dieCutFlag = 0;
    float dieBoardFlag = 0;
    float corrugatedFlag = 0;
    float corrugatedLayers = 0;  // 1 三层, 2 五层, 3 七层
    float glueFlag = 0;
    float glueMode = 0;  // 1 单边, 2 双边, 3 做手提袋
    float foldFlag = 0;
    float folds = 0;  // 折次
    float printDifficulty = 0;
    float dieCutDifficulty = 0;
    float dieBoardDifficulty = 0;
};

// The thirteen cost items of one part, in yuan.
struct PartCost {
    float FilmCost = 0;
    float ImpositionCost = 0;
    float PrintCost = 0;
    float PaperCost = 0;
    float SurfaceCost = 0;
    float FoilCost = 0;
    float EmbossCost = 0;
    float MountCost = 0;
    float DieBoardCost = 0;
    float DieCutCost = 0;
    float CorrugatedCost = 0;
    float GlueCost = 0;
    float FoldCost = 0;
};

// The result of a whole job: the sums of its parts' items, the binding, the
// total and the unit price. One value per job; the procedures fill it and the
// pricing run, the quotation and the price tables read it afterwards.
struct CostResult {
    float UnitPrice = 0;
    float TotalPrice = 0;
    float FilmCost = 0;
    float ImpositionCost = 0;
    float PrintCost = 0;
    float PaperCost = 0;
    float SurfaceCost = 0;
    float FoilCost = 0;
    float EmbossCost = 0;
    float MountCost = 0;
    float DieBoardCost = 0;
    float DieCutCost = 0;
    float CorrugatedCost = 0;
    float GlueCost = 0;
    float BindingCost = 0;
    float FoldCost = 0;
};

// The fields by name, in their order, for readers and writers that go by
// name (the command line tool, tests).
template <typename Record>
struct FloatField {
    const char* name;
    float Record::*member;
};

extern const std::array<FloatField<PartSpec>, 35> kPartSpecFields;
extern const std::array<FloatField<PartCost>, 13> kPartCostFields;
extern const std::array<FloatField<CostResult>, 16> kCostResultFields;

void ClearCostResult(CostResult& result);
void ClearPartCost(PartCost& cost);

// Adds each of the thirteen part items into the item of the same name;
// BindingCost, UnitPrice and TotalPrice are left alone.
void AddPartCost(const PartCost& cost, CostResult& result);

// The last step of every costing procedure: TotalPrice is the sum of the
// fourteen items, added one by one in the order film, imposition, printing,
// paper, surface, foil, embossing, mounting, die board, die cutting,
// corrugated, gluing, binding, folding; UnitPrice = TotalPrice / quantity.
// A quantity of 0 (the pricing run refuses it before costing) or a unit
// price beyond the float range leaves UnitPrice at 0 rather than an infinity
// or NaN; a negative quantity gives a negative unit price.
void FinishCostResult(CostResult& result, float quantity);

}  // namespace inkquot
