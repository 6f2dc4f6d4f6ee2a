#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/common/io_status.h"
#include "core/costing/price_table.h"
#include "core/spreadsheet/sheet_writer.h"

namespace inkquot {

// What stands above a price table besides its labels.
struct PriceTableHeading {
    // The shop's name, address and telephone, one a line, above the title;
    // none when the shop has not set a letterhead.
    std::vector<std::string> letterhead;
    std::string title;  // labiaoti, the heading the clerk typed
    std::string month;  // labdate, "2026年12月"
};

// Writes the table as the window shows it: heading, kind and month, the
// explanation, the quantities over both blocks (大度, 正度) of seven rows.
// Prices are numbers shown with 4 decimals; a refused cell holds "-"; a cell
// the table check doubts is shaded in a workbook. `chartPng`, a picture of
// the prices (the price chart) as PNG bytes, goes below the table, one row
// clear of it, in a workbook; a CSV file has none.
IoStatus writePriceTableSheet(const std::filesystem::path& file, SheetFormat format,
                              const PriceTableGrid& grid, const PriceTableHeading& heading,
                              std::string chartPng = {});

}  // namespace inkquot
