#include "core/costing/cost_book.h"

#include <cmath>
#include <string>
#include <vector>

#include "core/costing/binding_costing.h"
#include "core/costing/stored_float.h"

namespace inkquot {

namespace {

double d(float v) {
    return static_cast<double>(v);
}

// Whole numbers are formed by rounding half to even.
double whole(double v) {
    return std::nearbyint(v);
}

float unitsPerSheet(float pageKai, float sheetKai) {
    return storedFloat(d(pageKai) / 2.0 / d(sheetKai));
}

// The first block of `first`, `first` + 1, ... (at most `steps` + 1 sizes)
// that divides the half sheet of the page Kai evenly, as the Kai of the
// fraction of a full sheet that holds it; 0 when there is none.
float evenBlockKai(float pageKai, double first, double steps) {
    const double halfSheet = d(pageKai) / 2.0;
    const double halfSheetWhole = whole(halfSheet);
    for (double i = 0; i <= steps; ++i) {
        const double units = whole(first + i);
        if (units != 0 && std::fmod(halfSheetWhole, units) == 0) {
            return storedFloat(halfSheet / units);
        }
    }
    return 0;
}

}  // namespace

std::optional<InnerLayout> layoutInnerBlock(float pages, float sheetKai, float pageKai) {
    InnerLayout layout;
    const float u = unitsPerSheet(pageKai, sheetKai);
    const double U = whole(d(u));
    if (!(U >= 1) || !(d(u) <= kMaxUnitsPerSheet)) {
        return std::nullopt;
    }
    layout.unitsPerSheet = u;
    layout.wholeSheets = storedFloat(std::floor((d(pages) / 4.0) / d(u)));
    const double r = std::fmod(whole(d(pages) / 4.0), U);
    layout.remainder = storedFloat(r);
    layout.sheetKaiA = sheetKai;
    layout.sheetKaiB = sheetKai;
    const double s = sheetKai;
    if (r == 0) {
        return layout;
    }
    if (u == 2) {
        // One unit left on a sheet of two: half a press sheet.
        layout.kaiA = storedFloat(2 * s);
    } else if (u == 3) {
        // One unit goes 3-up; two units take a whole sheet.
        layout.kaiA = r == 1 ? storedFloat(3 * s) : sheetKai;
    } else if (u == 4) {
        if (r == 1) {
            layout.kaiA = storedFloat(4 * s);
        } else if (r == 2) {
            layout.kaiA = storedFloat(2 * s);
        } else {
            // Three units: half a sheet and a quarter.
            layout.kaiA = storedFloat(2 * s);
            layout.kaiB = storedFloat(4 * s);
        }
    } else if (d(u) / 2.0 >= r) {
        layout.kaiA = evenBlockKai(pageKai, r, whole(d(u)));
    } else {
        // More than half a sheet: half a sheet, then the rest as a block.
        layout.kaiA = storedFloat(2 * s);
        layout.kaiB = evenBlockKai(pageKai, r - std::floor(d(u) / 2.0), whole(d(u)));
    }
    return layout;
}

namespace {

// The book's shared choices (section boxes of the book panel).
struct BookChoices {
    float film = 0;
    float filmMode = 0;
    float imposition = 0;
    float surface = 0;
    float surfaceSides = 0;
    float surfaceType = 0;
    float foil = 0;
    float foilArea = 0;
    float dieCut = 0;
    float dieBoard = 0;
    float dieCutDifficulty = 0;
    float dieBoardDifficulty = 0;
    float binding = 0;
    float bindingForm = 0;
};

// A part to cost, `repeat` times over (the whole sheets of an inner block).
struct PlannedPart {
    PartSpec spec;
    int part;
    double repeat;
};

PartSpec printedPart(JobReader& reader, int part, float quantity, float area, float kai) {
    PartSpec spec = readPiece(reader, part, quantity, kai, area);
    readPaperAndColours(reader, PrintingControls{part, 2 * part, 2 * part + 1, part}, spec);
    return spec;
}

void withPrinting(PartSpec& spec, const BookChoices& c) {
    spec.printFlag = 1;
    spec.filmFlag = c.film;
    spec.filmMode = c.filmMode;
    spec.impositionFlag = c.imposition;
}

// Surface, foil and die cutting of the cover.
void withCoverFinishing(PartSpec& spec, const BookChoices& c) {
    spec.surfaceFlag = c.surface;
    spec.surfaceSides = c.surfaceSides;
    spec.surfaceType = c.surfaceType;
    spec.foilFlag = c.foil;
    spec.foilPasses = 1;
    spec.foilArea = c.foilArea;
    spec.dieCutFlag = c.dieCut;
    spec.dieBoardFlag = c.dieBoard;
    spec.dieCutDifficulty = c.dieCutDifficulty;
    spec.dieBoardDifficulty = c.dieBoardDifficulty;
}

class BookPlanner {
public:
    BookPlanner(JobReader& reader, float quantity, float innerKai, float innerArea)
        : r_(reader), quantity_(quantity), innerKai_(innerKai), innerArea_(innerArea) {}

