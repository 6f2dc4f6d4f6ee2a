#include "core/costing/part_costing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "core/costing/press_kind.h"
#include "tests/core/costing/default_book.h"
#include "tests/core/costing/sample_parts.h"

namespace inkquot {
namespace {

using testing::defaultPriceBook;

// The leaflet of the single-sheet example: 1000 copies of 16开 on 大度 paper,
// four per 四开 press sheet, 157 g/m² 铜版纸, 4 + 0 colours on 对开平印机.
PartSpec leaflet() {
    PartSpec s = testing::leafletPart(1000);
    s.surfaceSides = 1;
    s.surfaceType = 1;
    s.corrugatedLayers = 1;
    s.glueMode = 1;
    return s;
}

// The same piece with printing off, for the finishing processes alone.
PartSpec finishingOnly() {
    PartSpec s = leaflet();
    s.printFlag = 0;
    return s;
}

// Paper cost from the full sheets F bought: F × gsm × area × price per ton.
float paperCost(double fullSheets, double gsm, float area, float pricePerTon) {
    return static_cast<float>(fullSheets * gsm * area * pricePerTon / 500000.0);
}

void expectItems(const PartCost& actual, const PartCost& expected) {
    for (const auto& field : kPartCostFields) {
        EXPECT_FLOAT_EQ(actual.*field.member, expected.*field.member) << field.name;
    }
}

struct PartCase {
    const char* name;
    PartSpec spec;
    PartCost expected;
};

template <typename Edit>
PartSpec edited(PartSpec spec, Edit edit) {
    edit(spec);
    return spec;
}

class PartRules : public ::testing::TestWithParam<PartCase> {};

TEST_P(PartRules, ItemsMatchTheRules) {
    const PartCase& c = GetParam();
    const PartOutcome outcome = costPartWithBook(defaultPriceBook(), c.spec);
    EXPECT_EQ(outcome.status, PartStatus::Costed);
    expectItems(outcome.cost, c.expected);
}

const float kZhi1 = 9200;  // 铜版纸 8000 + 15 %

INSTANTIATE_TEST_SUITE_P(
    Printing, PartRules,
    ::testing::Values(
        // n = 4, CU = 4, S = 250: short-run item 2, one set of four plates.
        PartCase{"example",
                 leaflet(),
                 {.PrintCost = 800, .PaperCost = paperCost(84.5, 157, 0.53f, kZhi1)}},
        // 4 + 4 without work-and-turn: CU = 8, S = 500.
        PartCase{"twoSides",
                 edited(leaflet(),
                        [](PartSpec& s) {
                            s.quantity = 2000;
                            s.coloursBack = 4;
                        }),
                 {.PrintCost = 1600, .PaperCost = paperCost(173, 157, 0.53f, kZhi1)}},
        // Work-and-turn with n = 4 (even): one plate set, CU = 4, S = 1000.
        PartCase{"workAndTurnEven",
                 edited(leaflet(),
                        [](PartSpec& s) {
                            s.quantity = 2000;
                            s.coloursBack = 4;
                            s.workAndTurn = 1;
                        }),
                 {.PrintCost = 800, .PaperCost = paperCost(149, 157, 0.53f, kZhi1)}},
        // n = 2.5 rounds half to even, to 2: work-and-turn applies.
        PartCase{"workAndTurnHalfRoundsToEven",
                 edited(leaflet(),
                        [](PartSpec& s) {
                            s.kai = 5;
                            s.sheetKai = 2;
                            s.coloursBack = 4;
                            s.workAndTurn = 1;
                        }),
                 {.PrintCost = 800, .PaperCost = paperCost(246.4, 157, 0.53f, kZhi1)}},
        // n = 3 is odd: both sides get plates.
        PartCase{"workAndTurnOdd",
                 edited(leaflet(),
                        [](PartSpec& s) {
                            s.kai = 6;
                            s.sheetKai = 2;
                            s.coloursBack = 4;
                            s.workAndTurn = 1;
                        }),
                 {.PrintCost = 1600,
                  .PaperCost = paperCost(1000.0 / 6 * 1.064 + 80, 157, 0.53f, kZhi1)}},
        // S = 4000: middle-run item 3.
        PartCase{"middleRun",
                 edited(leaflet(), [](PartSpec& s) { s.quantity = 16000; }),
                 {.PrintCost = 1000, .PaperCost = paperCost(1052, 157, 0.53f, kZhi1)}},
        // S = 10000: per thousand sheets per colour plus plates.
        PartCase{"longRun",
                 edited(leaflet(), [](PartSpec& s) { s.quantity = 40000; }),
                 {.PrintCost = 2000, .PaperCost = paperCost(2600, 157, 0.53f, kZhi1)}},
        PartCase{"longRunSpot",
                 edited(leaflet(),
                        [](PartSpec& s) {
                            s.quantity = 40000;
                            s.spotColours = 1;
                        }),
                 {.PrintCost = 2700, .PaperCost = paperCost(2625, 157, 0.53f, kZhi1)}},
        // A spot colour on a short run is charged for the 3000-sheet minimum.
        PartCase{"spotMinimumRun",
                 edited(leaflet(), [](PartSpec& s) { s.spotColours = 1; }),
                 {.PrintCost = 1080, .PaperCost = paperCost(90, 157, 0.53f, kZhi1)}},
        PartCase{"quarterPressSpot",
                 edited(leaflet(),
                        [](PartSpec& s) {
                            s.press = costingPress(kPressSikaiFlat);
                            s.spotColours = 1;
                        }),
                 {.PrintCost = 576, .PaperCost = paperCost(90, 157, 0.53f, kZhi1)}},
        PartCase{"eighthPressLongRun",
                 edited(leaflet(),
                        [](PartSpec& s) {
                            s.press = costingPress(kPressBakaiFlat);
                            s.sheetKai = 8;
                            s.quantity = 48000;
                        }),
                 {.PrintCost = 1272, .PaperCost = paperCost(3106, 157, 0.53f, kZhi1)}},
        // A full press sheet passes as two 对开 sheets: S = 6000, long run.
        PartCase{"fullPressSheet",
                 edited(leaflet(),
                        [](PartSpec& s) {
                            s.sheetKai = 1;
                            s.quantity = 48000;
                        }),
                 {.PrintCost = 1360, .PaperCost = paperCost(3176, 157, 0.53f, kZhi1)}},
        PartCase{"difficulty",
                 edited(leaflet(), [](PartSpec& s) { s.printDifficulty = 1.25f; }),
                 {.PrintCost = 1000, .PaperCost = paperCost(84.5, 157, 0.53f, kZhi1)}},
        // The rotary runs at least 5000 sheets, both sides in one pass.
        PartCase{"rotary",
                 edited(leaflet(),
                        [](PartSpec& s) {
                            s.press = costingPress(kPressDuikaiRotary);
                            s.sheetKai = 2;
                            s.coloursBack = 4;
                            s.paperIndex = 5;
                            s.gsm = 60;
                            s.halfSheetArea = 0.43f;
                        }),
                 {.PrintCost = 1900, .PaperCost = paperCost(466.5, 60, 0.43f, 5750)}},
        PartCase{"rotarySpot",
                 edited(leaflet(),
                        [](PartSpec& s) {
                            s.press = costingPress(kPressDuikaiRotary);
                            s.sheetKai = 2;
                            s.spotColours = 1;
                        }),
                 {.PrintCost = 1256.25f, .PaperCost = paperCost(315, 157, 0.53f, kZhi1)}},
        // Sticker paper is priced per 对开 sheet: 338 press sheets of 四开.
        PartCase{"stickerPaper",
                 edited(leaflet(), [](PartSpec& s) { s.stickerPaper = 1; }),
                 {.PrintCost = 800,
                  .PaperCost = static_cast<float>(338.0 *
                                                  (double{withManagementFee(1.2f, 15)} * 2 / 4))}},
        // Flags count only when exactly 1.
        PartCase{"printFlagTwo", edited(leaflet(), [](PartSpec& s) { s.printFlag = 2; }), {}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Finishing, PartRules,
    ::testing::Values(
        PartCase{"filmOnly",
                 edited(finishingOnly(), [](PartSpec& s) { s.filmFlag = 1; }),
                 {.FilmCost = 160}},
        PartCase{"filmAndProof",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.filmFlag = 1;
                            s.filmMode = 2;
                        }),
                 {.FilmCost = 200}},
        PartCase{"filmProofDesign",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.filmFlag = 1;
                            s.filmMode = 3;
                        }),
                 {.FilmCost = 300}},
        // Nothing chosen in the film list charges everything, design included.
        PartCase{"filmModeZero",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.filmFlag = 1;
                            s.filmMode = 0;
                        }),
                 {.FilmCost = 300}},
        PartCase{"filmOneColour",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.filmFlag = 1;
                            s.coloursFront = 1;
                        }),
                 {.FilmCost = 32}},
        PartCase{"filmSpotOnHalfSheet",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.filmFlag = 1;
                            s.filmMode = 2;
                            s.sheetKai = 2;
                            s.coloursBack = 4;
                            s.spotColours = 1;
                        }),
                 {.FilmCost = 900}},
        PartCase{"surfaceMinimum",
                 edited(finishingOnly(), [](PartSpec& s) { s.surfaceFlag = 1; }),
                 {.SurfaceCost = 100}},
        PartCase{"surfaceGloss",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.surfaceFlag = 1;
                            s.quantity = 2000;
                        }),
                 {.SurfaceCost = 139.125f}},
        PartCase{"surfaceMattBothSides",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.surfaceFlag = 1;
                            s.surfaceType = 2;
                            s.surfaceSides = 2;
                        }),
                 {.SurfaceCost = 165.625f}},
        PartCase{"surfaceUnknownTypeIsUv",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.surfaceFlag = 1;
                            s.surfaceType = 9;
                            s.quantity = 4000;
                        }),
                 {.SurfaceCost = 278.25f}},
        PartCase{
            "foilWithoutArea", edited(finishingOnly(), [](PartSpec& s) { s.foilFlag = 1; }), {}},
        // The minimum applies to the stamping work before the foil is added.
        PartCase{"foilMinimumThenMaterial",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.foilFlag = 1;
                            s.foilArea = 10;
                        }),
                 {.FoilCost = 120}},
        PartCase{"foilTwoPasses",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.foilFlag = 1;
                            s.foilArea = 10;
                            s.foilPasses = 2;
                            s.quantity = 10000;
                        }),
                 {.FoilCost = 1550}},
        PartCase{"embossAndMount",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.embossFlag = 1;
                            s.mountFlag = 1;
                            s.quantity = 10000;
                        }),
                 {.EmbossCost = 360, .MountCost = 180}},
        PartCase{"embossMinimum",
                 edited(finishingOnly(), [](PartSpec& s) { s.embossFlag = 1; }),
                 {.EmbossCost = 100}},
        PartCase{"dieCutWithBoard",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.dieCutFlag = 1;
                            s.dieBoardFlag = 1;
                            s.quantity = 10000;
                            s.dieCutDifficulty = 1.5f;
                            s.dieBoardDifficulty = 2;
                        }),
                 {.DieBoardCost = 480, .DieCutCost = 540}},
        // A die board is only made as part of die cutting.
        PartCase{"boardWithoutDieCut",
                 edited(finishingOnly(), [](PartSpec& s) { s.dieBoardFlag = 1; }),
                 {}},
        // A full press sheet doubles the per-thousand price but not the board.
        PartCase{"dieCutFullSheet",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.dieCutFlag = 1;
                            s.dieBoardFlag = 1;
                            s.kai = 8;
                            s.sheetKai = 1;
                            s.quantity = 16000;
                        }),
                 {.DieBoardCost = 400, .DieCutCost = 960}},
        PartCase{"dieCutHalfSheetSameCount",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.dieCutFlag = 1;
                            s.dieBoardFlag = 1;
                            s.kai = 16;
                            s.sheetKai = 2;
                            s.quantity = 16000;
                        }),
                 {.DieBoardCost = 400, .DieCutCost = 480}},
        PartCase{"corrugatedThree",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.corrugatedFlag = 1;
                            s.kai = 4;
                        }),
                 {.CorrugatedCost = 530}},
        PartCase{"corrugatedFive",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.corrugatedFlag = 1;
                            s.corrugatedLayers = 2;
                            s.kai = 4;
                        }),
                 {.CorrugatedCost = 795}},
        PartCase{"corrugatedSeven",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.corrugatedFlag = 1;
                            s.corrugatedLayers = 3;
                            s.kai = 4;
                        }),
                 {.CorrugatedCost = 1060}},
        PartCase{"imposition",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.impositionFlag = 1;
                            s.spotColours = 1;
                        }),
                 {.ImpositionCost = 60}},
        PartCase{"foldSixteen",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.foldFlag = 1;
                            s.folds = 2;
                        }),
                 {.FoldCost = 20}},
        PartCase{"foldLargerSheet",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.foldFlag = 1;
                            s.folds = 2;
                            s.kai = 8;
                        }),
                 {.FoldCost = 30}},
        PartCase{"foldSmallerSheet",
                 edited(finishingOnly(),
                        [](PartSpec& s) {
                            s.foldFlag = 1;
                            s.folds = 2;
                            s.kai = 32;
                        }),
                 {.FoldCost = 16}}),
    [](const auto& info) { return std::string(info.param.name); });

