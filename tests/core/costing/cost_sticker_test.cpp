#include "core/costing/cost_sticker.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/core/costing/fake_job_form.h"
#include "tests/core/costing/priced_folder.h"

namespace inkquot {
namespace {

using testing::FakeJobForm;

// 16开 labels on 普通不干胶纸, four to a 四开 press sheet, 4 colours.
FakeJobForm stickerForm() {
    FakeJobForm f;
    f.setText(Ctl::Cmbkaizhi, 10, "4");
    f.setText(Ctl::Ncomzhuanse, 10, "0");
    f.setText(Ctl::Ncomyinse, 20, "4");
    f.setListIndex(Ctl::Nzhibu, 0, 0);
    f.setListIndex(Ctl::Comyinji, 10, 0);
    f.setText(Ctl::Comnd, 16, "1");
    f.setListIndex(Ctl::Cmbfeilin, 4, 0);
    f.setListIndex(Ctl::comjiao, 6, 0);
    f.setText(Ctl::Comnd, 17, "1");
    f.setText(Ctl::Comnd, 18, "1");
    f.check(Ctl::Chkbu, 0);
    return f;
}

CostResult costLabels(const FakeJobForm& form, float quantity = 1000,
                      CostOutcome* outcome = nullptr) {
    return testing::costWith(outcome, CostSticker, form, quantity, 0.53f, 16);
}

TEST(CostSticker, PaperIsBoughtPerPressSheet) {
    // 250 net press sheets plus 8 ‰ per colour run and 20 sheets per run,
    // each at 2 / 4 of the 对开 price 1.2 × 1.15.
    const CostResult r = costLabels(stickerForm());
    EXPECT_NEAR(r.PaperCost, (250 * (1 + 4 * 8 / 1000.0) + 4 * 20) * (1.38 * 2 / 4), 1e-3);
    // 250 press sheets is a short run: four colours are one plate set at 800.
    EXPECT_FLOAT_EQ(r.PrintCost, 800);
}

TEST(CostSticker, AlwaysOneSided) {
    FakeJobForm plain = stickerForm();
    FakeJobForm form = stickerForm();
    // The page's work-and-turn box, a stray second colour list and the sides
    // list of other kinds change nothing.
    form.check(Ctl::Chkzifan, 10);
    form.setText(Ctl::Ncomyinse, 21, "4");
    form.setListIndex(Ctl::comjiao, 4, 1);
    testing::expectSameResult(costLabels(form), costLabels(plain));
    // Surface finishing is charged for the printed side only.
    form.check(Ctl::Chkbu, 3);
    const CostResult r = costLabels(form, 10000);
    EXPECT_NEAR(r.SurfaceCost, 2 * 0.53 / 16 * 10000 * 1.05, 1e-3);
}

TEST(CostSticker, NothingIsCostedUnlessPrinted) {
    FakeJobForm form = stickerForm();
    form.check(Ctl::Chkbu, 0, false);
    form.check(Ctl::Chkbu, 1);
    form.check(Ctl::Chkbu, 4);
    testing::expectAllZero(costLabels(form));
}

TEST(CostSticker, RefusesAStickerPaperOutsideItsTable) {
    FakeJobForm form = stickerForm();
    form.setListIndex(Ctl::Nzhibu, 0, 10);  // the table has 10 sticker papers
    CostOutcome outcome;
    testing::expectAllZero(costLabels(form, 1000, &outcome));
    EXPECT_NE(outcome.refusal.find("不干胶所选的纸张不在"), std::string::npos) << outcome.refusal;
    form.setListIndex(Ctl::Nzhibu, 0, -1);
    costLabels(form, 1000, &outcome);
    EXPECT_EQ(outcome.refusal, "请为不干胶选择纸张。");
}

}  // namespace
}  // namespace inkquot
