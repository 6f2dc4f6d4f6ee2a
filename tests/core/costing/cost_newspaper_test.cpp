#include "core/costing/cost_newspaper.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/costing/press_kind.h"
#include "tests/core/costing/fake_job_form.h"
#include "tests/core/costing/priced_folder.h"

namespace inkquot {
namespace {

using testing::FakeJobForm;

TEST(CostNewspaper, FourPagesMakeOneSheetHalvesRoundToEven) {
    const struct {
        float pages;
        double sheets;
    } cases[] = {{4, 1}, {6, 2}, {8, 2}, {10, 2}, {12, 3}, {14, 4}, {2, 0}, {0, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(newspaperSheets(c.pages), c.sheets) << c.pages;
    }
}

// 页一 on 48 g newsprint 4 + 4, 页二 on 48 g 1 + 1.
FakeJobForm newspaperForm() {
    FakeJobForm f;
    f.printing(5, "2", "48", 4, "4", "4", 3);
    f.printing(6, "2", "48", 4, "1", "1", 3);
    f.setListIndex(Ctl::Cmbfeilin, 1, 0);
    return f;
}

PartSpec newspaperSheet(float sheetQuantity, float colours) {
    PartSpec s = testing::printedPart(sheetQuantity, 2, 2, 48, 5, colours);
    s.coloursBack = colours;
    s.press = costingPress(kPressDuikaiRotary);
    return s;
}

CostResult costNewspaper(const FakeJobForm& form, float quantity, float kai,
                         CostOutcome* outcome = nullptr) {
    return testing::costWith(outcome, CostNewspaper, form, quantity, kai, 0.53f);
}

TEST(CostNewspaper, EachFourPagesAreASheetOnTheRotaryPress) {
    struct Case {
        const char* name;
        const char* pages1;
        const char* pages2;
        float quantity;
        float kai;
        std::vector<PartSpec> parts;
    };
    const PartSpec big = newspaperSheet(10000, 4);
    const PartSpec small = newspaperSheet(2500, 4);
    const Case cases[] = {
        {"对开, 8 pages", "8", "0", 10000, 2, {big, big}},
        {"四开: half the sheets", "4", "0", 5000, 4, {small}},
        {"6 pages cost as 8", "6", "0", 10000, 2, {big, big}},
        {"10 pages cost as 8", "10", "0", 10000, 2, {big, big}},
        {"both groups",
         "4",
         "8",
         10000,
         2,
         {big, newspaperSheet(10000, 1), newspaperSheet(10000, 1)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJobForm form = newspaperForm();
        form.setTicked(Ctl::Lstbao, 0, true);
        form.setTicked(Ctl::Lstbao, 1, true);
        form.setText(Ctl::txtye, 2, c.pages1);
        form.setText(Ctl::txtye, 3, c.pages2);
        testing::expectSameResult(costNewspaper(form, c.quantity, c.kai),
                                  testing::resultOfParts(c.parts, c.quantity));
    }
}

TEST(CostNewspaper, ShortRunIsChargedAsTheRotaryMinimum) {
    // 四开, 5000 copies: 2500 对开 sheets, charged as the minimum run of 5000:
    // 5 × 27.5 × 8 colour runs + 8 plates at 100.
    FakeJobForm form = newspaperForm();
    form.setTicked(Ctl::Lstbao, 0, true);
    form.setText(Ctl::txtye, 2, "4");
    EXPECT_FLOAT_EQ(costNewspaper(form, 5000, 4).PrintCost, 5 * 27.5f * 8 + 800);
}

TEST(CostNewspaper, FilmAndImpositionArePerSheet) {
    FakeJobForm form = newspaperForm();
    form.setTicked(Ctl::Lstbao, 0, true);
    form.setText(Ctl::txtye, 2, "8");
    form.check(Ctl::Chkbao, 0);
    form.check(Ctl::Chkbao, 1);
    PartSpec sheet = newspaperSheet(10000, 4);
    sheet.filmFlag = 1;
    sheet.impositionFlag = 1;
    const CostResult result = costNewspaper(form, 10000, 2);
    testing::expectSameResult(result, testing::resultOfParts({sheet, sheet}, 10000));
    EXPECT_GT(result.ImpositionCost, 0);
}

TEST(CostNewspaper, GroupWithoutPagesOrUntickedCostsNothing) {
    FakeJobForm form = newspaperForm();
    form.setTicked(Ctl::Lstbao, 0, true);
    form.setText(Ctl::txtye, 2, "0");
    form.setText(Ctl::txtye, 3, "8");  // 页二 not ticked
    testing::expectAllZero(costNewspaper(form, 10000, 2));
}

TEST(CostNewspaper, RefusesWhatCannotBePriced) {
    struct Case {
        const char* name;
        const char* pages;
        float quantity;
        float kai;
        int paper;
        const char* message;
    };
    const Case cases[] = {
        {"quantity 0", "8", 0, 2, 4, "数量不能为零！"},
        {"Kai 0", "8", 10000, 0, 4, "报纸规格的开数"},
        {"negative pages", "-8", 10000, 2, 4, "页一的版数不能为负数"},
        {"pages not a number", "八", 10000, 2, 4, "页一的版数“八”不是有效的数字"},
        {"absurd page count", "1e6", 10000, 2, 4, "过多"},
        {"no paper", "8", 10000, 2, -1, "请为页一选择纸张"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJobForm form = newspaperForm();
        form.setTicked(Ctl::Lstbao, 0, true);
        form.setText(Ctl::txtye, 2, c.pages);
        form.setListIndex(Ctl::Ncomzhi, 5, c.paper);
        CostOutcome outcome;
        const CostResult result = costNewspaper(form, c.quantity, c.kai, &outcome);
        EXPECT_NE(outcome.refusal.find(c.message), std::string::npos) << outcome.refusal;
        testing::expectAllZero(result);
    }
}

}  // namespace
}  // namespace inkquot
