#include "core/costing/price_job.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "core/costing/control_catalogue.h"
#include "core/costing/cost_book.h"
#include "core/costing/cost_box_bag.h"
#include "core/costing/cost_newspaper.h"
#include "core/costing/cost_single_sheet.h"
#include "core/costing/cost_sticker.h"
#include "core/job/form_state.h"
#include "core/job/priced_job.h"
#include "tests/core/common/temp_folder.h"
#include "tests/core/costing/sample_parts.h"

namespace inkquot {
namespace {

// A program folder whose working tables are the built-in scheme.
class PriceJobTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testing::writeDefaultWorkingFiles(folder).ok()); }

    testing_support::TempFolder temp;
    ProgramFolder folder{temp.path()};
};

// The single-sheet example (testing::fillLeafletExample).
FormState leaflet() {
    FormState form;
    testing::fillLeafletExample(form);
    return form;
}

TEST_F(PriceJobTest, SingleSheetExample) {
    const FormState form = leaflet();
    CostResult result;
    const PriceOutcome outcome = priceJob(folder, form, result);
    ASSERT_TRUE(outcome.ok()) << outcome.refusal;
    EXPECT_NEAR(result.PrintCost, 800.0f, 1e-3);
    EXPECT_NEAR(result.PaperCost, 129.375f, 1e-3);
    EXPECT_NEAR(result.TotalPrice, 929.375f, 1e-3);
    EXPECT_NEAR(result.UnitPrice, 0.9294f, 1e-4);
}

TEST_F(PriceJobTest, TheRunRefusesAQuantityNoJobHas) {
    // Neither a negative run nor a fraction of a copy is a job: the pricing
    // run refuses them before any costing and keeps the last priced job.
    PricedJob priced;
    ASSERT_TRUE(priceJob(folder, leaflet(), priced).ok());
    for (const char* text : {"-1000", "1000.5"}) {
        FormState form = leaflet();
        form.setText(Ctl::txtshuliang, 2, text);
        PricedJob again = priced;
        EXPECT_EQ(priceJob(folder, form, again).refusal,
                  std::string("单张\\招贴的计价数量“") + text + "”必须是1到100000000之间的整数");
        EXPECT_EQ(again.result.TotalPrice, priced.result.TotalPrice);
        EXPECT_EQ(again.resultText, priced.resultText);
    }
}

TEST_F(PriceJobTest, RefusalsBeforeCostingKeepTheLastResult) {
    struct Case {
        const char* name;
        std::function<void(FormState&)> change;
        const char* expected;  // part of the refusal
    } cases[] = {
        {"quantity 0", [](FormState& f) { f.setText(Ctl::txtshuliang, 2, "0"); }, "数量不能为零！"},
        {"quantity 0.0", [](FormState& f) { f.setText(Ctl::txtshuliang, 2, " 0.0 "); },
         "数量不能为零！"},
        {"quantity -0", [](FormState& f) { f.setText(Ctl::txtshuliang, 2, "-0"); },
         "数量不能为零！"},
        {"quantity text", [](FormState& f) { f.setText(Ctl::txtshuliang, 2, "一千"); },
         "txtshuliang(2)"},
        {"kai text", [](FormState& f) { f.setText(Ctl::Ncomkai, 5, "x"); }, "Ncomkai(5)"},
        {"no series", [](FormState& f) { f.setListIndex(Ctl::Ncomdu, 5, -1); }, "Ncomdu(5)"},
        {"no kind", [](FormState& f) { f.setListIndex(Ctl::comleibie, 0, -1); }, "印件类别"},
    };
    for (const auto& c : cases) {
        FormState form = leaflet();
        c.change(form);
        CostResult result;
        result.TotalPrice = 123;  // the last run's totals
        const PriceOutcome outcome = priceJob(folder, form, result);
        EXPECT_FALSE(outcome.ok()) << c.name;
        EXPECT_NE(outcome.refusal.find(c.expected), std::string::npos)
            << c.name << ": " << outcome.refusal;
        EXPECT_EQ(result.TotalPrice, 123) << c.name;
    }
    // Exactly the screen's text for a zero quantity.
    FormState form = leaflet();
    form.setText(Ctl::txtshuliang, 2, "0");
    CostResult result;
    EXPECT_EQ(priceJob(folder, form, result).refusal, "数量不能为零！");
}

