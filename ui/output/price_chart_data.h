#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/costing/price_table.h"

// What the price chart draws of a price table, before any pixel: for each
// paper series a line per size row through its unit prices over the six
// quantities, the points the table check doubts, and the rows that have
// no price to draw.
struct PriceChartPoint {
    int column = 0;        // the quantity column, 0 to 5
    double price = 0;      // the unit price in yuan
    bool inDoubt = false;  // the table check marks this cell
};

struct PriceChartLine {
    int row = 0;  // the size row, 0 to 6: its colour and mark
    // The priced cells from the smallest quantity on; a refused cell has
    // none, and the line has a gap there.
    std::vector<PriceChartPoint> points;
};

struct PriceChartSeries {
    std::string caption;  // "大度" or "正度"
    std::vector<PriceChartLine> lines;
    // Rows without a single price above zero: no line, only their names
    // under the chart.
    std::vector<int> leftOut;
};

struct PriceChartData {
    std::array<std::string, inkquot::kTableQuantityCount> quantities;  // "1000", ...
    std::array<std::string, inkquot::kTableRowCount> rows;             // "16开", "32P", ...
    std::array<PriceChartSeries, inkquot::kTableSeriesCount> series;
    // The lowest and highest unit price above zero of either series; both
    // charts share the scale, so the two paper series compare at a glance.
    double lowest = 0;
    double highest = 0;

    bool empty() const { return highest <= 0; }
    bool anyInDoubt() const;
};

// The chart of `grid`, with the cells in doubt exactly as
// inkquot::checkPriceTable marks them.
PriceChartData priceChartData(const inkquot::PriceTableGrid& grid);
