#pragma once

#include <string_view>

#include "core/common/io_status.h"
#include "core/common/program_folder.h"
#include "core/pricedata/price_tables.h"

namespace inkquot {

// Saving an edited record of the current scheme. Pricing reads only the
// working files, and selecting a scheme overwrites them with its stored
// files; so the record is written into the working file and the working file
// is then copied over the scheme's stored file, where the edit survives the
// next selection.
//
// Either both files change or neither does, also when the program is killed
// in between (FileSwitch); a failure says what failed and that nothing was
// changed.
IoStatus saveJibenRecord(const ProgramFolder& folder, std::string_view scheme, int record,
                         const JibenRec& rec);
IoStatus saveGongjiaRecord(const ProgramFolder& folder, std::string_view scheme, int record,
                           const GongjiaRec& rec);
// `table` is PriceTable::Zhijia or PriceTable::Zhijiabu.
IoStatus savePaperRecord(const ProgramFolder& folder, std::string_view scheme, PriceTable table,
                         int record, const ZhijiaRec& rec);

// Copies a working file over the scheme's stored file as it stands.
IoStatus copyWorkingToScheme(const ProgramFolder& folder, std::string_view scheme,
                             PriceTable table);

}  // namespace inkquot
