#include "core/costing/cost_box_bag.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/costing/fake_job_form.h"
#include "tests/core/costing/priced_folder.h"

namespace inkquot {
namespace {

using testing::FakeJobForm;

constexpr float kQuantity = 1000;

// A 4开 box: face paper 300 g 白卡纸 4 + 0 on 对开 press sheets, lining 157 g
// 1 + 0; the starting options (三层, 单边, 单面 过光胶).
FakeJobForm boxForm() {
    FakeJobForm f;
    f.printing(8, "2", "300", 6, "4", "0");
    f.printing(9, "2", "157", 0, "1", "0");
    f.finishingAtStart(3, 4, 14);
    f.setText(Ctl::txttang, 1, "0");
    f.setOption(Ctl::optwa, 0);
    f.setOption(Ctl::optnian, 0);
    return f;
}

PartSpec boxPart(float kai, float sheetKai, float gsm, float paper, float front) {
    return testing::printedPart(kQuantity, kai, sheetKai, gsm, paper, front);
}

CostResult costBox(const FakeJobForm& form, float kai = 4, CostOutcome* outcome = nullptr) {
    return testing::costWith(outcome, CostBoxBag, form, kQuantity, kai, 0.53f);
}

TEST(CostBoxBag, PartsAndTheirCharges) {
    PartSpec face = boxPart(4, 2, 300, 7, 4);
    PartSpec lining = boxPart(4, 2, 157, 1, 1);
    lining.mountFlag = 1;
    PartSpec faceFilm = face;
    faceFilm.filmFlag = 1;
    faceFilm.impositionFlag = 1;
    PartSpec liningFilm = lining;
    liningFilm.filmFlag = 1;
    liningFilm.impositionFlag = 1;
    struct Case {
        const char* name;
        bool face;
        bool lining;
        bool film;
        std::vector<PartSpec> parts;
    };
    const Case cases[] = {
        {"face only: no mounting", true, false, false, {face}},
        {"lining carries the mounting", true, true, false, {face, lining}},
        {"lining alone", false, true, false, {lining}},
        {"film and imposition on both parts", true, true, true, {faceFilm, liningFilm}},
        {"nothing ticked", false, false, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJobForm form = boxForm();
        form.setTicked(Ctl::lsthe, 0, c.face);
        form.setTicked(Ctl::lsthe, 1, c.lining);
        form.check(Ctl::Chkhe, 0, c.film);
        form.check(Ctl::Chkhe, 1, c.film);
        const CostResult r = costBox(form);
        testing::expectSameResult(r, testing::resultOfParts(c.parts, kQuantity));
        if (c.lining) {
            // 500 对开 press sheets at 120 a thousand, under the minimum of
            // 100.
            EXPECT_FLOAT_EQ(r.MountCost, 100);
        }
    }
}

TEST(CostBoxBag, FaceFinishing) {
    struct Case {
        const char* name;
        float kai;
        void (*change)(FakeJobForm&);
        float CostResult::*item;
        double expected;
    };
    const Case cases[] = {
        // A full-sheet bag (kai 1) takes Tag4 of the bag price: 0.5 × 0.6.
        {"bag at kai 1", 1,
         [](FakeJobForm& f) {
             f.setText(Ctl::Cmbkaizhi, 8, "1");
             f.check(Ctl::Chkhe, 7);
             f.setOption(Ctl::optnian, 2);
         },
         &CostResult::GlueCost, 0.5 * 0.6 * kQuantity},
        // Box gluing on both sides of a 4开 box: 2 × 0.15 × 0.5 a box.
        {"双边 gluing", 4,
         [](FakeJobForm& f) {
             f.check(Ctl::Chkhe, 7);
             f.setOption(Ctl::optnian, 1);
         },
         &CostResult::GlueCost, 2 * 0.15 * 0.5 * kQuantity},
        // 五层 board: 2 × 0.53 m² × 2 yuan × 1.5 per full sheet, 4 boxes a sheet.
        {"五层 corrugated", 4,
         [](FakeJobForm& f) {
             f.check(Ctl::Chkhe, 6);
             f.setOption(Ctl::optwa, 1);
         },
         &CostResult::CorrugatedCost, 2 * 0.53 * 2 * 1.5 * kQuantity / 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeJobForm form = boxForm();
        form.setTicked(Ctl::lsthe, 0, true);
        form.setTicked(Ctl::lsthe, 1, true);
        c.change(form);
        const CostResult r = costBox(form, c.kai);
        EXPECT_NEAR(r.*c.item, c.expected, 1e-3);
    }
}

TEST(CostBoxBag, RefusesWhatCannotBePriced) {
    FakeJobForm form = boxForm();
    form.setTicked(Ctl::lsthe, 1, true);
    form.setListIndex(Ctl::Ncomzhi, 9, -1);
    CostOutcome outcome;
    testing::expectAllZero(costBox(form, 4, &outcome));
    EXPECT_EQ(outcome.refusal, "请为对裱里纸选择纸张。");

    form = boxForm();
    form.setTicked(Ctl::lsthe, 0, true);
    form.check(Ctl::Chkhe, 4);
    form.setText(Ctl::txttang, 1, "");
    costBox(form, 4, &outcome);
    EXPECT_NE(outcome.refusal.find("烫电化铝的面积"), std::string::npos) << outcome.refusal;

    form = boxForm();
    form.setTicked(Ctl::lsthe, 0, true);
    costBox(form, 0, &outcome);
    EXPECT_NE(outcome.refusal.find("纸盒规格的开数"), std::string::npos) << outcome.refusal;
}

}  // namespace
}  // namespace inkquot
