#pragma once

#include <filesystem>
#include <memory>

#include "core/spreadsheet/sheet_writer.h"

namespace inkquot {

// The two writers behind openSheetWriter.
std::unique_ptr<SheetWriter> openXlsxSheetWriter(const std::filesystem::path& target,
                                                 const SheetSetup& setup);
// The workbook writer over a given copy of the workbook library, which
// must outlive it.
struct XlsxLibrary;
std::unique_ptr<SheetWriter> openXlsxSheetWriter(const std::filesystem::path& target,
                                                 const SheetSetup& setup,
                                                 const XlsxLibrary& library);
std::unique_ptr<SheetWriter> openCsvSheetWriter(const std::filesystem::path& target);

// A number as a CSV file holds it: the decimals of its look, no grouping.
std::string csvNumberText(double value, CellLook look);

}  // namespace inkquot
