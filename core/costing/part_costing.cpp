#include "core/costing/part_costing.h"

#include <algorithm>
#include <cmath>

#include "core/costing/press_kind.h"
#include "core/costing/price_record_numbers.h"
#include "core/costing/stored_float.h"

namespace inkquot {

namespace {

namespace J = jiben_record;
namespace G = gongjia_record;

bool on(float flag) {
    return flag == 1.0f;
}

double d(float v) {
    return static_cast<double>(v);
}

// Colour factor of a price item: three or more colours on a side are priced
// as four-colour work (1); a side with exactly two colours takes Tag1 (双色);
// one colour or none on both sides takes Tag2 (单色).
float colourFactor(const GongItem& item, float c1, float c2) {
    if (c1 >= 3 || c2 >= 3) {
        return 1;
    }
    if ((c1 <= 2 && c2 == 2) || (c1 == 2 && c2 <= 2)) {
        return item.Tag1;
    }
    return item.Tag2;
}

// Size factor of an item priced for a 对开 sheet: 对开 and 三开 press sheets
// pay the full price, 四开 up to 七开 Tag1, 八开 and smaller Tag2.
float sizeFactor(const GongItem& item, float sheetKai) {
    if (sheetKai >= 8) {
        return item.Tag2;
    }
    if (sheetKai < 4) {
        return 1;
    }
    return item.Tag1;
}

void atLeast(float& item, float minimum) {
    if (item < minimum) {
        item = minimum;
    }
}

// The flat-press price items: short run (up to 3000 press sheets), middle run
// (up to 5000), long run, plate, and the minimum run for spot colours.
struct FlatPressItems {
    int shortRun;
    int middleRun;
    int longRun;
    int plate;
    int minimumRun;
};

FlatPressItems flatPressItems(float press) {
    if (press == costingPress(kPressBakaiFlat)) {
        return {G::BakaiFlatShortRun, G::BakaiFlatMiddleRun, G::BakaiFlatLongRun, G::BakaiFlatPlate,
                J::BakaiFlatMinimumRun};
    }
    if (press == costingPress(kPressSikaiFlat)) {
        return {G::SikaiFlatShortRun, G::SikaiFlatMiddleRun, G::SikaiFlatLongRun, G::SikaiFlatPlate,
                J::SikaiFlatMinimumRun};
    }
    // 对开平印机, and any other value.
    return {G::DuikaiFlatShortRun, G::DuikaiFlatMiddleRun, G::DuikaiFlatLongRun, G::DuikaiFlatPlate,
            J::DuikaiFlatMinimumRun};
}

bool onRotary(float press) {
    return press == costingPress(kPressDuikaiRotary);
}

class PartCoster {
public:
    PartCoster(const PriceBook& book, const PartSpec& spec) : b_(book), s_(spec) {}

    PartOutcome run(float paperPrice) {
        sheetsAndColourRuns();
        if (on(s_.filmFlag)) {
            film();
        }
        if (on(s_.printFlag)) {
            printing();
            paper(paperPrice);
        }
        if (on(s_.impositionFlag)) {
            const GongItem& imposition = gong(G::Imposition);
            c_.ImpositionCost = storedFloat((d(cu_) + d(s_.spotColours)) * d(imposition.Danjia) *
                                            d(sizeFactor(imposition, s_.sheetKai)));
        }
        if (on(s_.surfaceFlag)) {
            surface();
        }
        if (on(s_.foilFlag) && s_.foilArea != 0) {
            foil();
        }
        if (on(s_.embossFlag)) {
            c_.EmbossCost = storedFloat(perThousandSheets(G::Embossing));
            atLeast(c_.EmbossCost, jiben(J::EmbossMinimumCharge));
        }
        if (on(s_.mountFlag)) {
            c_.MountCost = storedFloat(perThousandSheets(G::Mounting));
            atLeast(c_.MountCost, jiben(J::MountMinimumCharge));
        }
        if (on(s_.dieCutFlag)) {
            dieCut();
        }
        if (on(s_.corrugatedFlag)) {
            corrugated();
        }
        if (on(s_.glueFlag)) {
            gluing();
        }
        if (on(s_.foldFlag)) {
            folding();
        }
        return PartOutcome{PartStatus::Costed, c_, figures()};
    }

private:
    PartFigures figures() const {
        PartFigures f;
        f.piecesPerSheet = n_;
        f.colourRuns = cu_;
        f.pressSheets = sheets_;
        f.netSheets = netSheets_;
        f.fullSheets = fullSheets_;
        return f;
    }

    const GongItem& gong(int k) const { return b_.gong[k]; }
    float jiben(int i) const { return b_.jiben[i]; }

    float colourFactorOf(int k) const {
        return colourFactor(gong(k), s_.coloursFront, s_.coloursBack);
    }

