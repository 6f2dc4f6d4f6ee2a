#pragma once

#include <vector>

#include "core/common/io_status.h"
#include "core/common/program_folder.h"
#include "core/pricedata/price_tables.h"

namespace inkquot {

// The built-in scheme. Its tables live in the program as constants, so it
// can always be written afresh; its record numbers are how the costing
// refers to each parameter, price and paper.
inline constexpr const char* kDefaultSchemeName = "系统默认";

// The four tables, records 1..N (texts without padding).
std::vector<JibenRec> defaultJibenTable();
std::vector<GongjiaRec> defaultGongjiaTable();
std::vector<ZhijiaRec> defaultZhijiaTable();
std::vector<ZhijiabuRec> defaultZhijiabuTable();

// Each writes its table as records 1..N of the scheme's stored file in the
// jgfa folder (which must exist), replacing the file atomically; slots
// beyond N that an older, longer file holds are kept.
IoStatus WriteDefaultJiben(const ProgramFolder& folder);
IoStatus WriteDefaultGongjia(const ProgramFolder& folder);
IoStatus WriteDefaultZhijia(const ProgramFolder& folder);
IoStatus WriteDefaultZhijiabu(const ProgramFolder& folder);

// The file step of repairing the built-in scheme: the four writers in the
// order basic data, paper, sticker paper, process prices, stopping at the
// first failure and reporting it. Working files and the scheme list are not
// touched.
IoStatus RepairDefaultSchemeFiles(const ProgramFolder& folder);

}  // namespace inkquot