// Gluing by the finished Kai: box gluing per side, bags per bag.
struct GlueCase {
    float kai;
    float glueMode;
    float quantity;
    float expected;
};

class Gluing : public ::testing::TestWithParam<GlueCase> {};

TEST_P(Gluing, UsesTheFactorOfTheKai) {
    const GlueCase& c = GetParam();
    PartSpec s = finishingOnly();
    s.glueFlag = 1;
    s.kai = c.kai;
    s.sheetKai = 1;
    s.glueMode = c.glueMode;
    s.quantity = c.quantity;
    const PartOutcome outcome = costPartWithBook(defaultPriceBook(), s);
    EXPECT_FLOAT_EQ(outcome.cost.GlueCost, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    BoxesAndBags, Gluing,
    ::testing::Values(GlueCase{2, 1, 1000, 150}, GlueCase{4, 1, 1000, 75},
                      GlueCase{8, 2, 1000, 150}, GlueCase{16, 1, 1000, 30},
                      GlueCase{33, 1, 10000, 180}, GlueCase{64, 1, 10000, 180},
                      GlueCase{65, 1, 10000, 120}, GlueCase{16, 1, 100, 20},  // minimum
                      GlueCase{1, 3, 1000, 300},  // a full-sheet bag takes Tag4
                      GlueCase{2, 3, 1000, 500}, GlueCase{3, 3, 1000, 450},
                      GlueCase{4, 3, 1000, 400}, GlueCase{6, 3, 1000, 350},
                      GlueCase{8, 3, 1000, 350}, GlueCase{12, 3, 1000, 300}));

// Colour factors on the short-run price: Tag1 for a side of two colours,
// Tag2 for one colour, none from three colours on.
struct ColourCase {
    float front;
    float back;
    float factor;
};

class ColourFactor : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourFactor, PicksTheTagOfTheColours) {
    const ColourCase& c = GetParam();
    PriceBook book = defaultPriceBook();
    book.gong[2].Tag1 = 0.7f;
    book.gong[2].Tag2 = 0.6f;
    PartSpec s = leaflet();
    s.coloursFront = c.front;
    s.coloursBack = c.back;
    const PartOutcome outcome = costPartWithBook(book, s);
    EXPECT_FLOAT_EQ(outcome.cost.PrintCost, (c.front + c.back) / 4 * 800 * c.factor);
}

