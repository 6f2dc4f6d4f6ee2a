#include "core/costing/cost_single_sheet.h"

#include <gtest/gtest.h>

#include <string>

#include "core/costing/press_kind.h"
#include "tests/core/costing/fake_job_form.h"
#include "tests/core/costing/priced_folder.h"

namespace inkquot {
namespace {

using testing::FakeJobForm;

// 16开 leaflet on 157 g 铜版纸, four to a 四开 press sheet, 4 + 0 colours on
// 对开平印机, only 印刷 ticked.
FakeJobForm leafletForm() {
    FakeJobForm f;
    f.printing(7, "4", "157", 0, "4", "0");
    f.check(Ctl::Chkdan, 0);
    f.finishingAtStart(2, 2, 10);
    f.setText(Ctl::Cmbzheci, 0, "1");
    return f;
}

CostResult costLeaflet(const FakeJobForm& form, float quantity = 1000,
                       CostOutcome* outcome = nullptr) {
    return testing::costWith(outcome, CostSingleSheet, form, quantity, 16, 0.53f);
}

TEST(CostSingleSheet, ThousandLeafletsOnQuarterSheets) {
    const CostResult r = costLeaflet(leafletForm());
    EXPECT_FLOAT_EQ(r.PrintCost, 800);
    EXPECT_NEAR(r.PaperCost, 129.375, 1e-3);
    EXPECT_NEAR(r.TotalPrice, 929.375, 1e-3);
    EXPECT_NEAR(r.UnitPrice, 0.9294, 5e-5);
}

TEST(CostSingleSheet, FinishingItems) {
    struct Case {
        const char* name;
        void (*change)(FakeJobForm&);
        float CostResult::*item;
        double expected;
        double totalIncrease;
    };
    const Case cases[] = {
        // No film mode chosen: film, proof (80) and design (one 16开 page in
        // four colours, 100 / 4 a colour).
        {"film without a mode",
         [](FakeJobForm& f) {
             f.check(Ctl::Chkdan, 1);
             f.setListIndex(Ctl::Cmbfeilin, 2, -1);
         },
         &CostResult::FilmCost, 300, 300},
        {"two folds",
         [](FakeJobForm& f) {
             f.check(Ctl::Chkdan, 5);
             f.setText(Ctl::Cmbzheci, 0, "2");
         },
         &CostResult::FoldCost, 20, 20},
        // 2 × 0.53 / 16 m² a sheet on one side, below the 100 yuan minimum.
        {"surface minimum", [](FakeJobForm& f) { f.check(Ctl::Chkdan, 3); },
         &CostResult::SurfaceCost, 100, 100},
        {"die board",
         [](FakeJobForm& f) {
             f.check(Ctl::Chkdan, 4);
             f.check(Ctl::Chkban, 1);
         },
         &CostResult::DieBoardCost, 400 * 0.6, 400 * 0.6 + 100},
    };
    const CostResult plain = costLeaflet(leafletForm());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJobForm form = leafletForm();
        c.change(form);
        const CostResult r = costLeaflet(form);
        EXPECT_NEAR(r.*c.item, c.expected, 1e-3);
        EXPECT_NEAR(r.TotalPrice, plain.TotalPrice + c.totalIncrease, 1e-2);
    }
}

// The press chosen in the list is priced with that press's own items: 250
// quarter sheets (or 125 eighth sheets, 500 on the eighth-sheet press) are a
// short run; the web press charges its 5000-sheet minimum and four plates.
TEST(CostSingleSheet, EachPressIsPricedWithItsOwnItems) {
    const struct {
        int position;
        const char* sheetKai;
        float printCost;
    } rows[] = {
        {kPressDuikaiFlat, "4", 800},
        {kPressSikaiFlat, "4", 480},
        {kPressBakaiFlat, "8", 240},
        {kPressDuikaiRotary, "2", 950},
        {-1, "4", 800},  // nothing selected: the half-sheet flat press
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.position);
        FakeJobForm form = leafletForm();
        form.setListIndex(Ctl::Comyinji, 7, r.position);
        form.setText(Ctl::Cmbkaizhi, 7, r.sheetKai);
        EXPECT_FLOAT_EQ(costLeaflet(form).PrintCost, r.printCost);
    }
}

TEST(CostSingleSheet, NothingIsCostedUnlessPrinted) {
    FakeJobForm form = leafletForm();
    form.check(Ctl::Chkdan, 0, false);
    form.check(Ctl::Chkdan, 1);
    form.check(Ctl::Chkdan, 3);
    form.check(Ctl::Chkdan, 5);
    form.setText(Ctl::Cmbkaizhi, 7, "");  // unused, so not refused
    testing::expectAllZero(costLeaflet(form));
}

TEST(CostSingleSheet, RefusesWhatCannotBePriced) {
    struct Case {
        const char* name;
        void (*change)(FakeJobForm&);
        float quantity;
        const char* message;
    };
    const Case cases[] = {
        {"quantity 0", [](FakeJobForm&) {}, 0, "数量不能为零！"},
        {"press sheet 0", [](FakeJobForm& f) { f.setText(Ctl::Cmbkaizhi, 7, "0"); }, 1000,
         "单张的开纸大小必须大于零"},
        {"no paper", [](FakeJobForm& f) { f.setListIndex(Ctl::Ncomzhi, 7, -1); }, 1000,
         "请为单张选择纸张"},
        {"paper beyond the table", [](FakeJobForm& f) { f.setListIndex(Ctl::Ncomzhi, 7, 50); },
         1000, "不在当前价格方案的纸价表中"},
        {"folds not a number",
         [](FakeJobForm& f) {
             f.check(Ctl::Chkdan, 5);
             f.setText(Ctl::Cmbzheci, 0, "two");
         },
         1000, "折页的折次“two”"},
        {"overflowing cost", [](FakeJobForm& f) { f.setText(Ctl::Comnd, 9, "1e10"); }, 3e38f,
         "单张的费用超出了可以计算的范围"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJobForm form = leafletForm();
        c.change(form);
        CostOutcome outcome;
        const CostResult r = costLeaflet(form, c.quantity, &outcome);
        EXPECT_NE(outcome.refusal.find(c.message), std::string::npos) << outcome.refusal;
        testing::expectAllZero(r);
    }
}

}  // namespace
}  // namespace inkquot
