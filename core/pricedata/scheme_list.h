#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/io_status.h"

namespace inkquot {

// The list of stored schemes, jgfa/fangan.inf: GBK text, one name per line,
// written as the name in double quotes followed by CR LF. The first name is
// the scheme made current at every start.

// Parses the list's bytes. Each line holds one field: a field starting with
// a double quote is the text up to the closing quote (or the end of the
// line); an unquoted field is the text up to the first comma or the end of
// the line, surrounding spaces removed. Lines end in CR LF or LF; blank lines
// hold no name and are skipped.
std::vector<std::string> parseSchemeList(std::string_view bytes);

// Reads the list; a missing file is IoError::Missing with a message naming it.
IoStatus readSchemeList(const std::filesystem::path& file, std::vector<std::string>& names);

// Whether a name can be stored in the list and used for the scheme's files
// (isValidSchemeName, and representable in GBK); a refusal carries a message.
inline constexpr std::size_t kMaxSchemeNameCharacters = 60;
IoStatus checkSchemeName(std::string_view name);

// The bytes of the list with one quoted name added at its end (a missing
// list gives that one line), and the bytes of a list of names.
IoStatus schemeListWithName(const std::filesystem::path& file, std::string_view name,
                            std::string& bytes);
IoStatus schemeListBytes(const std::vector<std::string>& names, std::string& bytes);

// Adds one quoted name at the end of the list (the file is created when
// missing). The whole file is replaced atomically.
IoStatus appendSchemeName(const std::filesystem::path& file, std::string_view name);

// Replaces the list with the given names, in order, atomically.
IoStatus rewriteSchemeList(const std::filesystem::path& file,
                           const std::vector<std::string>& names);

}  // namespace inkquot
