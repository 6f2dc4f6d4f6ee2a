#include "core/costing/price_table_check.h"

#include <cmath>
#include <optional>

namespace inkquot {

std::string PriceTableCheck::warning() const {
    if (flaggedCount() == 0) {
        return {};
    }
    std::string line = "价格表中有";
    if (rising > 0) {
        line += std::to_string(rising) + "格单价随数量增加而上升，";
    }
    if (notPositive > 0) {
        line += std::to_string(notPositive) + "格单价为零或负数，";
    }
    return line + "请检查价格方案";
}

PriceTableCheck checkPriceTable(const PriceTableGrid& grid) {
    PriceTableCheck check;
    for (int s = 0; s < kTableSeriesCount; ++s) {
        for (int i = 0; i < kTableRowCount; ++i) {
            // The lowest sound price of the row so far, in ten-thousandths of
            // a yuan as shown; quantities grow from left to right.
            std::optional<long long> lowest;
            for (int j = 0; j < kTableQuantityCount; ++j) {
                const int cell = labdanjiaIndex(s, i, j);
                if (grid.refused[cell]) {
                    continue;
                }
                const long long shown =
                    std::llround(static_cast<double>(grid.unitPrices[cell]) * 10000.0);
                if (shown <= 0) {
                    check.cells[cell] = CellDoubt::NotPositive;
                    ++check.notPositive;
                    continue;
                }
                if (lowest && shown > *lowest) {
                    check.cells[cell] = CellDoubt::Rising;
                    ++check.rising;
                    continue;
                }
                lowest = shown;
            }
        }
    }
    return check;
}

}  // namespace inkquot