    void readChoices() {
        c_.film = r_.checked(Ctl::Chkhua, 0);
        c_.filmMode = r_.position(Ctl::Cmbfeilin, 0);
        c_.imposition = r_.checked(Ctl::Chkhua, 1);
        c_.surface = r_.checked(Ctl::Chkhua, 2);
        c_.surfaceSides = r_.position(Ctl::comjiao, 0);
        c_.surfaceType = r_.position(Ctl::comjiao, 1);
        c_.foil = r_.checked(Ctl::Chkhua, 3);
        c_.dieCut = r_.checked(Ctl::Chkhua, 4);
        c_.dieBoard = r_.checked(Ctl::Chkban, 0);
        c_.binding = r_.checked(Ctl::Chkhua, 5);
        c_.bindingForm = r_.position(Ctl::Cmbdin);
    }

    // The cover finishing texts matter only when the cover is costed.
    void readCoverFinishing() {
        c_.foilArea = r_.numberIf(c_.foil == 1, Ctl::txttang, 0, "封面烫金/银的面积");
        c_.dieCutDifficulty = r_.numberIf(c_.dieCut == 1, Ctl::Comnd, 5, "封面模切的难度系数");
        c_.dieBoardDifficulty = r_.numberIf(c_.dieCut == 1, Ctl::Comnd, 6, "封面模板的难度系数");
    }

    void planCover(float coverKai, float coverArea) {
        readCoverFinishing();
        checkSize(r_, coverKai, coverArea, "封面展开规格");
        PartSpec spec = printedPart(r_, 0, quantity_, coverArea, coverKai);
        checkPrintedPart(r_, 0, spec);
        withPrinting(spec, c_);
        withCoverFinishing(spec, c_);
        parts_.push_back({spec, 0, 1});
        totalPages_ = 4;
    }

    // Without a cover of its own the book's cover is four pages of the inner
    // size: only its finishing is charged, on 内页一's press sheet.
    void planCoverFinishingOnly() {
        readCoverFinishing();
        PartSpec spec = printedPart(r_, 1, quantity_, innerArea_, storedFloat(d(innerKai_) / 2));
        withCoverFinishing(spec, c_);
        parts_.push_back({spec, 0, 1});
    }

