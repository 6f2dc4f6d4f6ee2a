#pragma once

#include <filesystem>
#include <memory>

#include "core/spreadsheet/sheet_writer.h"

namespace inkquot {

// The two writers behind openSheetWriter.
std::unique_ptr<SheetWriter> openXlsxSheetWriter(const std::filesystem::path& target,
                                                 const SheetSetup& setup);
std::unique_ptr<SheetWriter> openCsvSheetWriter(const std::filesystem::path& target);

// A number as a CSV file holds it: the decimals of its look, no grouping.
std::string csvNumberText(double value, CellLook look);

}  // namespace inkquot
