#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "core/costing/control_catalogue.h"

namespace inkquot {
namespace {

using Items = std::vector<std::string>;

const ControlStart& start(Ctl c, int i) {
    return controlDef(c).entries.at(static_cast<std::size_t>(i));
}

TEST(Catalogue, ArraySizes) {
    struct Case {
        Ctl control;
        int count;
    } cases[] = {
        {Ctl::comleibie, 1},   {Ctl::txtkehuming, 5}, {Ctl::txtyinjianming, 5},
        {Ctl::txtshuliang, 5}, {Ctl::txtye, 4},       {Ctl::txttang, 2},
        {Ctl::Ntxtkaizhi, 8},  {Ctl::Ncomkai, 8},     {Ctl::Ncomdu, 8},
        {Ctl::Cmbkaizhi, 11},  {Ctl::Ncomke, 10},     {Ctl::Ncomzhi, 10},
        {Ctl::Nzhibu, 1},      {Ctl::Ncomyinse, 21},  {Ctl::Ncomzhuanse, 11},
        {Ctl::Comnd, 19},      {Ctl::Comyinji, 11},   {Ctl::Cmbfeilin, 5},
        {Ctl::comjiao, 7},     {Ctl::Cmbdin, 1},      {Ctl::Cmbzheci, 1},
        {Ctl::Chkhua, 6},      {Ctl::Chkbao, 2},      {Ctl::Chkdan, 6},
        {Ctl::Chkhe, 8},       {Ctl::Chkbu, 5},       {Ctl::Chkban, 4},
        {Ctl::Chkzifan, 11},   {Ctl::Chkzhikai, 11},  {Ctl::Lsthua, 1},
        {Ctl::Lstbao, 1},      {Ctl::lsthe, 1},       {Ctl::optwa, 1},
        {Ctl::optnian, 1},
    };
    EXPECT_EQ(controlCatalogue().size(), std::size(cases));
    for (const auto& c : cases) {
        EXPECT_EQ(controlDef(c.control).count(), c.count) << controlName(c.control);
        EXPECT_EQ(controlDef(c.control).control, c.control);
    }
}

TEST(Catalogue, NamesFindTheirControls) {
    std::set<std::string_view> names;
    for (const ControlDef& d : controlCatalogue()) {
        EXPECT_TRUE(names.insert(d.name).second) << d.name;
        ASSERT_NE(findControl(d.name), nullptr) << d.name;
        EXPECT_EQ(findControl(d.name)->control, d.control);
    }
    EXPECT_EQ(findControl("ncomkai"), nullptr);
    EXPECT_EQ(findControl("Frmhua"), nullptr);
}

// A list that starts with a selection shows that item; the 开 lists, gram
// weights, colours, factors and folds are read as text, so their text must
// be one of their items at start.
TEST(Catalogue, StartingSelectionsAreItems) {
    for (const ControlDef& d : controlCatalogue()) {
        for (int i = 0; i < d.count(); ++i) {
            const ControlStart& s = d.entries[static_cast<std::size_t>(i)];
            const std::string where = std::string(d.name) + "(" + std::to_string(i) + ")";
            if (d.kind == ControlKind::PositionList && d.schemeItems == 0) {
                ASSERT_GE(s.position, 0) << where;
                ASSERT_LT(s.position, static_cast<int>(s.items.size())) << where;
            }
            if (d.kind == ControlKind::TextList && d.control != Ctl::Cmbkaizhi) {
                ASSERT_FALSE(s.items.empty()) << where;
                EXPECT_NE(std::find(s.items.begin(), s.items.end(), s.text), s.items.end())
                    << where;
                EXPECT_EQ(s.items.at(static_cast<std::size_t>(s.position)), s.text) << where;
            }
        }
    }
    EXPECT_EQ(controlDef(Ctl::Ncomzhi).schemeItems, 50);
    EXPECT_EQ(controlDef(Ctl::Nzhibu).schemeItems, 10);
}

TEST(Catalogue, StartingTexts) {
    struct Case {
        Ctl control;
        int index;
        const char* text;
    } cases[] = {
        {Ctl::txtkehuming, 0, "客户1"},
        {Ctl::txtshuliang, 1, "20000"},
        {Ctl::txtshuliang, 4, "10000"},
        {Ctl::txtye, 3, "0"},
        {Ctl::txttang, 1, "0"},
        {Ctl::Ntxtkaizhi, 7, "2"},
        {Ctl::Ncomkai, 0, "16"},
        {Ctl::Ncomkai, 1, "8"},
        {Ctl::Ncomkai, 4, "2"},
        {Ctl::Ncomkai, 7, "16"},
        // Gram weights: the first item of each part's own list.
        {Ctl::Ncomke, 0, "250"},
        {Ctl::Ncomke, 2, "128"},
        {Ctl::Ncomke, 4, "200"},
        {Ctl::Ncomke, 6, "50"},
        {Ctl::Ncomke, 7, "157"},
        {Ctl::Ncomke, 9, "250"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(start(c.control, c.index).text, c.text)
            << controlName(c.control) << "(" << c.index << ")";
    }
    EXPECT_EQ(start(Ctl::Ncomke, 5).items.size(), 14u);
    EXPECT_EQ(start(Ctl::Ncomke, 4).items.size(), 12u);
    EXPECT_EQ(start(Ctl::Ncomke, 2).items.size(), 13u);
    EXPECT_EQ(start(Ctl::Ncomke, 9).items.size(), 14u);
}

TEST(Catalogue, ColourListsAndTheirStarts) {
    const Items usual = {"4", "1", "2", "3", "0"};
    for (int i = 0; i < 21; ++i) {
        const Items& items = start(Ctl::Ncomyinse, i).items;
        if (i == 17) {
            EXPECT_EQ(items, (Items{"0", "4", "1", "2", "3"}));
        } else if (i == 18) {
            EXPECT_EQ(items, (Items{"1", "2", "3", "4", "0"}));
        } else if (i == 19) {
            EXPECT_EQ(items, (Items{"0", "1", "2", "3", "4"}));
        } else {
            EXPECT_EQ(items, usual) << i;
        }
    }
    // Part j prints Ncomyinse(2j) + Ncomyinse(2j + 1).
    struct Case {
        int part;
        const char* front;
        const char* back;
    } cases[] = {{0, "4", "4"}, {1, "4", "4"}, {5, "4", "4"},
                 {7, "4", "4"}, {8, "4", "0"}, {9, "1", "0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(start(Ctl::Ncomyinse, 2 * c.part).text, c.front) << c.part;
        EXPECT_EQ(start(Ctl::Ncomyinse, 2 * c.part + 1).text, c.back) << c.part;
    }
    EXPECT_EQ(start(Ctl::Ncomyinse, 20).text, "4");
}

TEST(Catalogue, DifficultyIndexesCoverComndOnce) {
    std::vector<int> seen(19, 0);
    for (int i : kPrintDifficultyIndex) {
        ++seen.at(static_cast<std::size_t>(i));
    }
    for (const auto& d : kDieDifficultyIndexes) {
        ++seen.at(static_cast<std::size_t>(d.dieCut));
        ++seen.at(static_cast<std::size_t>(d.dieBoard));
    }
    for (int i = 0; i < 19; ++i) {
        EXPECT_EQ(seen[static_cast<std::size_t>(i)], 1) << "Comnd(" << i << ")";
    }
    EXPECT_EQ(kPrintDifficultyIndex[7], 9);    // the single sheet
    EXPECT_EQ(kPrintDifficultyIndex[10], 16);  // the sticker
    EXPECT_EQ(start(Ctl::Comnd, 0).items.size(), 23u);
    EXPECT_EQ(start(Ctl::Comnd, 0).items.back(), "0.1");
    EXPECT_EQ(start(Ctl::Comnd, 0).items.at(13), "5");
}

TEST(Catalogue, PressListsPerPart) {
    const Items all = {"对开平印机", "四开平印机", "八开平印机", "对开轮转机"};
    const Items flat = {"对开平印机", "四开平印机", "八开平印机"};
    const Items rotary = {"对开轮转机"};
    for (int j = 0; j < kPartCount; ++j) {
        const Items& expected = (j == 5 || j == 6) ? rotary : (j >= 8 ? flat : all);
        EXPECT_EQ(start(Ctl::Comyinji, j).items, expected) << j;
        EXPECT_EQ(start(Ctl::Comyinji, j).position, 0) << j;
        EXPECT_EQ(start(Ctl::Comyinji, j).hint.empty(), j >= 8) << j;
    }
}

TEST(Catalogue, CheckBoxStarts) {
    for (int j = 0; j < kPartCount; ++j) {
        EXPECT_EQ(start(Ctl::Chkzifan, j).check,
                  j <= 7 ? CheckState::Checked : CheckState::Unchecked)
            << j;
        EXPECT_EQ(start(Ctl::Chkzifan, j).available, j <= 4 || j == 7) << j;
        EXPECT_EQ(start(Ctl::Chkzhikai, j).check, CheckState::Greyed) << j;
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(start(Ctl::Chkban, i).check, CheckState::Checked);
        EXPECT_EQ(start(Ctl::Chkban, i).caption, "是否做模板");
    }
    for (Ctl c : {Ctl::Chkhua, Ctl::Chkbao, Ctl::Chkdan, Ctl::Chkhe, Ctl::Chkbu}) {
        for (const ControlStart& s : controlDef(c).entries) {
            EXPECT_EQ(s.check, CheckState::Unchecked) << s.caption;
        }
    }
    EXPECT_EQ(start(Ctl::Chkhua, 3).caption, "封面烫金/银");
    EXPECT_EQ(start(Ctl::Chkhe, 5).caption, "模切/压痕");
    EXPECT_EQ(start(Ctl::Chkhe, 6).caption, "裱瓦楞");
    EXPECT_EQ(start(Ctl::Chkdan, 4).caption, "压痕/模切");
}

TEST(Catalogue, SizeGroupOfKind) {
    EXPECT_EQ(sizeGroupOfKind(kBook), 0);
    EXPECT_EQ(sizeGroupOfKind(kNewspaper), 4);
    EXPECT_EQ(sizeGroupOfKind(kSingleSheet), 5);
    EXPECT_EQ(sizeGroupOfKind(kBoxBag), 6);
    EXPECT_EQ(sizeGroupOfKind(kSticker), 7);
}

}  // namespace
}  // namespace inkquot