// Only the arguments of the job's own kind are read: a broken book cover
// size does not stop a leaflet.
TEST_F(PriceJobTest, ReadsOnlyTheKindsArguments) {
    FormState form = leaflet();
    form.setText(Ctl::Ncomkai, 1, "x");
    form.setText(Ctl::txtshuliang, 0, "0");
    CostResult result;
    EXPECT_TRUE(priceJob(folder, form, result).ok());
}

TEST_F(PriceJobTest, RefusalOfTheProcedureClearsTheResult) {
    // A 2开 book on 对开 press sheets puts less than four pages on a sheet.
    FormState form;
    form.setText(Ctl::Ncomkai, 0, "2");
    form.setText(Ctl::txtye, 0, "8");
    form.setTicked(Ctl::Lsthua, 1, true);
    CostResult result;
    result.TotalPrice = 123;
    const PriceOutcome outcome = priceJob(folder, form, result);
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(result.TotalPrice, 0);
}

// The run hands each procedure the quantity, 开 and half-sheet area of the
// kind's own size entry, in the procedure's order.
TEST_F(PriceJobTest, ArgumentsPerKind) {
    using Direct = std::function<CostOutcome(const FormState&, CostResult&)>;
    struct Case {
        int kind;
        std::function<void(FormState&)> job;
        Direct direct;
    } cases[] = {
        {kBook,
         [](FormState& f) {
             f.setText(Ctl::txtshuliang, 0, "3000");
             f.setText(Ctl::Ncomkai, 0, "32");
             f.setListIndex(Ctl::Ncomdu, 0, 1);
             f.setText(Ctl::Ncomkai, 1, "16");
             f.setText(Ctl::txtye, 0, "100");
             f.setTicked(Ctl::Lsthua, 0, true);
             f.setTicked(Ctl::Lsthua, 1, true);
             f.setCheckState(Ctl::Chkhua, 5, CheckState::Checked);
         },
         [this](const FormState& f, CostResult& r) {
             return CostBook(folder, f, r, 3000, 32, 0.43f, 16, 0.53f, 100);
         }},
        {kNewspaper,
         [](FormState& f) {
             f.setText(Ctl::Ncomkai, 4, "4");
             f.setListIndex(Ctl::Ncomdu, 4, 1);
             f.setText(Ctl::txtye, 2, "8");
             f.setTicked(Ctl::Lstbao, 0, true);
         },
         [this](const FormState& f, CostResult& r) {
             return CostNewspaper(folder, f, r, 20000, 4, 0.43f);
         }},
        {kBoxBag,
         [](FormState& f) {
             f.setText(Ctl::txtshuliang, 3, "5000");
             f.setText(Ctl::Ncomkai, 6, "8");
             f.setTicked(Ctl::lsthe, 0, true);
             f.setCheckState(Ctl::Chkhe, 2, CheckState::Checked);
         },
         [this](const FormState& f, CostResult& r) {
             return CostBoxBag(folder, f, r, 5000, 8, 0.53f);
         }},
        {kSticker,
         [](FormState& f) {
             f.setText(Ctl::txtshuliang, 4, "2000");
             f.setText(Ctl::Ncomkai, 7, "32");
             f.setListIndex(Ctl::Ncomdu, 7, 1);
             f.setCheckState(Ctl::Chkbu, 0, CheckState::Checked);
             f.setCheckState(Ctl::Chkbu, 3, CheckState::Checked);
         },
         [this](const FormState& f, CostResult& r) {
             return CostSticker(folder, f, r, 2000, 0.43f, 32);
         }},
    };
    for (const auto& c : cases) {
        FormState form;
        form.setListIndex(Ctl::comleibie, 0, c.kind);
        c.job(form);
        CostResult viaRun;
        const PriceOutcome outcome = priceJob(folder, form, viaRun);
        ASSERT_TRUE(outcome.ok()) << c.kind << ": " << outcome.refusal;
        CostResult direct;
        ASSERT_TRUE(c.direct(form, direct).ok()) << c.kind;
        EXPECT_GT(viaRun.TotalPrice, 0) << c.kind;
        EXPECT_EQ(viaRun.TotalPrice, direct.TotalPrice) << c.kind;
        EXPECT_EQ(viaRun.UnitPrice, direct.UnitPrice) << c.kind;
    }
}

TEST(HalfSheetArea, FromTheSeriesPosition) {
    EXPECT_EQ(halfSheetAreaOfSeries(0), 0.53f);
    EXPECT_EQ(halfSheetAreaOfSeries(1), 0.43f);
}

}  // namespace
}  // namespace inkquot