    void planInnerBlock(int part, float pages) {
        const std::string name(partName(part));
        checkSize(r_, innerKai_, innerArea_, "整书规格");
        PartSpec spec = printedPart(r_, part, quantity_, innerArea_, 0);
        checkPrintedPart(r_, part, spec);
        if (!(pages >= 0)) {
            r_.refuse(name + "的页数不能为负数，请重新输入页数。");
        }
        if (r_.failed()) {
            return;
        }
        totalPages_ = storedFloat(d(totalPages_) + d(pages));
        const float s = spec.sheetKai;
        const float u = unitsPerSheet(innerKai_, s);
        if (!(whole(d(u)) >= 1)) {
            r_.refuse(name + "：" + numberText(innerKai_) + "开的书页放在" + numberText(s) +
                      "开的上机纸上，一张上机纸容纳不下一贴（四页）。请选用更大的上机纸"
                      "（更小的开纸大小），或把整书规格改为更大的开数。");
            return;
        }
        if (!(d(u) <= kMaxUnitsPerSheet)) {
            r_.refuse("整书规格的开数（" + numberText(innerKai_) + "开）与" + name +
                      "的开纸大小不相称，无法排版，请检查开数。");
            return;
        }
        const std::optional<InnerLayout> layout = layoutInnerBlock(pages, s, innerKai_);
        if (!layout || !(d(layout->wholeSheets) <= kMaxSheetCostings)) {
            r_.refuse(name + "的页数（" + numberText(pages) +
                      "页）过多，超出了可以计价的范围，请检查页数。");
            return;
        }
        withPrinting(spec, c_);
        spec.dieCutDifficulty = 1;
        spec.dieBoardDifficulty = 1;
        // Whole sheets: one piece per press sheet.
        spec.kai = s;
        parts_.push_back({spec, part, layout->wholeSheets});
        spec.kai = layout->kaiA;
        spec.sheetKai = layout->sheetKaiA;
        parts_.push_back({spec, part, 1});
        spec.kai = layout->kaiB;
        spec.sheetKai = layout->sheetKaiB;
        parts_.push_back({spec, part, 1});
    }

    // Insert `insert` (0 or 1): its own unfolded size from size group 2 + insert.
    void planInsert(int insert) {
        const int part = 3 + insert;
        const int group = 2 + insert;
        const std::string name(partName(part));
        const float kai = r_.number(Ctl::Ncomkai, group, name + "的展开规格");
        const float area = halfSheetAreaOf(r_, r_.position(Ctl::Ncomdu, group) - 1, name);
        checkKai(r_, kai, name + "的展开规格");
        PartSpec spec = printedPart(r_, part, quantity_, area, kai);
        checkPrintedPart(r_, part, spec);
        withPrinting(spec, c_);
        spec.dieCutDifficulty = 1;
        spec.dieBoardDifficulty = 1;
        parts_.push_back({spec, part, 1});
    }

    const BookChoices& choices() const { return c_; }
    const std::vector<PlannedPart>& parts() const { return parts_; }
    float totalPages() const { return totalPages_; }

private:
    JobReader& r_;
    float quantity_;
    float innerKai_;
    float innerArea_;
    BookChoices c_;
    std::vector<PlannedPart> parts_;
    float totalPages_ = 0;
};

}  // namespace

CostOutcome CostBook(const PriceSource& prices, const JobForm& form, CostResult& result,
                     float quantity, float innerKai, float innerHalfSheetArea, float coverKai,
                     float coverHalfSheetArea, float innerPages) {
    JobCosting job(prices, result);
    JobReader reader(form, quantity);
    BookPlanner plan(reader, quantity, innerKai, innerHalfSheetArea);
    plan.readChoices();
    const bool cover = reader.ticked(Ctl::Lsthua, 0) == 1;
    const bool inner1 = reader.ticked(Ctl::Lsthua, 1) == 1;
    const bool inner2 = reader.ticked(Ctl::Lsthua, 2) == 1;
    if (cover) {
        plan.planCover(coverKai, coverHalfSheetArea);
    } else if (inner1 && innerPages != 0) {
        plan.planCoverFinishingOnly();
    }
    if (inner1) {
        plan.planInnerBlock(1, innerPages);
    }
    if (inner2) {
        plan.planInnerBlock(2, reader.number(Ctl::txtye, 1, "内页二的页数"));
    }
    for (int insert = 0; insert < 2; ++insert) {
        if (reader.ticked(Ctl::Lsthua, 3 + insert) == 1) {
            plan.planInsert(insert);
        }
    }
    if (reader.failed()) {
        return job.refuse(reader.refusal());
    }

    for (const PlannedPart& p : plan.parts()) {
        for (double i = 0; i < p.repeat; ++i) {
            if (!job.addPart(p.spec, p.part)) {
                return job.outcome();
            }
        }
    }
    const BookChoices& c = plan.choices();
    if (c.binding == 1 && plan.totalPages() != 0 &&
        !job.bind(quantity, innerKai, plan.totalPages(), c.bindingForm)) {
        return job.outcome();
    }
    return job.finish(quantity);
}

}  // namespace inkquot
