#include "core/costing/cost_newspaper.h"

#include <cmath>
#include <string>

#include "core/costing/press_kind.h"
#include "core/costing/stored_float.h"

namespace inkquot {

double newspaperSheets(float pages) {
    const float units = storedFloat(static_cast<double>(pages) / 4.0);
    return std::nearbyint(static_cast<double>(units));
}

namespace {

struct PageGroup {
    int item;        // in Lstbao
    int part;        // printed part index
    int pages;       // index into txtye
    int colours;     // first of the two Ncomyinse
    int difficulty;  // index into Comnd
};

constexpr PageGroup kGroups[] = {{0, 5, 2, 10, 7}, {1, 6, 3, 12, 8}};

}  // namespace

CostOutcome CostNewspaper(const PriceSource& prices, const JobForm& form, CostResult& result,
                          float quantity, float kai, float halfSheetArea) {
    JobCosting job(prices, result);
    JobReader reader(form, quantity);
    checkSize(reader, kai, halfSheetArea, "报纸规格");
    // All copies need quantity × 2 / kai 对开 sheets for each four pages.
    const float sheetQuantity =
        kai > 0 ? storedFloat(static_cast<double>(quantity) * 2.0 / static_cast<double>(kai)) : 0;
    const float film = reader.checked(Ctl::Chkbao, 0);
    const float filmMode = reader.position(Ctl::Cmbfeilin, 1);
    const float imposition = reader.checked(Ctl::Chkbao, 1);

    struct Planned {
        PartSpec spec;
        int part;
        double sheets;
    };
    Planned planned[2];
    int count = 0;
    for (const PageGroup& g : kGroups) {
        if (reader.ticked(Ctl::Lstbao, g.item) != 1) {
            continue;
        }
        const std::string name(partName(g.part));
        const float pages = reader.number(Ctl::txtye, g.pages, name + "的版数");
        if (storedFloat(static_cast<double>(pages) / 4.0) == 0) {
            continue;  // a group without pages costs nothing
        }
        if (!(pages > 0)) {
            reader.refuse(name + "的版数不能为负数，请重新输入版数。");
            continue;
        }
        const double sheets = newspaperSheets(pages);
        if (!(sheets <= kMaxSheetCostings)) {
            reader.refuse(name + "的版数（" + numberText(pages) +
                          "）过多，超出了可以计价的范围，请检查版数。");
            continue;
        }
        PartSpec spec;
        spec.quantity = sheetQuantity;
        spec.halfSheetArea = halfSheetArea;
        spec.kai = 2;
        spec.sheetKai = 2;
        readPaperAndColours(reader,
                            PrintingControls{g.part, g.colours, g.colours + 1, g.difficulty}, spec);
        spec.printFlag = 1;
        spec.press = costingPress(kPressDuikaiRotary);
        spec.filmFlag = film;
        spec.filmMode = filmMode;
        spec.impositionFlag = imposition;
        spec.dieCutDifficulty = 1;
        spec.dieBoardDifficulty = 1;
        checkPrintedPart(reader, g.part, spec);
        planned[count++] = {spec, g.part, sheets};
    }
    if (reader.failed()) {
        return job.refuse(reader.refusal());
    }
    for (int i = 0; i < count; ++i) {
        for (double sheet = 0; sheet < planned[i].sheets; ++sheet) {
            if (!job.addPart(planned[i].spec, planned[i].part)) {
                return job.outcome();
            }
        }
    }
    return job.finish(quantity);
}

}  // namespace inkquot
