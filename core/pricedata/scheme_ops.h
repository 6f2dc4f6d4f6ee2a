#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/io_status.h"
#include "core/common/program_folder.h"
#include "core/pricedata/price_tables.h"

namespace inkquot {

// The working copy of a table in the program folder, which every pricing
// run reads.
std::filesystem::path workingFile(const ProgramFolder& folder, PriceTable table);

// A table of a stored scheme in the jgfa folder (name directly followed by
// the table's suffix). The name must have passed isValidSchemeName.
std::filesystem::path storedFile(const ProgramFolder& folder, std::string_view scheme,
                                 PriceTable table);

// Reads the four tables of a stored scheme in the order of kAllPriceTables
// (basic data, process prices, paper, sticker paper) and changes nothing. A
// bad name is refused and a missing table named.
IoStatus readStoredScheme(const ProgramFolder& folder, std::string_view scheme,
                          std::array<TableImage, 4>& tables);

// Each operation below changes its files all or nothing (FileSwitch): on a
// failure, or after a crash and the next start, every working file, stored
// file and the scheme list is as it was before; the message names the file
// that failed and says that nothing was changed.

// Makes a stored scheme current: its four tables are copied over the four
// working files (basic data, process prices, paper, sticker paper). All four
// are read before anything is written, so a missing stored file is reported
// by name. When `damage` is given it receives what is wrong with the stored
// tables copied (tableDamage); they are copied all the same.
IoStatus selectScheme(const ProgramFolder& folder, std::string_view scheme,
                      std::vector<std::string>* damage = nullptr);

// Refuses (IoError::BadText) a name that fangan.inf does not list.
IoStatus checkListedScheme(const ProgramFolder& folder, std::string_view scheme);

// Saves the working tables as a new stored scheme and lists it at the end of
// fangan.inf. Refused, with nothing copied, when the name is already listed
// ("方案名已存在!"), when it cannot be a scheme name, or when the list or a
// working file is missing. An unlisted scheme's leftover files of the same
// name are overwritten.
IoStatus exportScheme(const ProgramFolder& folder, std::string_view scheme);

// Removes a stored scheme: the list without it and the removal of its four
// files are one change, so the scheme stays listed with all its files or is
// unlisted with none. The built-in scheme is refused ("系统默认方案，不能删除！").
// `remaining` receives the names listed afterwards, in order; the caller
// makes the first of them current.
IoStatus deleteScheme(const ProgramFolder& folder, std::string_view scheme,
                      std::vector<std::string>& remaining);

}  // namespace inkquot