    // A process priced per thousand 对开 sheets, charged on the press sheets
    // of the job; a full press sheet counts as two 对开 sheets.
    double perThousandSheets(int k) const {
        double rate = d(gong(k).Danjia) / 1000.0;
        if (s_.sheetKai == 1) {
            rate *= 2;
        }
        return rate * (d(s_.quantity) / d(n_)) * d(sizeFactor(gong(k), s_.sheetKai));
    }

    // Pieces per press sheet n, colour runs CU (plates to make) and press
    // sheets S (passes through the press).
    void sheetsAndColourRuns() {
        const float c1 = s_.coloursFront;
        const float c2 = s_.coloursBack;
        n_ = storedFloat(d(s_.kai) / d(s_.sheetKai));
        const float allColours = storedFloat(d(c1) + d(c2));
        const float oneSided = storedFloat(d(s_.quantity) / d(n_));
        const float twoPasses = storedFloat(2.0 * d(s_.quantity) / d(n_));
        if (onRotary(s_.press)) {
            // The rotary prints both sides in one pass of the web.
            cu_ = allColours;
            sheets_ = oneSided;
        } else if (s_.sheetKai == 1) {
            // A full sheet does not fit a 对开 press: it goes through as two
            // 对开 sheets.
            cu_ = allColours;
            sheets_ = twoPasses;
        } else if (on(s_.workAndTurn) && c1 != 0 && c2 != 0) {
            // Work-and-turn: with an even number of pieces on the sheet, one
            // plate set carries both sides and each sheet passes twice.
            const double rounded = std::nearbyint(d(n_));
            if (std::fmod(rounded, 2.0) == 0) {
                cu_ = std::max(c1, c2);
                sheets_ = twoPasses;
            } else {
                cu_ = allColours;
                sheets_ = oneSided;
            }
        } else {
            cu_ = allColours;
            sheets_ = oneSided;
        }
    }

    // Film is priced per 对开 four-colour set and scaled to the press sheet;
    // design is priced per P, one 16开 page in four colours.
    void film() {
        const double fd = colourFactorOf(G::Design);
        const double ff = colourFactorOf(G::Film);
        const double fp = colourFactorOf(G::Proof);
        double unit;
        if (s_.filmMode == 1) {
            unit = ff * d(gong(G::Film).Danjia);
        } else {
            unit = fp * d(gong(G::Proof).Danjia) + ff * d(gong(G::Film).Danjia);
        }
        c_.FilmCost =
            storedFloat(2.0 * (d(cu_) + d(s_.spotColours)) * (unit / 4.0) / d(s_.sheetKai));
        if (s_.filmMode != 1 && s_.filmMode != 2) {
            const double design = (16.0 / d(s_.kai)) * (d(gong(G::Design).Danjia) / 4.0) *
                                  (d(s_.coloursFront) + d(s_.coloursBack) + d(s_.spotColours)) * fd;
            c_.FilmCost = storedFloat(d(c_.FilmCost) + design);
        }
    }

    void printing() {
        const float quantity = s_.quantity;
        float sheets = sheets_;
        float paperSheets = s_.sheetKai == 1 ? storedFloat(2.0 * d(quantity) / d(n_))
                                             : storedFloat(d(quantity) / d(n_));
        netSheets_ = paperSheets;
        const double difficulty = s_.printDifficulty;
        const double spot = s_.spotColours;
        const double spotFactor = jiben(J::SpotColourFactor);
        if (onRotary(s_.press)) {
            const float minimumRun = jiben(J::RotaryMinimumRun);
            sheets = std::max(sheets, minimumRun);
            paperSheets = std::max(paperSheets, minimumRun);
            const double price = gong(G::RotaryPrinting).Danjia;
            const double plate = gong(G::RotaryPlate).Danjia;
            c_.PrintCost = storedFloat(d(sheets) / 1000.0 * price * d(cu_) * difficulty *
                                           d(colourFactorOf(G::RotaryPrinting)) +
                                       plate * d(cu_));
            c_.PrintCost = storedFloat(
                d(c_.PrintCost) + d(paperSheets) / 1000.0 * spotFactor * price * spot * difficulty +
                plate * spot);
            return;
        }
        const FlatPressItems items = flatPressItems(s_.press);
        const double longPrice = gong(items.longRun).Danjia;
        const double plate = gong(items.plate).Danjia;
        if (sheets <= 5000) {
            // Short and middle runs are priced per set of four plates,
            // plates included.
            const int k = sheets <= 3000 ? items.shortRun : items.middleRun;
            c_.PrintCost =
                storedFloat(d(cu_) / 4.0 * d(gong(k).Danjia) * difficulty * d(colourFactorOf(k)));
        } else {
            c_.PrintCost = storedFloat(d(sheets) / 1000.0 * longPrice * d(cu_) * difficulty *
                                           d(colourFactorOf(items.longRun)) +
                                       plate * d(cu_));
        }
        // Spot colours are run per colour at the long-run price raised by the
        // spot colour factor, never below the press's minimum run.
        paperSheets = std::max(paperSheets, jiben(items.minimumRun));
        c_.PrintCost = storedFloat(
            d(c_.PrintCost) + d(paperSheets) / 1000.0 * spotFactor * longPrice * spot * difficulty +
            plate * spot);
    }

