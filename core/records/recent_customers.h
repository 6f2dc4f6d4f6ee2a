#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "core/common/io_status.h"

namespace inkquot {

// The customer box offers this many names at most.
inline constexpr std::size_t kOfferedCustomers = 5000;

// The customers of the saved quotations, each once, the most recently quoted
// first (the later in the history, the more recent), without trailing
// blanks; an empty name is no customer. Read in one pass with one entry per
// customer. A missing history has none.
IoStatus recentCustomers(const std::filesystem::path& historyFile, std::size_t most,
                         std::vector<std::string>& names);

}  // namespace inkquot
