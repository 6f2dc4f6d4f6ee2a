#include "core/costing/price_table_check.h"

#include <gtest/gtest.h>

#include <vector>

namespace inkquot {
namespace {

// One row of the 大度 block with the given prices (NaN-free; a value of
// -99 marks a refused cell), everything else a sound falling row.
PriceTableGrid gridWithFirstRow(const std::vector<float>& prices) {
    PriceTableGrid g;
    for (int s = 0; s < kTableSeriesCount; ++s) {
        for (int i = 0; i < kTableRowCount; ++i) {
            for (int j = 0; j < kTableQuantityCount; ++j) {
                g.unitPrices[labdanjiaIndex(s, i, j)] = 2.0f - 0.1f * static_cast<float>(j);
            }
        }
    }
    for (int j = 0; j < kTableQuantityCount; ++j) {
        const int cell = labdanjiaIndex(0, 0, j);
        g.refused[cell] = prices[j] == -99;
        g.unitPrices[cell] = g.refused[cell] ? 0 : prices[j];
    }
    return g;
}

TEST(PriceTableCheck, FlagsZeroNegativeAndRisingCellsOfARow) {
    using D = CellDoubt;
    const D o = D::None;
    struct Case {
        const char* what;
        std::vector<float> prices;
        std::vector<CellDoubt> doubts;
    };
    const Case cases[] = {
        {"falling", {1.0f, 0.9f, 0.8f, 0.7f, 0.6f, 0.5f}, {o, o, o, o, o, o}},
        {"equal prices are sound", {1.0f, 1.0f, 1.0f, 0.5f, 0.5f, 0.5f}, {o, o, o, o, o, o}},
        // Higher than any smaller quantity, not only the neighbour.
        {"rise, then above the lowest",
         {1.0f, 0.8f, 0.9f, 0.85f, 0.8f, 0.7f},
         {o, o, D::Rising, D::Rising, o, o}},
        {"zero and negative",
         {1.0f, 0.0f, -0.5f, 0.9f, 0.8f, 0.7f},
         {o, D::NotPositive, D::NotPositive, o, o, o}},
        // A price that rounds to 0.0000 shows as zero.
        {"shown as zero",
         {0.00004f, 0.9f, 0.8f, 0.7f, 0.6f, 0.5f},
         {D::NotPositive, o, o, o, o, o}},
        // A zero is no yardstick for the cells after it.
        {"after a zero", {0.0f, 0.9f, 0.8f, 0.7f, 0.6f, 0.5f}, {D::NotPositive, o, o, o, o, o}},
        // A difference that does not show in 4 decimals raises no doubt.
        {"rise too small to show",
         {0.50001f, 0.50003f, 0.5f, 0.5f, 0.5f, 0.5f},
         {o, o, o, o, o, o}},
        // Refused cells show "-" and are reported elsewhere.
        {"refused", {-99, 0.9f, -99, 1.0f, 0.8f, -99}, {o, o, o, D::Rising, o, o}},
    };
    for (const Case& c : cases) {
        const PriceTableCheck check = checkPriceTable(gridWithFirstRow(c.prices));
        int rising = 0;
        int notPositive = 0;
        for (int j = 0; j < kTableQuantityCount; ++j) {
            EXPECT_EQ(check.cells[labdanjiaIndex(0, 0, j)], c.doubts[j])
                << c.what << " column " << j;
            rising += c.doubts[j] == D::Rising;
            notPositive += c.doubts[j] == D::NotPositive;
        }
        EXPECT_EQ(check.rising, rising) << c.what;
        EXPECT_EQ(check.notPositive, notPositive) << c.what;
    }
}

TEST(PriceTableCheck, OneWarningLineCountsTheCells) {
    PriceTableCheck check;
    EXPECT_EQ(check.warning(), "");
    check.rising = 3;
    EXPECT_EQ(check.warning(), "价格表中有3格单价随数量增加而上升，请检查价格方案");
    check.notPositive = 2;
    EXPECT_EQ(check.warning(),
              "价格表中有3格单价随数量增加而上升，2格单价为零或负数，请检查价格方案");
    check.rising = 0;
    EXPECT_EQ(check.warning(), "价格表中有2格单价为零或负数，请检查价格方案");
}

}  // namespace
}  // namespace inkquot
