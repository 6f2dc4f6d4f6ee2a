#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/common/io_status.h"
#include "core/common/program_folder.h"
#include "core/pricedata/price_tables.h"

namespace inkquot {

// No real price, factor or parameter reaches this; a larger stored number
// comes from a damaged file.
inline constexpr float kAbsurdPriceLimit = 1.0e7f;

// Added to a damage warning when the damaged scheme is the built-in one, which
// the program can always write anew.
inline constexpr std::string_view kRepairSuggestion =
    "当前方案是“系统默认”，可用“修复系统默认数据”修复后重新选择该方案。";

// What is wrong with the bytes of a price table, one sentence per fault,
// naming the file: a table shorter than its full length ("价格文件
// fgongjia.dat 不完整：只有 3 条记录"), and numbers the costing reads that
// are not finite, negative or beyond kAbsurdPriceLimit. Empty for a sound
// table. The table is still read as its format says (missing records are
// zeros, non-finite numbers 0); this only says so.
std::vector<std::string> tableDamage(const TableImage& image, std::string_view fileName);

// Reads the four working tables and collects their damage. Fails, naming the
// file, when one cannot be read at all (a folder or FIFO in its place).
IoStatus checkWorkingTables(const ProgramFolder& folder, std::vector<std::string>& problems);

}  // namespace inkquot
