#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/common/clock.h"
#include "core/common/io_status.h"
#include "core/records/history_file.h"
#include "core/records/history_scan.h"
#include "core/spreadsheet/sheet_writer.h"

namespace inkquot {

struct HistorySheetHeading {
    std::vector<std::string> letterhead;  // as for a price table; none when unset
    std::string condition;                // which records, e.g. "客户名称包含“张”"
    CivilDate exported;                   // the day of the export
};

// Writes every saved quotation of `historyFile` that `matcher` accepts, in
// file order, one a row: date, customer, job, size, quantity, unit price,
// total and processing requirements, under the heading and a row of column
// headings. The history is read piece by piece, so its size is no limit
// for CSV; a workbook holds at most 1,048,576 rows and a longer export is
// refused. `keepGoing` may stop the export, which then writes nothing.
// `exported` learns the number of records written.
IoStatus writeHistorySheet(const std::filesystem::path& file, SheetFormat format,
                           const std::filesystem::path& historyFile, const HistoryMatcher& matcher,
                           const HistorySheetHeading& heading, const HistoryProgress& keepGoing,
                           std::uint64_t& exported);

// The text of a query's condition for the heading of an export.
std::string historyConditionText(const HistoryQuery& query);

}  // namespace inkquot
