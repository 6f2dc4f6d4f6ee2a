#include "core/spreadsheet/price_table_sheet.h"

#include <algorithm>

#include "core/costing/price_table_check.h"

namespace inkquot {

namespace {

constexpr int kColumns = 1 + kTableQuantityCount;
constexpr const char* kBlockCaptions[kTableSeriesCount] = {"大度", "正度"};

// About 40 characters of the explanation fit on one line of the merged cell.
double noteHeight(const std::string& text) {
    const std::size_t lines = text.size() / 120 + 1;  // three UTF-8 bytes a character
    return 15.0 * static_cast<double>(std::min<std::size_t>(lines + 1, 6));
}

}  // namespace

IoStatus writePriceTableSheet(const std::filesystem::path& file, SheetFormat format,
                              const PriceTableGrid& grid, const PriceTableHeading& heading,
                              std::string chartPng) {
    SheetSetup setup;
    setup.name = "价格表";
    setup.columnWidths.assign(kColumns, 13);
    setup.columnWidths[0] = 10;
    auto out = openSheetWriter(format, file, setup);
    // The rows are counted, so the picture goes below the last of them.
    int rows = 0;
    auto row = [&](const std::vector<SheetCell>& cells, double height = 0) {
        out->row(cells, height);
        ++rows;
    };

    for (const std::string& line : heading.letterhead) {
        row({SheetCell::textCell(line, CellLook::Letterhead, kColumns)}, 18);
    }
    row({SheetCell::textCell(heading.title, CellLook::Title, kColumns)}, 27);
    row({SheetCell::textCell(grid.lablei, CellLook::Left, 3), SheetCell::empty(),
         SheetCell::textCell(heading.month, CellLook::Right, 3)});
    // The explanation starts with four spaces of indentation on the printed
    // page; a cell has no use for them.
    const std::size_t start = grid.labshuoming.find_first_not_of(' ');
    const std::string note =
        start == std::string::npos ? std::string() : grid.labshuoming.substr(start);
    row({SheetCell::textCell(note, CellLook::Note, kColumns)}, noteHeight(note));
    row({SheetCell::empty(CellLook::Plain, kColumns - 1),
         SheetCell::textCell("单价(元)", CellLook::Right)});

    row({SheetCell::textCell("规格", CellLook::Heading),
         SheetCell::textCell("数量", CellLook::Heading, kTableQuantityCount)});
    std::vector<SheetCell> quantities = {SheetCell::empty(CellLook::Heading)};
    for (float q : grid.quantities) {
        quantities.push_back(SheetCell::storedFloat(q, CellLook::QuantityHeading));
    }
    row(quantities);
    out->freezeRowsAbove();

    const PriceTableCheck check = checkPriceTable(grid);
    for (int s = 0; s < kTableSeriesCount; ++s) {
        row({SheetCell::textCell(kBlockCaptions[s], CellLook::Heading, kColumns)});
        for (int i = 0; i < kTableRowCount; ++i) {
            std::vector<SheetCell> cells = {SheetCell::textCell(grid.labddu[i], CellLook::Label)};
            for (int j = 0; j < kTableQuantityCount; ++j) {
                const int n = labdanjiaIndex(s, i, j);
                if (grid.refused[n]) {
                    cells.push_back(SheetCell::textCell(grid.labdanjia[n], CellLook::Label));
                    continue;
                }
                const CellLook look = check.cells[n] == CellDoubt::None
                                          ? CellLook::UnitPrice
                                          : CellLook::UnitPriceInDoubt;
                cells.push_back(SheetCell::storedFloat(grid.unitPrices[n], look));
            }
            row(cells);
        }
    }
    if (!chartPng.empty()) {
        out->addPicture(rows + 1, 0, std::move(chartPng));
    }
    return out->finish();
}

}  // namespace inkquot
