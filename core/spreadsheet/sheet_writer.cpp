#include "core/spreadsheet/sheet_writer.h"


#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <system_error>

#include "core/common/file_io.h"
#include "core/common/number_text.h"
#include "core/spreadsheet/sheet_writer_kinds.h"

namespace inkquot {

std::optional<SheetFormat> sheetFormatOf(const std::filesystem::path& file) {
    std::string suffix = displayName(file.extension());
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (suffix == ".xlsx") {
        return SheetFormat::Xlsx;
    }
    if (suffix == ".csv") {
        return SheetFormat::Csv;
    }
    return std::nullopt;
}

SheetCell SheetCell::empty(CellLook look, int span) {
    SheetCell c;
    c.look = look;
    c.span = span;
    return c;
}

SheetCell SheetCell::textCell(std::string text, CellLook look, int span) {
    SheetCell c;
    c.kind = Kind::Text;
    c.text = std::move(text);
    c.look = look;
    c.span = span;
    return c;
}

SheetCell SheetCell::numberCell(double value, CellLook look, std::string shown) {
    SheetCell c;
    c.kind = Kind::Number;
    c.number = value;
    c.shown = std::move(shown);
    c.look = look;
    return c;
}

SheetCell SheetCell::storedFloat(float value, CellLook look) {
    if (!std::isfinite(value)) {
        return textCell("?", look);
    }
    const double exact = std::strtod(shortestFloatText(value).c_str(), nullptr);
    return numberCell(exact, look, csvNumberText(value, look));
}

std::unique_ptr<SheetWriter> openSheetWriter(SheetFormat format,
                                             const std::filesystem::path& target,
                                             const SheetSetup& setup) {
    if (format == SheetFormat::Xlsx) {
        return openXlsxSheetWriter(target, setup);
    }
    return openCsvSheetWriter(target);
}

}  // namespace inkquot
