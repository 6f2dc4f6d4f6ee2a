#include "core/job/form_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/costing/control_catalogue.h"
#include "core/costing/press_rules.h"

namespace inkquot {
namespace {

using Sizes = std::vector<std::string>;

TEST(FormState, StartRunsThePressRulesForEveryPart) {
    const FormState form;
    for (int j = 0; j < kPartCount; ++j) {
        EXPECT_EQ(form.listIndex(Ctl::Comyinji, j), 0) << j;
        // Every 开 starts so that the half-sheet press offers 2 and 4; the
        // newspaper pages have no sheet sizes.
        const bool newspaper = j == 5 || j == 6;
        EXPECT_EQ(form.items(Ctl::Cmbkaizhi, j), newspaper ? Sizes{} : (Sizes{"2", "4"})) << j;
        EXPECT_EQ(form.text(Ctl::Cmbkaizhi, j), newspaper ? "" : "2") << j;
        EXPECT_FALSE(form.enabled(Ctl::Cmbkaizhi, j)) << j;
        EXPECT_EQ(form.checkState(Ctl::Chkzifan, j),
                  j <= 7 ? CheckState::Checked : CheckState::Unchecked)
            << j;
        EXPECT_EQ(form.enabled(Ctl::Chkzifan, j), j <= 4 || j == 7) << j;
    }
    EXPECT_EQ(form.listIndex(Ctl::comleibie), 0);
    EXPECT_EQ(form.text(Ctl::Ncomyinse, 17), "0");
    EXPECT_EQ(form.listIndex(Ctl::Ncomzhi, 9), 0);
    EXPECT_EQ(form.items(Ctl::Ncomzhi, 9).size(), 50u);
    EXPECT_EQ(form.option(Ctl::optnian), 0);
    EXPECT_FALSE(form.ticked(Ctl::Lsthua, 0));
    EXPECT_TRUE(form.warnings().empty());
}

// A press choice on the single sheet (K 16 at start), then what the part
// shows: press, sizes, self-turn tick and whether the box can be used.
TEST(FormState, PressChoiceOnTheSingleSheet) {
    struct Step {
        const char* ncomkai;
        const char* ntxtkaizhi;
        int press;
        int position;
        Sizes sizes;
        CheckState selfTurn;
        bool selfTurnEnabled;
    } steps[] = {
        {"16", "2", 1, 1, {"4", "8"}, CheckState::Checked, true},
        {"16", "2", 2, 2, {"8", "16"}, CheckState::Checked, true},
        {"16", "2", 3, 3, {"2"}, CheckState::Unchecked, false},
        {"16", "2", 0, 0, {"2", "4"}, CheckState::Checked, true},
        {"8", "2", 2, 2, {"8"}, CheckState::Checked, true},
        {"4", "2", 2, 0, {"2", "4"}, CheckState::Checked, true},  // refused
        {"8", "1", 1, 0, {"1"}, CheckState::Checked, true},       // refused
        {"8", "1", 3, 3, {"1"}, CheckState::Unchecked, false},
        {"12", "3", 1, 1, {"6", "12"}, CheckState::Checked, true},
    };
    for (const auto& s : steps) {
        FormState form;
        form.setText(Ctl::Ncomkai, 5, s.ncomkai);
        form.setText(Ctl::Ntxtkaizhi, 5, s.ntxtkaizhi);
        form.setListIndex(Ctl::Comyinji, 7, s.press);
        const std::string at =
            std::string(s.ncomkai) + "/" + s.ntxtkaizhi + " press " + std::to_string(s.press);
        EXPECT_EQ(form.listIndex(Ctl::Comyinji, 7), s.position) << at;
        EXPECT_EQ(form.items(Ctl::Cmbkaizhi, 7), s.sizes) << at;
        EXPECT_EQ(form.text(Ctl::Cmbkaizhi, 7), s.sizes.front()) << at;
        EXPECT_EQ(form.listIndex(Ctl::Cmbkaizhi, 7), 0) << at;
        EXPECT_EQ(form.checkState(Ctl::Chkzifan, 7), s.selfTurn) << at;
        EXPECT_EQ(form.enabled(Ctl::Chkzifan, 7), s.selfTurnEnabled) << at;
    }
}

TEST(FormState, SizeChangesResetTheirGroupOnly) {
    FormState form;
    form.setListIndex(Ctl::Comyinji, 1, kPressDuikaiRotary);
    form.setListIndex(Ctl::Comyinji, 2, kPressSikaiFlat);
    form.setListIndex(Ctl::Comyinji, 0, kPressSikaiFlat);
    form.setListIndex(Ctl::Comyinji, 7, kPressSikaiFlat);
    form.setCheckState(Ctl::Chkzifan, 2, CheckState::Unchecked);

    // The book's 开: both inner blocks go back to 对开, the cover does not.
    form.setText(Ctl::Ncomkai, 0, "32");
    for (int j : {1, 2}) {
        EXPECT_EQ(form.listIndex(Ctl::Comyinji, j), 0) << j;
        EXPECT_EQ(form.items(Ctl::Cmbkaizhi, j), (Sizes{"2", "4"})) << j;
        EXPECT_EQ(form.checkState(Ctl::Chkzifan, j), CheckState::Checked) << j;
        EXPECT_TRUE(form.enabled(Ctl::Chkzifan, j)) << j;
    }
    EXPECT_EQ(form.listIndex(Ctl::Comyinji, 0), 1);
    EXPECT_EQ(form.listIndex(Ctl::Comyinji, 7), 1);

    // The single sheet's press-sheet 开: Z 4 with K 16 offers 4 and 8.
    form.setText(Ctl::Ntxtkaizhi, 5, "4");
    EXPECT_EQ(form.listIndex(Ctl::Comyinji, 7), 0);
    EXPECT_EQ(form.items(Ctl::Cmbkaizhi, 7), (Sizes{"4", "8"}));

    // The box group resets face paper and lining; their self-turn boxes
    // stay as they are.
    form.setListIndex(Ctl::Comyinji, 9, kPressSikaiFlat);
    form.setText(Ctl::Ncomkai, 6, "8");
    EXPECT_EQ(form.listIndex(Ctl::Comyinji, 9), 0);
    EXPECT_EQ(form.checkState(Ctl::Chkzifan, 8), CheckState::Unchecked);
    EXPECT_FALSE(form.enabled(Ctl::Chkzifan, 9));
}

TEST(FormState, InnerPagesUseHalfTheBookKai) {
    FormState form;
    form.setText(Ctl::Ntxtkaizhi, 0, "4");
    form.setListIndex(Ctl::Comyinji, 1, kPressSikaiFlat);
    // K = 16 / 2 = 8: 2Z = 8 divides, 4Z = 16 does not.
    EXPECT_EQ(form.items(Ctl::Cmbkaizhi, 1), (Sizes{"8"}));
}

TEST(FormState, NotANumberKaiChangesNothing) {
    FormState form;
    form.setListIndex(Ctl::Comyinji, 7, kPressBakaiFlat);
    form.setText(Ctl::Ncomkai, 5, "十六");
    EXPECT_EQ(form.warnings(), (std::vector<std::string>{"发生错误!"}));
    EXPECT_EQ(form.listIndex(Ctl::Comyinji, 7), kPressBakaiFlat);
    EXPECT_EQ(form.items(Ctl::Cmbkaizhi, 7), (Sizes{"8", "16"}));
    // Writing the same text again is no change and runs nothing.
    form.clearWarnings();
    form.setText(Ctl::Ncomkai, 5, "十六");
    EXPECT_TRUE(form.warnings().empty());
}

TEST(FormState, NewspaperPressChangesNothingElse) {
    FormState form;
    form.setListIndex(Ctl::Comyinji, 5, 0);
    EXPECT_TRUE(form.items(Ctl::Cmbkaizhi, 5).empty());
    EXPECT_EQ(form.checkState(Ctl::Chkzifan, 5), CheckState::Checked);
    EXPECT_FALSE(form.enabled(Ctl::Chkzifan, 5));
    EXPECT_THROW(form.setListIndex(Ctl::Comyinji, 5, 1), std::out_of_range);
    EXPECT_THROW(form.setListIndex(Ctl::Comyinji, 8, 3), std::out_of_range);
}

TEST(FormState, ClickOnAKaiItemResetsThePressSheet) {
    FormState form;
    form.setText(Ctl::Ntxtkaizhi, 0, "4");
    form.chooseKai(0, 2);  // "32"
    EXPECT_EQ(form.text(Ctl::Ncomkai, 0), "32");
    EXPECT_EQ(form.text(Ctl::Ntxtkaizhi, 0), "2");
    EXPECT_EQ(form.items(Ctl::Cmbkaizhi, 1), (Sizes{"2", "4"}));
}

TEST(FormState, ListsTextsAndChecks) {
    FormState form;
    // A typed text selects the matching item, or none.
    form.setText(Ctl::Ncomke, 7, "200");
    EXPECT_EQ(form.listIndex(Ctl::Ncomke, 7), 8);
    form.setText(Ctl::Ncomke, 7, "190");
    EXPECT_EQ(form.listIndex(Ctl::Ncomke, 7), -1);
    EXPECT_EQ(form.text(Ctl::Ncomke, 7), "190");
    // A list read by position shows its item.
    form.setListIndex(Ctl::comjiao, 3, 3);
    EXPECT_EQ(form.text(Ctl::comjiao, 3), "过UV");
    form.setText(Ctl::Cmbdin, 0, "精装");
    EXPECT_EQ(form.listIndex(Ctl::Cmbdin), 2);
    form.setListIndex(Ctl::Cmbfeilin, 2, -1);
    EXPECT_EQ(form.text(Ctl::Cmbfeilin, 2), "");

    form.setCheckState(Ctl::Chkzhikai, 3, CheckState::Checked);
    EXPECT_TRUE(form.enabled(Ctl::Cmbkaizhi, 3));
    form.setCheckState(Ctl::Chkzhikai, 3, CheckState::Unchecked);
    EXPECT_FALSE(form.enabled(Ctl::Cmbkaizhi, 3));

    form.setTicked(Ctl::lsthe, 1, true);
    EXPECT_TRUE(form.ticked(Ctl::lsthe, 1));
    form.setOption(Ctl::optwa, 2);
    EXPECT_EQ(form.option(Ctl::optwa), 2);
    EXPECT_EQ(form.text(Ctl::optwa), "七层");

    form.setPaperNames({"铜版纸", "哑粉纸"});
    form.setListIndex(Ctl::Ncomzhi, 4, 1);
    EXPECT_EQ(form.text(Ctl::Ncomzhi, 4), "哑粉纸");
    form.setPaperNames({"铜版纸"});
    EXPECT_EQ(form.listIndex(Ctl::Ncomzhi, 4), 0);
}

// A screen shows the model by re-showing what an event wrote: every control
// a rule touched must be named, or the screen would show a stale value.
TEST(FormState, EventsNameWhatTheyChanged) {
    using Ref = FormState::ControlRef;
    FormState form;
    form.takeChanges();

    form.setListIndex(Ctl::Comyinji, 7, 3);  // the rotary press
    EXPECT_EQ(form.takeChanges(),
              (std::vector<Ref>{{Ctl::Comyinji, 7}, {Ctl::Cmbkaizhi, 7}, {Ctl::Chkzifan, 7}}));

    form.setCheckState(Ctl::Chkzhikai, 8, CheckState::Checked);
    EXPECT_EQ(form.takeChanges(), (std::vector<Ref>{{Ctl::Chkzhikai, 8}, {Ctl::Cmbkaizhi, 8}}));
    EXPECT_TRUE(form.switchesOn(Ctl::Chkzhikai, 8));

    // A 开 of the box: both box parts are reset, each named once.
    form.setText(Ctl::Ncomkai, 6, "8");
    const auto reset = form.takeChanges();
    EXPECT_EQ(reset.front(), (Ref{Ctl::Ncomkai, 6}));
    for (const Ref r : {Ref{Ctl::Comyinji, 8}, Ref{Ctl::Cmbkaizhi, 8}, Ref{Ctl::Comyinji, 9},
                        Ref{Ctl::Cmbkaizhi, 9}}) {
        EXPECT_EQ(std::count(reset.begin(), reset.end(), r), 1);
    }

    // The press sheet keeps its number; nothing changes but the warning.
    form.setText(Ctl::Ntxtkaizhi, 6, "x");
    EXPECT_TRUE(form.takeChanges().empty());
    EXPECT_EQ(form.takeWarnings(), std::vector<std::string>{"非法数据！"});
    EXPECT_EQ(form.text(Ctl::Ntxtkaizhi, 6), "2");

    // A click on the cover: the size-follow rule and its hint; the inner
    // pages copy nothing.
    form.setTicked(Ctl::Lsthua, 0, true);
    form.setText(Ctl::Ncomkai, 0, "32");
    EXPECT_TRUE(form.switchesOn(Ctl::Lsthua, 0));
    EXPECT_FALSE(form.switchesOn(Ctl::Lsthua, 1));
    form.takeChanges();
    form.clickPartItem(Ctl::Lsthua, 1);
    EXPECT_TRUE(form.takeChanges().empty());
    EXPECT_TRUE(form.takeHints().empty());
    form.clickPartItem(Ctl::Lsthua, 0);
    const auto cover = form.takeChanges();
    EXPECT_EQ(form.text(Ctl::Ncomkai, 1), "16");
    EXPECT_EQ(std::count(cover.begin(), cover.end(), Ref{Ctl::Ncomkai, 1}), 1);
    EXPECT_EQ(std::count(cover.begin(), cover.end(), Ref{Ctl::Comyinji, 0}), 1);
    EXPECT_EQ(form.takeHints().size(), 1u);
    EXPECT_TRUE(form.takeWarnings().empty());
}

// Every control of two forms, as a screen or the costing would read them.
void expectSameForm(const FormState& a, const FormState& b) {
    for (const ControlDef& d : controlCatalogue()) {
        for (int i = 0; i < d.count(); ++i) {
            SCOPED_TRACE(std::string(d.name) + "(" + std::to_string(i) + ")");
            EXPECT_EQ(a.items(d.control, i), b.items(d.control, i));
            EXPECT_EQ(a.enabled(d.control, i), b.enabled(d.control, i));
            switch (d.kind) {
                case ControlKind::PartList:
                    for (int item = 0; item < static_cast<int>(a.items(d.control).size()); ++item) {
                        EXPECT_EQ(a.ticked(d.control, item), b.ticked(d.control, item));
                    }
                    break;
                case ControlKind::CheckBox:
                    EXPECT_EQ(a.checkState(d.control, i), b.checkState(d.control, i));
                    break;
                case ControlKind::OptionGroup:
                    EXPECT_EQ(a.option(d.control), b.option(d.control));
                    break;
                case ControlKind::TextList:
                case ControlKind::PositionList:
                    EXPECT_EQ(a.listIndex(d.control, i), b.listIndex(d.control, i));
                    [[fallthrough]];
                case ControlKind::TextBox:
                    EXPECT_EQ(a.text(d.control, i), b.text(d.control, i));
                    break;
            }
        }
    }
}

// A batch starts every job from its starting form by copying back only what
// the last job wrote: every kind of change, rules and all, is undone.
TEST(FormState, RestoreUndoesEveryChange) {
    FormState origin;
    origin.setPaperNames({"铜版纸", "胶版纸"});
    origin.takeChanges();
    FormState form = origin;
    for (int round = 0; round < 2; ++round) {
        form.setText(Ctl::Ncomkai, 6, "8");
        form.setText(Ctl::Ntxtkaizhi, 6, "x");
        form.setListIndex(Ctl::Comyinji, 7, 3);
        form.setCheckState(Ctl::Chkzhikai, 8, CheckState::Checked);
        form.setTicked(Ctl::Lsthua, 0, true);
        form.setText(Ctl::Ncomkai, 0, "32");
        form.clickPartItem(Ctl::Lsthua, 0);
        form.chooseKai(0, 0);
        form.setOption(Ctl::optwa, 1);
        form.setText(Ctl::txtshuliang, 2, "5000");
        form.setListIndex(Ctl::Ncomzhi, 3, 1);
        form.setPaperNames({"牛皮纸"});
        EXPECT_FALSE(form.warnings().empty());
        form.restore(origin);
        expectSameForm(form, origin);
        EXPECT_TRUE(form.warnings().empty());
        EXPECT_TRUE(form.takeHints().empty());
        EXPECT_TRUE(form.takeChanges().empty());
    }
}

TEST(FormState, FaultsOfTheCallerThrow) {
    FormState form;
    EXPECT_THROW(form.text(Ctl::Ncomkai, 8), std::out_of_range);
    EXPECT_THROW(form.text(Ctl::Ncomkai, -1), std::out_of_range);
    EXPECT_THROW(form.checkState(Ctl::Chkzifan, 11), std::out_of_range);
    EXPECT_THROW(form.ticked(Ctl::Lsthua, 5), std::out_of_range);
    EXPECT_THROW(form.ticked(Ctl::Chkhua, 0), std::logic_error);
    EXPECT_THROW(form.checkState(Ctl::Ncomkai, 0), std::logic_error);
    EXPECT_THROW(form.listIndex(Ctl::txtshuliang, 0), std::logic_error);
    EXPECT_THROW(form.setOption(Ctl::optwa, 3), std::out_of_range);
    EXPECT_THROW(form.setText(Ctl::Chkhua, 0, "x"), std::logic_error);
}

}  // namespace
}  // namespace inkquot
