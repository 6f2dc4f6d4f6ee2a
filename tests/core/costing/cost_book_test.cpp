#include "core/costing/cost_book.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/costing/fake_job_form.h"
#include "tests/core/costing/priced_folder.h"

namespace inkquot {
namespace {

using testing::FakeJobForm;
using testing::PricedFolder;
using testing::resultOfParts;

struct LayoutCase {
    const char* name;
    float pages;
    float sheetKai;
    float pageKai;
    float wholeSheets;
    float remainder;
    float kaiA;
    float kaiB;
};

TEST(InnerLayout, RemainderGoesOnTheSmallestFittingFraction) {
    const LayoutCase cases[] = {
        {"16开 96 pages: six sheets, nothing left", 96, 2, 16, 6, 0, 0, 0},
        {"16开 100 pages: one unit 4-up", 100, 2, 16, 6, 1, 8, 0},
        {"16开 104 pages: two units 2-up", 104, 2, 16, 6, 2, 4, 0},
        {"16开 108 pages: half a sheet and a quarter", 108, 2, 16, 6, 3, 4, 8},
        {"32开 r 3: enlarged to 4 units", 76, 2, 32, 2, 3, 4, 0},
        {"32开 r 5: half a sheet, then 1 unit", 84, 2, 32, 2, 5, 4, 16},
        {"64开 r 9: half a sheet, then 1 unit", 100, 2, 64, 1, 9, 4, 32},
        {"8开 u 2: one unit on half a sheet", 12, 2, 8, 1, 1, 4, 0},
        {"u 3, one unit 3-up", 4, 2, 12, 0, 1, 6, 0},
        {"u 3, two units on a whole sheet", 8, 2, 12, 0, 2, 2, 0},
        {"10 pages: 2.5 units round to 2", 10, 2, 16, 0, 2, 4, 0},
        {"14 pages: 3.5 units round to 4", 14, 2, 16, 0, 0, 0, 0},
        {"46开: no even block from 2 units", 8, 2, 46, 0, 2, 0, 0},
        {"46开: 1 unit divides anything", 4, 2, 46, 0, 1, 23, 0},
        {"46开: 6 units, half a sheet and a 23-up unit", 24, 2, 46, 0, 6, 4, 23},
        {"46开: 7 units, half a sheet, no block of 2", 28, 2, 46, 0, 7, 4, 0},
        {"u 0.75 rounds to 1 unit: never a remainder", 8, 2, 3, 2, 0, 0, 0},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<InnerLayout> layout = layoutInnerBlock(c.pages, c.sheetKai, c.pageKai);
        ASSERT_TRUE(layout.has_value());
        EXPECT_EQ(layout->wholeSheets, c.wholeSheets);
        EXPECT_EQ(layout->remainder, c.remainder);
        EXPECT_EQ(layout->kaiA, c.kaiA);
        EXPECT_EQ(layout->kaiB, c.kaiB);
        EXPECT_EQ(layout->sheetKaiA, c.sheetKai);
        EXPECT_EQ(layout->sheetKaiB, c.sheetKai);
    }
}

TEST(InnerLayout, PageLargerThanHalfThePressSheetHasNoLayout) {
    // 2开 on 对开 gives u = 0.5, which rounds (half to even) to 0 units.
    EXPECT_FALSE(layoutInnerBlock(16, 2, 2).has_value());
    EXPECT_FALSE(layoutInnerBlock(16, 4, 4).has_value());
    EXPECT_FALSE(layoutInnerBlock(16, 2, 1).has_value());
    EXPECT_TRUE(layoutInnerBlock(16, 2, 4).has_value());  // u = 1
}

constexpr float kQuantity = 2000;
constexpr float kArea = 0.53f;

// A 16开 book on 大度 paper: cover 250 g 4 + 0, inner pages 128 g 4 + 4, all
// on 对开 press sheets and 对开平印机; nothing ticked yet.
FakeJobForm bookForm() {
    FakeJobForm f;
    f.printing(0, "2", "250", 0, "4", "0");
    f.printing(1, "2", "128", 0, "4", "4");
    f.printing(2, "2", "80", 3, "1", "1");
    f.printing(3, "2", "157", 0, "4", "4");
    f.printing(4, "2", "200", 0, "4", "4");
    f.finishingAtStart(0, 0, 5);
    f.setText(Ctl::txttang, 0, "0");
    f.setListIndex(Ctl::Cmbdin, 0, 0);
    f.setText(Ctl::txtye, 1, "0");
    return f;
}

PartSpec innerSheet(float kai, float sheetKai, bool film) {
    PartSpec s = testing::printedPart(kQuantity, kai, sheetKai, 128, 1, 4);
    s.coloursBack = 4;
    s.filmFlag = film ? 1 : 0;
    return s;
}

CostResult costBook(const FakeJobForm& form, float pages, float innerKai = 16,
                    CostOutcome* outcome = nullptr) {
    return testing::costWith(outcome, CostBook, form, kQuantity, innerKai, kArea, 8, kArea, pages);
}

TEST(CostBook, InnerPagesAreCostedSheetBySheetThenTheRemainder) {
    struct Case {
        float pages;
        std::vector<PartSpec> parts;
    };
    const PartSpec sheet = innerSheet(2, 2, true);
    const std::vector<PartSpec> six(6, sheet);
    auto plus = [&](std::vector<PartSpec> parts, std::vector<PartSpec> more) {
        parts.insert(parts.end(), more.begin(), more.end());
        return parts;
    };
    const Case cases[] = {
        {96, six},
        {100, plus(six, {innerSheet(8, 2, true)})},
        {104, plus(six, {innerSheet(4, 2, true)})},
        {108, plus(six, {innerSheet(4, 2, true), innerSheet(8, 2, true)})},
        {8, {innerSheet(4, 2, true)}},
    };
    FakeJobForm form = bookForm();
    form.setTicked(Ctl::Lsthua, 1, true);
    form.check(Ctl::Chkhua, 0);  // film for every sheet and remainder part
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pages);
        testing::expectSameResult(costBook(form, c.pages), resultOfParts(c.parts, kQuantity));
    }
}

