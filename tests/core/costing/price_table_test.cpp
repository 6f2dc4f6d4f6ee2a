#include "core/costing/price_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/common/number_text.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/cost_book.h"
#include "core/costing/cost_box_bag.h"
#include "core/costing/cost_single_sheet.h"
#include "core/job/form_state.h"
#include "tests/core/costing/priced_folder.h"

namespace inkquot {
namespace {

using testing::PricedFolder;

// A FormState that counts the setter calls, to tell a generation that left
// the form alone from one that set it.
class CountingForm : public FormState {
public:
    void setText(Ctl c, int i, const std::string& t) override {
        ++sets;
        FormState::setText(c, i, t);
    }
    void setListIndex(Ctl c, int i, int p) override {
        ++sets;
        FormState::setListIndex(c, i, p);
    }
    void setCheckState(Ctl c, int i, CheckState s) override {
        ++sets;
        FormState::setCheckState(c, i, s);
    }
    void setTicked(Ctl list, int item, bool t) override {
        ++sets;
        FormState::setTicked(list, item, t);
    }
    void setOption(Ctl group, int chosen) override {
        ++sets;
        FormState::setOption(group, chosen);
    }
    int sets = 0;
};

std::vector<std::string> paperNames() {
    std::vector<std::string> names(50, "自定义纸张          ");
    names[0] = "铜版纸              ";  // stored names keep their padding
    names[1] = "哑粉纸              ";
    return names;
}

CountingForm formOfKind(int kind) {
    CountingForm f;
    f.setPaperNames(paperNames());
    f.setStickerPaperNames(std::vector<std::string>(10, "不干胶"));
    f.setListIndex(Ctl::comleibie, 0, kind);
    f.sets = 0;
    return f;
}

PriceTableGrid generate(JobForm& form, CostResult& result) {
    auto grid = generatePriceTable(PricedFolder::shared(), form, result);
    EXPECT_TRUE(grid.has_value());
    return grid.value_or(PriceTableGrid{});
}

TEST(PriceTable, LabelsAreNumberedSeriesFirst) {
    struct Case {
        int series, row, column, index;
    };
    for (const Case c : {Case{0, 0, 0, 0}, Case{0, 0, 5, 5}, Case{0, 1, 0, 6}, Case{0, 6, 5, 41},
                         Case{1, 0, 0, 42}, Case{1, 6, 5, 83}}) {
        EXPECT_EQ(labdanjiaIndex(c.series, c.row, c.column), c.index)
            << c.series << "/" << c.row << "/" << c.column;
    }
}

// Every cell of the table holds the costing of its own series, row and
// quantity: a table whose loops or label numbers are mixed up shows real
// prices in the wrong places.
TEST(PriceTable, EachCellHoldsTheCostingOfItsPlace) {
    struct Case {
        int kind;
        bool mark;  // 封面 for books, 裱瓦楞 for boxes
    };
    for (const Case c : {Case{kBook, true}, Case{kBook, false}, Case{kSingleSheet, false},
                         Case{kBoxBag, true}, Case{kBoxBag, false}}) {
        SCOPED_TRACE(std::to_string(c.kind) + (c.mark ? " marked" : ""));
        CountingForm f = formOfKind(c.kind);
        if (c.kind == kBook) {
            f.setTicked(Ctl::Lsthua, 0, c.mark);
        }
        if (c.kind == kBoxBag) {
            f.setCheckState(Ctl::Chkhe, 6, c.mark ? CheckState::Checked : CheckState::Unchecked);
        }
        CostResult result;
        const PriceTableGrid g = generate(f, result);
        EXPECT_EQ(g.refusedCount(), 0) << g.refusal;

        // The last cell costed is 正度, the largest quantity, the last row.
        EXPECT_EQ(result.UnitPrice, g.unitPrices[83]);
        const CostResult last = result;

        for (int s = 0; s < 2; ++s) {
            for (int i = 0; i < 7; ++i) {
                for (int j = 0; j < 6; ++j) {
                    const float area = kTableSeriesAreas[s];
                    CostResult expected;
                    const float q = g.quantities[j];
                    const float row = g.rows[i];
                    if (c.kind == kBook) {
                        CostBook(PricedFolder::shared(), f, expected, q, 16, area, 8, area, row);
                    } else if (c.kind == kSingleSheet) {
                        CostSingleSheet(PricedFolder::shared(), f, expected, q, row, area);
                    } else {
                        CostBoxBag(PricedFolder::shared(), f, expected, q, row, area);
                    }
                    const int cell = s * 42 + i * 6 + j;
                    ASSERT_EQ(g.unitPrices[cell], expected.UnitPrice) << "cell " << cell;
                    EXPECT_EQ(g.labdanjia[cell], groupedFixed(expected.UnitPrice, 4));
                    if (cell == 83) {
                        testing::expectSameResult(last, expected);
                    }
                }
            }
        }
        // Distinct places give distinct prices, so the check above means
        // something.
        EXPECT_NE(g.unitPrices[0], g.unitPrices[42]);
        EXPECT_NE(g.unitPrices[0], g.unitPrices[1]);
        EXPECT_NE(g.unitPrices[0], g.unitPrices[6]);
    }
}

TEST(PriceTable, QuantitiesRowsAndLabelsOfEachKind) {
    struct Case {
        const char* name;
        int kind;
        bool mark;
        std::vector<std::string> labshu;
        std::vector<float> rows;
        std::vector<std::string> labddu;
        const char* lablei;
    };
    const std::vector<std::string> bookPages = {"8P", "12P", "16P", "20P", "32P", "48P", "64P"};
    const std::vector<std::string> bookQuantities = {"1000", "2000",  "3000",
                                                     "5000", "10000", "20000"};
    const std::vector<std::string> from1000 = {"1000", "3000", "5000", "10000", "20000", "50000"};
    const std::vector<Case> cases = {
        {"book with cover",
         kBook,
         true,
         bookQuantities,
         {4, 8, 12, 16, 28, 44, 60},
         bookPages,
         "画册类"},
        {"book without cover",
         kBook,
         false,
         bookQuantities,
         {8, 12, 16, 20, 32, 48, 64},
         bookPages,
         "画册类"},
        {"single sheet",
         kSingleSheet,
         false,
         from1000,
         {2, 4, 8, 16, 32, 64, 128},
         {"2开", "4开", "8开", "16开", "32开", "64开", "128开"},
         "单张类"},
        {"corrugated box",
         kBoxBag,
         true,
         from1000,
         {2, 3, 4, 6, 8, 12, 16},
         {"2开", "3开", "4开", "6开", "8开", "12开", "16开"},
         "纸盒类-裱瓦楞"},
        {"flat box",
         kBoxBag,
         false,
         {"3000", "5000", "10000", "20000", "50000", "100000"},
         {4, 6, 8, 16, 32, 64, 128},
         {"4开", "6开", "8开", "16开", "32开", "64开", "128开"},
         "纸盒类-不裱瓦楞"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CountingForm f = formOfKind(c.kind);
        if (c.kind == kBook) {
            f.setTicked(Ctl::Lsthua, 0, c.mark);
        }
        if (c.kind == kBoxBag) {
            f.setCheckState(Ctl::Chkhe, 6, c.mark ? CheckState::Checked : CheckState::Unchecked);
        }
        CostResult result;
        const PriceTableGrid g = generate(f, result);
        EXPECT_EQ(g.kind, c.kind);
        EXPECT_EQ(g.lablei, c.lablei);
        EXPECT_EQ(std::vector<std::string>(g.labshu.begin(), g.labshu.end()), c.labshu);
        EXPECT_EQ(std::vector<float>(g.rows.begin(), g.rows.end()), c.rows);
        EXPECT_EQ(std::vector<std::string>(g.labddu.begin(), g.labddu.end()), c.labddu);
    }
}

TEST(PriceTable, NewspapersAndStickersHaveNoTableAndKeepTheirForm) {
    for (int kind : {int{kNewspaper}, int{kSticker}, -1}) {
        SCOPED_TRACE(kind);
        CountingForm f;
        if (kind >= 0) {
            f.setListIndex(Ctl::comleibie, 0, kind);
        } else {
            f.setListIndex(Ctl::comleibie, 0, -1);
        }
        f.setCheckState(Ctl::Chkbu, 0, CheckState::Checked);
        f.sets = 0;
        CostResult result;
        result.UnitPrice = 1.5f;
        EXPECT_FALSE(generatePriceTable(PricedFolder::shared(), f, result).has_value());
        EXPECT_EQ(f.sets, 0);
        EXPECT_EQ(result.UnitPrice, 1.5f);
    }
    for (int kind = 0; kind < kJobKindCount; ++kind) {
        EXPECT_EQ(offersPriceTable(kind), kind == kBook || kind == kSingleSheet || kind == kBoxBag);
    }
}

TEST(PriceTable, ForcesTheTableFormOfTheJob) {
    struct Check {
        Ctl box;
        int index;
        bool on;
    };
    struct Case {
        int kind;
        std::vector<Check> checks;
        std::vector<std::pair<Ctl, std::vector<bool>>> ticks;  // expected ticks of a part list
        int spotPart;
    };
    const std::vector<Case> cases = {
        {kBook,
         {{Ctl::Chkhua, 0, true},
          {Ctl::Chkhua, 1, true},
          {Ctl::Chkhua, 2, false},
          {Ctl::Chkhua, 3, false},
          {Ctl::Chkhua, 4, false},
          {Ctl::Chkhua, 5, true}},
         {{Ctl::Lsthua, {true, true, false, false, false}}},
         1},
        {kSingleSheet,
         {{Ctl::Chkdan, 0, true},
          {Ctl::Chkdan, 1, true},
          {Ctl::Chkdan, 2, true},
          {Ctl::Chkdan, 3, false},
          {Ctl::Chkdan, 4, false},
          {Ctl::Chkdan, 5, false}},
         {},
         7},
        {kBoxBag,
         {{Ctl::Chkhe, 0, true},
          {Ctl::Chkhe, 1, true},
          {Ctl::Chkhe, 2, false},
          {Ctl::Chkhe, 3, false},
          {Ctl::Chkhe, 4, false},
          {Ctl::Chkhe, 5, true},
          {Ctl::Chkhe, 6, true},
          {Ctl::Chkhe, 7, true}},
         {{Ctl::lsthe, {true, false}}},
         8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        CountingForm f = formOfKind(c.kind);
        // The opposite of the table form everywhere, except the marks that
        // choose the rows (封面, 裱瓦楞), which stay ticked.
        for (Ctl box : {Ctl::Chkhua, Ctl::Chkdan, Ctl::Chkhe}) {
            for (int i = 0; i < controlDef(box).count(); ++i) {
                f.setCheckState(box, i, CheckState::Checked);
            }
        }
        for (const auto& [box, index, on] : c.checks) {
            f.setCheckState(box, index, on ? CheckState::Unchecked : CheckState::Checked);
        }
        f.setCheckState(Ctl::Chkhe, 6, CheckState::Checked);
        for (int item = 0; item < 5; ++item) {
            f.setTicked(Ctl::Lsthua, item, item != 1);
        }
        f.setTicked(Ctl::Lsthua, 0, true);
        f.setTicked(Ctl::lsthe, 0, false);
        f.setTicked(Ctl::lsthe, 1, true);
        f.setText(Ctl::Ncomzhuanse, c.spotPart, "3");
        f.setText(Ctl::Ncomzhuanse, 9, "3");  // another part's: untouched

        CostResult result;
        generate(f, result);
        for (const auto& [box, index, on] : c.checks) {
            EXPECT_EQ(f.checkState(box, index), on ? CheckState::Checked : CheckState::Unchecked)
                << controlName(box) << "(" << index << ")";
        }
        for (const auto& [list, expected] : c.ticks) {
            for (std::size_t item = 0; item < expected.size(); ++item) {
                EXPECT_EQ(f.ticked(list, static_cast<int>(item)), expected[item])
                    << controlName(list) << " item " << item;
            }
        }
        EXPECT_EQ(f.text(Ctl::Ncomzhuanse, c.spotPart), "0");
        EXPECT_EQ(f.text(Ctl::Ncomzhuanse, 9), "3");
    }
}

TEST(PriceTable, DescriptionSentence) {
    struct Case {
        const char* name;
        int kind;
        std::function<void(FormState&)> setUp;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"book with cover", kBook,
         [](FormState& f) {
             f.setTicked(Ctl::Lsthua, 0, true);
             f.setText(Ctl::Ncomyinse, 1, "0");
             f.setListIndex(Ctl::Ncomzhi, 1, 1);
             f.setListIndex(Ctl::Cmbdin, 0, 1);
         },
         "    说明：以16开为标准，16开1面为1P。封面用250克铜版纸4+0色对开平印机印刷，"
         "内页用157克哑粉纸4+4色对开平印机印刷。需要单出菲林,采用锁线胶订方式装订。"},
        {"book without cover, no film or binding chosen", kBook,
         [](FormState& f) {
             f.setListIndex(Ctl::Cmbfeilin, 0, -1);
             f.setListIndex(Ctl::Cmbdin, 0, -1);
             f.setListIndex(Ctl::Comyinji, 1, 1);
         },
         "    说明：以16开为标准，16开1面为1P。封面和内页都用157克铜版纸4+4色四开平印机印刷。"
         "需要,采用方式装订。"},
        {"single sheet", kSingleSheet,
         [](FormState& f) {
             f.setText(Ctl::Ncomke, 7, "128");
             f.setListIndex(Ctl::Cmbfeilin, 2, 2);
         },
         "    说明：用128克铜版纸4+4色对开平印机印刷，需要设计制作/出菲林/打样。"},
        {"corrugated box, glued both sides, five layers", kBoxBag,
         [](FormState& f) {
             f.setCheckState(Ctl::Chkhe, 6, CheckState::Checked);
             f.setOption(Ctl::optnian, 1);
             f.setOption(Ctl::optwa, 1);
         },
         "    说明：用250克铜版纸4+0色对开平印机印刷，需要单出菲林,粘双边，裱五层瓦楞。"},
        {"flat bag, no option chosen", kBoxBag,
         [](FormState& f) {
             f.setOption(Ctl::optnian, -1);
             f.setListIndex(Ctl::Cmbfeilin, 3, 1);
         },
         "    说明：用250克铜版纸4+0色对开平印机印刷，需要出菲林/打样,粘做手提袋。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CountingForm f = formOfKind(c.kind);
        c.setUp(f);
        CostResult result;
        EXPECT_EQ(generate(f, result).labshuoming, c.expected);
    }
}

// A paper weight typed far too large makes the long runs overflow while the
// short ones still price: those cells show a dash and count as 0, never
// the price of the cell costed before them, and the result of the last
// (refused) cell is all zero.
TEST(PriceTable, RefusedCellsShowADashAndNoStalePrice) {
    CountingForm f = formOfKind(kSingleSheet);
    f.setText(Ctl::Ncomke, 7, "3e38");
    CostResult result;
    const PriceTableGrid g = generate(f, result);
    ASSERT_GT(g.refusedCount(), 0);
    ASSERT_LT(g.refusedCount(), kTableCellCount);
    EXPECT_FALSE(g.refusal.empty());
    for (int cell = 0; cell < kTableCellCount; ++cell) {
        if (g.refused[cell]) {
            EXPECT_EQ(g.labdanjia[cell], "-") << cell;
            EXPECT_EQ(g.unitPrices[cell], 0.0f) << cell;
        } else {
            EXPECT_NE(g.labdanjia[cell], "-") << cell;
        }
    }
    ASSERT_TRUE(g.refused[83]);
    testing::expectAllZero(result);
}

TEST(PriceTable, NoPaperChosenRefusesEveryCell) {
    CountingForm f = formOfKind(kBoxBag);
    f.setListIndex(Ctl::Ncomzhi, 8, -1);
    CostResult result;
    result.UnitPrice = 7;
    const PriceTableGrid g = generate(f, result);
    EXPECT_EQ(g.refusedCount(), kTableCellCount);
    EXPECT_NE(g.refusal.find("请为"), std::string::npos) << g.refusal;
    testing::expectAllZero(result);
}

TEST(PriceTable, MonthText) {
    EXPECT_EQ(tableMonthText({2026, 3, 9}), "2026年3月");
    EXPECT_EQ(tableMonthText({2026, 12, 31}), "2026年12月");
}

}  // namespace
}  // namespace inkquot
