#pragma once

#include <array>
#include <string>

#include "core/costing/price_table.h"

namespace inkquot {

// A generated table is read over before it goes to a customer. A unit price
// of zero or below, or one that rises although the run is longer, almost
// always means a typing error in the price scheme (a paper price with a
// digit too many, a process price left at 0).
enum class CellDoubt {
    None,
    NotPositive,  // zero or negative
    Rising,       // higher than a cell for a smaller quantity of its row
};

struct PriceTableCheck {
    std::array<CellDoubt, kTableCellCount> cells{};
    int notPositive = 0;
    int rising = 0;

    int flaggedCount() const { return notPositive + rising; }
    // The one line shown under the table, e.g.
    // "价格表中有3格单价随数量增加而上升，请检查价格方案"; empty when no cell is
    // in doubt.
    std::string warning() const;
};

// Compares the prices as they are shown (4 decimals), so a difference too
// small to read never raises a doubt. Cells the costing refused already
// show "-" and are neither judged nor compared with.
PriceTableCheck checkPriceTable(const PriceTableGrid& grid);

}  // namespace inkquot
