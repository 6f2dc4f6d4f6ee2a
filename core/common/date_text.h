#pragma once

#include <string>

#include "core/common/clock.h"

namespace inkquot {

// Dates as a Chinese office writes them, whatever the machine's locale:
// long form "2026年12月7日", short form "2026/12/7" (no leading zeros).
std::string longDateText(CivilDate date);
std::string shortDateText(CivilDate date);

}  // namespace inkquot