TEST(CostBook, BindingCountsCoverAndInnerPages) {
    struct Case {
        const char* name;
        bool cover;
        bool inner;
        bool insert;
        float quantity;
        int form;  // list index of Cmbdin
        float bindingCost;
    };
    const Case cases[] = {
        // 96 + 4 pages: 25 signatures at 0.02 plus 0.1 a copy.
        {"cover and 96 inner pages", true, true, false, 2000, 0, (25 * 0.02f + 0.1f) * 2000},
        {"96 inner pages", false, true, false, 2000, 0, (24 * 0.02f + 0.1f) * 2000},
        // 300 copies are charged as the minimum of 1000.
        {"minimum copies", false, true, false, 300, 1, (24 * 0.03f + 1) * 1000},
        {"cover alone", true, false, false, 2000, 2, (1 * 0.03f + 3) * 2000},
        {"inserts add no pages", false, false, true, 2000, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJobForm form = bookForm();
        form.setTicked(Ctl::Lsthua, 0, c.cover);
        form.setTicked(Ctl::Lsthua, 1, c.inner);
        form.setTicked(Ctl::Lsthua, 3, c.insert);
        form.setText(Ctl::Ncomkai, 2, "8");
        form.setListIndex(Ctl::Ncomdu, 2, 0);
        form.check(Ctl::Chkhua, 5);
        form.setListIndex(Ctl::Cmbdin, 0, c.form);
        CostResult result;
        const CostOutcome o =
            CostBook(PricedFolder::shared(), form, result, c.quantity, 16, kArea, 8, kArea, 96);
        ASSERT_TRUE(o.ok()) << o.refusal;
        EXPECT_NEAR(result.BindingCost, c.bindingCost, c.bindingCost * 1e-6);
    }
}

TEST(CostBook, CoverFinishingWithoutCoverUsesFourInnerPages) {
    FakeJobForm form = bookForm();
    form.setTicked(Ctl::Lsthua, 1, true);
    const CostResult plain = costBook(form, 96);
    form.check(Ctl::Chkhua, 2);  // 封面表面加工, 单面 过光胶
    const CostResult finished = costBook(form, 96);
    // A 16开 book has an 8开 cover: 2 × 0.53 / 8 m² a copy at 1.05 yuan.
    EXPECT_NEAR(finished.SurfaceCost, 2 * 0.53 / 8 * kQuantity * 1.05, 1e-3);
    EXPECT_EQ(finished.PrintCost, plain.PrintCost);  // no cover is printed
    EXPECT_EQ(finished.PaperCost, plain.PaperCost);
    EXPECT_EQ(finished.FilmCost, plain.FilmCost);
    // Without inner pages there is no cover to finish.
    testing::expectAllZero(costBook(form, 0));
}

TEST(CostBook, InsertUsesItsOwnSizeAndSeries) {
    FakeJobForm form = bookForm();
    form.setTicked(Ctl::Lsthua, 4, true);
    form.setText(Ctl::Ncomkai, 3, "4");
    form.setListIndex(Ctl::Ncomdu, 3, 1);  // 正度
    PartSpec insert = innerSheet(4, 2, false);
    insert.halfSheetArea = 0.43f;
    insert.gsm = 200;
    testing::expectSameResult(costBook(form, 0), resultOfParts({insert}, kQuantity));
}

TEST(CostBook, SecondInnerBlockNeverInheritsTheFirstLayout) {
    // 46开 on 对开: one unit of 内页一 lays 23-up, two units of 内页二 find no
    // even block and are not printed.
    FakeJobForm form = bookForm();
    form.setTicked(Ctl::Lsthua, 1, true);
    const CostResult first = costBook(form, 4, 46);
    EXPECT_GT(first.PrintCost, 0);
    form.setTicked(Ctl::Lsthua, 2, true);
    form.setText(Ctl::txtye, 1, "8");
    testing::expectSameResult(costBook(form, 4, 46), first);
}

TEST(CostBook, RefusesJobsThatCannotBePriced) {
    struct Case {
        const char* name;
        void (*change)(FakeJobForm&);
        float pages;
        float innerKai;
        const char* message;
    };
    const Case cases[] = {
        {"2开 pages on 对开 press sheets", [](FakeJobForm&) {}, 96, 2, "容纳不下一贴"},
        {"no press-sheet size", [](FakeJobForm& f) { f.setText(Ctl::Cmbkaizhi, 1, "0"); }, 96, 16,
         "内页一的开纸大小必须大于零"},
        {"no paper", [](FakeJobForm& f) { f.setListIndex(Ctl::Ncomzhi, 1, -1); }, 96, 16,
         "请为内页一选择纸张"},
        {"page Kai 0", [](FakeJobForm&) {}, 96, 0, "整书规格的开数"},
        {"negative pages", [](FakeJobForm&) {}, -4, 16, "页数不能为负数"},
        {"absurd page count", [](FakeJobForm&) {}, 4e6f, 16, "过多"},
        {"colours not a number", [](FakeJobForm& f) { f.setText(Ctl::Ncomyinse, 3, "四"); }, 96, 16,
         "内页一的印色“四”不是有效的数字"},
        {"insert without series",
         [](FakeJobForm& f) {
             f.setTicked(Ctl::Lsthua, 3, true);
             f.setText(Ctl::Ncomkai, 2, "8");
         },
         96, 16, "插页一的纸张规格"},
        {"second block pages not a number",
         [](FakeJobForm& f) {
             f.setTicked(Ctl::Lsthua, 2, true);
             f.setText(Ctl::txtye, 1, "");
         },
         96, 16, "内页二的页数"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJobForm form = bookForm();
        form.setTicked(Ctl::Lsthua, 0, true);
        form.setTicked(Ctl::Lsthua, 1, true);
        form.check(Ctl::Chkhua, 5);
        c.change(form);
        CostOutcome outcome;
        const CostResult result = costBook(form, c.pages, c.innerKai, &outcome);
        EXPECT_FALSE(outcome.ok());
        EXPECT_NE(outcome.refusal.find(c.message), std::string::npos) << outcome.refusal;
        testing::expectAllZero(result);
    }
}

TEST(CostBook, ZeroQuantityIsRefused) {
    FakeJobForm form = bookForm();
    form.setTicked(Ctl::Lsthua, 1, true);
    CostResult result;
    const CostOutcome o =
        CostBook(PricedFolder::shared(), form, result, 0, 16, kArea, 8, kArea, 96);
    EXPECT_EQ(o.refusal, "数量不能为零！");
}

TEST(CostBook, UnusedTextsAreNotChecked) {
    // Foil area and die difficulties matter only when their boxes are ticked.
    FakeJobForm form = bookForm();
    form.setTicked(Ctl::Lsthua, 1, true);
    form.setText(Ctl::txttang, 0, "x");
    form.setText(Ctl::Comnd, 5, "");
    form.setText(Ctl::Ncomyinse, 8, "bad");  // 插页二, not ticked
    costBook(form, 96);
}

}  // namespace
}  // namespace inkquot
