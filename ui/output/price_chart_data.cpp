#include "ui/output/price_chart_data.h"

#include <algorithm>
#include <cmath>

#include "core/costing/price_table_check.h"

namespace {

constexpr const char* kSeriesCaptions[inkquot::kTableSeriesCount] = {"大度", "正度"};

}  // namespace

bool PriceChartData::anyInDoubt() const {
    for (const PriceChartSeries& s : series) {
        for (const PriceChartLine& line : s.lines) {
            for (const PriceChartPoint& point : line.points) {
                if (point.inDoubt) {
                    return true;
                }
            }
        }
    }
    return false;
}

PriceChartData priceChartData(const inkquot::PriceTableGrid& grid) {
    using namespace inkquot;
    PriceChartData data;
    data.quantities = grid.labshu;
    data.rows = grid.labddu;
    const PriceTableCheck check = checkPriceTable(grid);
    for (int s = 0; s < kTableSeriesCount; ++s) {
        PriceChartSeries& series = data.series[s];
        series.caption = kSeriesCaptions[s];
        for (int i = 0; i < kTableRowCount; ++i) {
            PriceChartLine line{i, {}};
            bool priced = false;
            for (int j = 0; j < kTableQuantityCount; ++j) {
                const int cell = labdanjiaIndex(s, i, j);
                const double price = grid.unitPrices[cell];
                // A refused cell, or a damaged one that is no number, has
                // no place on the chart.
                if (grid.refused[cell] || !std::isfinite(price)) {
                    continue;
                }
                // A price that shows as 0.0000 is none; the check judges
                // the shown prices too.
                const bool positive = check.cells[cell] != CellDoubt::NotPositive;
                line.points.push_back(
                    {j, positive ? price : 0.0, check.cells[cell] != CellDoubt::None});
                if (positive) {
                    priced = true;
                    data.lowest = data.highest > 0 ? std::min(data.lowest, price) : price;
                    data.highest = std::max(data.highest, price);
                }
            }
            if (priced) {
                series.lines.push_back(std::move(line));
            } else {
                series.leftOut.push_back(i);
            }
        }
    }
    return data;
}