    // Paper bought: the net sheets plus the overrun, a per mille allowance and
    // a number of make-ready sheets for every colour run.
    void paper(float price) {
        const double runs = d(cu_) + d(s_.spotColours);
        const double quantity = s_.quantity;
        if (on(s_.stickerPaper)) {
            // Sticker paper is priced per 对开 sheet and its make-ready sheets
            // are counted in press sheets; sticker jobs run on flat presses.
            const double pressSheets =
                (quantity / d(n_)) * (1.0 + runs * d(jiben(J::FlatOverrunPerMille)) / 1000.0) +
                runs * d(jiben(J::FlatMakeReadySheets));
            c_.PaperCost = storedFloat(pressSheets * (d(price) * 2.0 / d(s_.sheetKai)));
            fullSheets_ = pressSheets / d(s_.sheetKai);
            return;
        }
        const bool rotary = onRotary(s_.press);
        const double perMille = jiben(rotary ? J::RotaryOverrunPerMille : J::FlatOverrunPerMille);
        const double makeReady = jiben(rotary ? J::RotaryMakeReadySheets : J::FlatMakeReadySheets);
        const double fullSheets = (quantity / d(s_.kai)) * (1.0 + runs * perMille / 1000.0) +
                                  runs * makeReady / d(s_.sheetKai);
        fullSheets_ = fullSheets;
        // A full sheet weighs gsm × 2 × halfSheetArea grams; the price is per
        // ton, hence the 500000.
        c_.PaperCost =
            storedFloat(fullSheets * d(s_.gsm) * d(s_.halfSheetArea) * d(price) / 500000.0);
    }

    void surface() {
        int k = G::UvCoating;  // and any type not listed
        if (s_.surfaceType == 1) {
            k = G::GlossLamination;
        } else if (s_.surfaceType == 2) {
            k = G::MattLamination;
        } else if (s_.surfaceType == 3) {
            k = G::VarnishAndCalender;
        }
        double cost = (2.0 * d(s_.halfSheetArea) / d(s_.kai)) * d(s_.quantity) * d(gong(k).Danjia);
        if (s_.surfaceSides != 1) {
            cost *= 2;
        }
        c_.SurfaceCost = storedFloat(cost);
        atLeast(c_.SurfaceCost, jiben(J::SurfaceMinimumCharge));
    }

    // The minimum applies to the stamping work; the foil used is added after.
    void foil() {
        double work = perThousandSheets(G::FoilStampingWork);
        if (s_.foilPasses == 2) {
            work *= 2;
        }
        c_.FoilCost = storedFloat(work);
        atLeast(c_.FoilCost, jiben(J::FoilMinimumCharge));
        c_.FoilCost = storedFloat(d(c_.FoilCost) + d(gong(G::FoilMaterial).Danjia) *
                                                       d(s_.quantity) * d(s_.foilArea) / 10000.0);
    }

    // One die board serves the whole run, so it is charged once, without the
    // doubling for full press sheets and without a minimum.
    void dieCut() {
        c_.DieCutCost = storedFloat(perThousandSheets(G::DieCutting) * d(s_.dieCutDifficulty));
        atLeast(c_.DieCutCost, jiben(J::DieCutMinimumCharge));
        if (on(s_.dieBoardFlag)) {
            const GongItem& board = gong(G::DieBoard);
            c_.DieBoardCost = storedFloat(d(board.Danjia) * d(sizeFactor(board, s_.sheetKai)) *
                                          d(s_.dieBoardDifficulty));
        }
    }

    // Priced per m² with the material; 三层 board at the base price, 五层 Tag1,
    // 七层 (and anything else) Tag2.
    void corrugated() {
        const GongItem& item = gong(G::CorrugatedLamination);
        float layers = item.Tag2;
        if (s_.corrugatedLayers == 1) {
            layers = 1;
        } else if (s_.corrugatedLayers == 2) {
            layers = item.Tag1;
        }
        c_.CorrugatedCost = storedFloat(2.0 * d(s_.halfSheetArea) * d(item.Danjia) * d(layers) *
                                        d(s_.quantity) / d(s_.kai));
        atLeast(c_.CorrugatedCost, jiben(J::CorrugatedMinimumCharge));
    }

