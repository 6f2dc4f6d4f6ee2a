#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/io_status.h"

namespace inkquot {

// The two kinds of file a table or the history goes out as for a
// spreadsheet program: an Excel workbook, and CSV in UTF-8 with a byte-order
// mark (without the mark Excel reads the Chinese texts in the machine's
// code page).
enum class SheetFormat { Xlsx, Csv };

// By the file name's suffix (.xlsx or .csv, any case); nothing for others.
std::optional<SheetFormat> sheetFormatOf(const std::filesystem::path& file);

// What every failed export says first; the reason follows.
inline constexpr std::string_view kSaveFailedText = "保存失败：";

// How a cell looks in a workbook. Numbers carry their display form: a CSV
// file holds them as that text without grouping (1234.5000), a workbook as
// numbers with the matching number format (1,234.5000).
enum class CellLook {
    Plain,
    Letterhead,  // the shop's name, address and telephone above the title
    Title,
    Left,
    Right,
    Note,      // a long explanation, wrapped
    Heading,   // a column heading: bold, centred, framed, shaded
    Label,     // a row label: centred, framed
    Text,      // a text in a table: left, framed
    Quantity,  // whole number with grouping, framed
    QuantityHeading,
    UnitPrice,         // 4 decimals with grouping, framed
    UnitPriceInDoubt,  // the same, shaded as a warning
    Amount,            // 2 decimals with grouping, framed
    Date,              // a day counted from 30 December 1899, shown 2026/12/7
};

struct SheetCell {
    enum class Kind { Empty, Text, Number };
    Kind kind = Kind::Empty;
    std::string text;  // UTF-8
    double number = 0;
    // For a number: the text a CSV file holds instead of the number's own
    // form, when the cell must read exactly as a label elsewhere does.
    std::string shown;
    CellLook look = CellLook::Plain;
    int span = 1;  // columns covered; merged in a workbook

    static SheetCell empty(CellLook look = CellLook::Plain, int span = 1);
    static SheetCell textCell(std::string text, CellLook look = CellLook::Plain, int span = 1);
    static SheetCell numberCell(double value, CellLook look, std::string shown = {});
    // A stored 32-bit price, quantity or amount: the workbook holds the
    // shortest decimal that reads back as the same value (0.5443, not
    // 0.54430001974), the CSV file the text the screens show for it, without
    // grouping. A value that is no number at all (a damaged record) is
    // written as "?".
    static SheetCell storedFloat(float value, CellLook look);
};

struct SheetSetup {
    std::string name;                  // the worksheet's tab
    std::vector<double> columnWidths;  // in characters of the default font
    bool landscape = false;
};

// Writes one worksheet row by row. Nothing appears under the target's name
// until finish() succeeds: the file is written in a folder of the export's
// own beside it (ExportStaging) and renamed over it, so a failure (full
// disk, no permission, a folder that is gone) leaves an older file of that
// name as it was and no part of the new one.
class SheetWriter {
public:
    virtual ~SheetWriter() = default;

    // Adds the next row; `height` in points, 0 for the default.
    virtual void row(const std::vector<SheetCell>& cells, double height = 0) = 0;
    // Keeps the rows written so far in view while the rest scrolls.
    virtual void freezeRowsAbove() = 0;
    // Places a PNG picture with its top left corner on the cell at `row`
    // and `column` (both from 0), at the size its resolution gives it; the
    // cells under it keep their contents. A CSV file has no pictures and
    // leaves it out.
    virtual void addPicture(int row, int column, std::string png) = 0;
    // The file in place, or the reason it is not (a message without
    // kSaveFailedText).
    virtual IoStatus finish() = 0;
};

std::unique_ptr<SheetWriter> openSheetWriter(SheetFormat format,
                                             const std::filesystem::path& target,
                                             const SheetSetup& setup);

}  // namespace inkquot
