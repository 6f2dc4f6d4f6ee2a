#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

namespace inkquot {

// Reads JSON text quickly when it keeps to the forms job descriptions are
// written in: objects, arrays, strings (UTF-8, with any of JSON's escapes),
// whole numbers of up to 18 digits, true, false and null, each key at most
// once per object. The value is exactly the one the full parser gives for
// the same text, down to the kind of each number (unsigned when it has no
// sign). Any other text, faulty or not (a fraction, a long number, a key
// given twice, bytes after the value, very deep nesting), comes back empty:
// the full parser then reads it and words any fault.
std::optional<nlohmann::json> readPlainJson(std::string_view text);

}  // namespace inkquot