    void gluing() {
        const float kai = s_.kai;
        const GongItem& box = gong(G::BoxGluing);
        float boxFactor = box.Tag4;
        if (kai < 4) {
            boxFactor = 1;
        } else if (kai < 9) {
            boxFactor = box.Tag1;
        } else if (kai < 33) {
            boxFactor = box.Tag2;
        } else if (kai < 65) {
            boxFactor = box.Tag3;
        }
        // Bags: priced for a 对开 bag; 三开 Tag1, 四开 Tag2, 五开 to 八开
        // Tag3, anything else (smaller bags, and a full-sheet bag) Tag4.
        const GongItem& bag = gong(G::BagMaking);
        float bagFactor = bag.Tag4;
        if (kai == 2) {
            bagFactor = 1;
        } else if (kai == 3) {
            bagFactor = bag.Tag1;
        } else if (kai == 4) {
            bagFactor = bag.Tag2;
        } else if (kai > 4 && kai <= 8) {
            bagFactor = bag.Tag3;
        }
        const double perBox = d(box.Danjia) * d(boxFactor);
        const double perBag = d(bag.Danjia) * d(bagFactor);
        const double quantity = s_.quantity;
        double cost;
        if (s_.glueMode == 1) {
            cost = perBox * quantity;  // 单边
        } else if (s_.glueMode == 2) {
            cost = 2.0 * quantity * perBox;  // 双边
        } else {
            cost = perBag * quantity;  // 做手提袋
        }
        c_.GlueCost = storedFloat(cost);
        atLeast(c_.GlueCost, jiben(J::GlueMinimumCharge));
    }

    // Folding is priced per fold of a 16开 sheet: larger sheets Tag1,
    // smaller ones Tag2.
    void folding() {
        const GongItem& item = gong(G::Folding);
        float factor = item.Tag2;
        if (s_.kai < 16) {
            factor = item.Tag1;
        } else if (s_.kai == 16) {
            factor = 1;
        }
        c_.FoldCost = storedFloat(d(s_.folds) * d(s_.quantity) * d(item.Danjia) * d(factor));
    }

    const PriceBook& b_;
    const PartSpec& s_;
    PartCost c_;
    float n_ = 0;
    float cu_ = 0;
    float sheets_ = 0;
    float netSheets_ = 0;
    double fullSheets_ = 0;
};

bool allFinite(const PartSpec& spec) {
    for (const auto& field : kPartSpecFields) {
        if (!std::isfinite(spec.*field.member)) {
            return false;
        }
    }
    return true;
}

bool allFinite(const PartCost& cost) {
    for (const auto& field : kPartCostFields) {
        if (!std::isfinite(cost.*field.member)) {
            return false;
        }
    }
    return true;
}

PartOutcome refused(PartStatus status) {
    return PartOutcome{status, PartCost{}, PartFigures{}};
}

}  // namespace

PartOutcome costPartWithBook(const PriceBook& book, const PartSpec& spec) {
    if (!allFinite(spec)) {
        return refused(PartStatus::NonFiniteInput);
    }
    // A negative quantity is priced as it stands (a credit note); only zero
    // leaves the pieces per sheet meaningless.
    if (spec.quantity == 0) {
        return refused(PartStatus::BadQuantity);
    }
    if (!(spec.sheetKai > 0)) {
        return refused(PartStatus::BadSheetKai);
    }
    float paperPrice = 0;
    if (on(spec.printFlag)) {
        const bool sticker = on(spec.stickerPaper);
        const double index = std::nearbyint(static_cast<double>(spec.paperIndex));
        const int count = sticker ? PriceBook::kZhibuCount : PriceBook::kZhiCount;
        if (!(index >= 1 && index <= count)) {
            return refused(PartStatus::BadPaperIndex);
        }
        const int i = static_cast<int>(index);
        paperPrice = sticker ? book.zhibu[i] : book.zhi[i];
    }
    const float kai = spec.kai;
    // The eighth-sheet press cannot take a piece larger than 八开, the
    // quarter-sheet press one larger than 四开.
    if (kai == 0 || (spec.press == costingPress(kPressBakaiFlat) && kai < 8) ||
        (spec.press == costingPress(kPressSikaiFlat) && kai < 4) || kai < spec.sheetKai) {
        return refused(PartStatus::NotPrintable);
    }
    PartOutcome outcome = PartCoster(book, spec).run(paperPrice);
    if (!allFinite(outcome.cost)) {
        return refused(PartStatus::ResultOutOfRange);
    }
    return outcome;
}

PartStatus CostPart(const ProgramFolder& folder, const PartSpec& spec, PartCost& cost,
                    PriceBook& book) {
    const IoStatus loaded = LoadPriceBook(folder, book);
    ClearPartCost(cost);
    if (!loaded) {
        return PartStatus::PriceFilesUnreadable;
    }
    const PartOutcome outcome = costPartWithBook(book, spec);
    cost = outcome.cost;
    return outcome.status;
}

}  // namespace inkquot