INSTANTIATE_TEST_SUITE_P(Sides, ColourFactor,
                         ::testing::Values(ColourCase{1, 1, 0.6f}, ColourCase{0, 1, 0.6f},
                                           ColourCase{2, 0, 0.7f}, ColourCase{0, 2, 0.7f},
                                           ColourCase{2, 1, 0.7f}, ColourCase{1, 2, 0.7f},
                                           ColourCase{2, 2, 0.7f}, ColourCase{3, 0, 1},
                                           ColourCase{1, 3, 1}, ColourCase{4, 4, 1}));

// Size factors of per-plate and per-sheet prices by press-sheet Kai.
class SizeFactor : public ::testing::TestWithParam<std::pair<float, float>> {};

TEST_P(SizeFactor, ScalesImposition) {
    PartSpec s = finishingOnly();
    s.impositionFlag = 1;
    s.sheetKai = GetParam().first;
    const PartOutcome outcome = costPartWithBook(defaultPriceBook(), s);
    EXPECT_FLOAT_EQ(outcome.cost.ImpositionCost, 80 * GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Sheets, SizeFactor,
                         ::testing::Values(std::pair{1.f, 1.f}, std::pair{2.f, 1.f},
                                           std::pair{3.f, 1.f}, std::pair{3.9f, 1.f},
                                           std::pair{4.f, 0.6f}, std::pair{7.f, 0.6f},
                                           std::pair{8.f, 0.3f}, std::pair{16.f, 0.3f}));

// Pieces that cannot be made on the chosen press sheet cost nothing.
TEST(PartGuards, UnprintablePiecesCostNothing) {
    const struct {
        float kai;
        float sheetKai;
        float press;
    } rows[] = {{0, 4, 1}, {6, 4, 3}, {2, 2, 2}, {4, 8, 1}, {-16, 4, 1}};
    for (const auto& r : rows) {
        PartSpec s = leaflet();
        s.kai = r.kai;
        s.sheetKai = r.sheetKai;
        s.press = r.press;
        s.filmFlag = 1;
        s.foldFlag = 1;
        s.folds = 1;
        const PartOutcome outcome = costPartWithBook(defaultPriceBook(), s);
        EXPECT_EQ(outcome.status, PartStatus::NotPrintable) << r.kai << " on " << r.sheetKai;
        expectItems(outcome.cost, {});
    }
}

TEST(PartGuards, ImpossibleInputsAreRefusedWithZeroItems) {
    const struct {
        const char* name;
        std::function<void(PartSpec&)> edit;
        PartStatus status;
    } rows[] = {
        {"quantity 0", [](PartSpec& s) { s.quantity = 0; }, PartStatus::BadQuantity},
        {"sheetKai 0", [](PartSpec& s) { s.sheetKai = 0; }, PartStatus::BadSheetKai},
        {"sheetKai < 0", [](PartSpec& s) { s.sheetKai = -4; }, PartStatus::BadSheetKai},
        {"paper 0", [](PartSpec& s) { s.paperIndex = 0; }, PartStatus::BadPaperIndex},
        {"paper 51", [](PartSpec& s) { s.paperIndex = 51; }, PartStatus::BadPaperIndex},
        {"paper 0.5", [](PartSpec& s) { s.paperIndex = 0.5f; }, PartStatus::BadPaperIndex},
        {"paper huge", [](PartSpec& s) { s.paperIndex = 3e38f; }, PartStatus::BadPaperIndex},
        {"sticker 11",
         [](PartSpec& s) {
             s.stickerPaper = 1;
             s.paperIndex = 11;
         },
         PartStatus::BadPaperIndex},
        {"huge quantity",
         [](PartSpec& s) {
             s.quantity = 3e38f;
             s.kai = 1;
             s.sheetKai = 1;
         },
         PartStatus::ResultOutOfRange},
        {"huge difficulty", [](PartSpec& s) { s.printDifficulty = 3e38f; },
         PartStatus::ResultOutOfRange},
        {"huge paper weight",
         [](PartSpec& s) {
             s.gsm = 3e38f;
             s.quantity = 10000;
         },
         PartStatus::ResultOutOfRange},
    };
    for (const auto& r : rows) {
        PartSpec s = leaflet();
        s.surfaceFlag = 1;  // a minimum charge would otherwise show
        r.edit(s);
        const PartOutcome outcome = costPartWithBook(defaultPriceBook(), s);
        EXPECT_EQ(outcome.status, r.status) << r.name;
        expectItems(outcome.cost, {});
    }
}

TEST(PartGuards, EveryNonFiniteFieldIsRefused) {
    for (const auto& field : kPartSpecFields) {
        for (float bad :
             {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
              -std::numeric_limits<float>::infinity()}) {
            PartSpec s = leaflet();
            s.*field.member = bad;
            const PartOutcome outcome = costPartWithBook(defaultPriceBook(), s);
            EXPECT_EQ(outcome.status, PartStatus::NonFiniteInput) << field.name;
            expectItems(outcome.cost, {});
        }
    }
}

TEST(PartGuards, PaperIndexCountsOnlyWhenPaperIsBought) {
    const struct {
        float paperIndex;
        float stickerPaper;
        float printFlag;
        PartStatus status;
    } rows[] = {
        {50, 0, 1, PartStatus::Costed}, {50.5f, 0, 1, PartStatus::Costed},  // halves to even
        {1, 1, 1, PartStatus::Costed},  {10, 1, 1, PartStatus::Costed},
        {0, 0, 0, PartStatus::Costed},  {99, 1, 0, PartStatus::Costed},
        {-1, 0, 0, PartStatus::Costed}, {11, 1, 1, PartStatus::BadPaperIndex},
    };
    for (const auto& r : rows) {
        PartSpec s = leaflet();
        s.paperIndex = r.paperIndex;
        s.stickerPaper = r.stickerPaper;
        s.printFlag = r.printFlag;
        EXPECT_EQ(costPartWithBook(defaultPriceBook(), s).status, r.status) << r.paperIndex;
    }
}

// Named values are kept as 32-bit floats and each is rounded when it is
// stored, which moves the last bits of the money. Each row also gives what
// evaluating everything in double would have produced, to show the row
// really tells the two apart.
TEST(PartArithmetic, StoredValuesAreRoundedToFloat) {
    const struct {
        const char* name;
        std::function<void(PartSpec&)> edit;
        float PartCost::*item;
        float expected;
        float inDoubleOnly;
    } rows[] = {
        // n = 6 / 5 is stored as a float slightly above 1.2.
        {"pieces per sheet",
         [](PartSpec& s) {
             s.printFlag = 0;
             s.kai = 6;
             s.sheetKai = 5;
             s.dieCutFlag = 1;
         },
         &PartCost::DieCutCost, 120.0f, 120.00000762939453f},
        // The four-colour charge is stored before the spot colour is added.
        {"item stored before adding",
         [](PartSpec& s) {
             s.spotColours = 1;
             s.printDifficulty = 1.008f;
         },
         &PartCost::PrintCost, 1087.840087890625f, 1087.8399658203125f},
    };
    for (const auto& r : rows) {
        PartSpec s = leaflet();
        r.edit(s);
        const PartOutcome outcome = costPartWithBook(defaultPriceBook(), s);
        EXPECT_EQ(outcome.cost.*r.item, r.expected) << r.name;
        EXPECT_NE(r.expected, r.inDoubleOnly) << r.name;
    }
}

}  // namespace
}  // namespace inkquot
