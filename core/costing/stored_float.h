#pragma once

#include <cmath>
#include <limits>

namespace inkquot {

// The costing keeps every value it names (sheets, colour runs, cost items,
// results) as a 32-bit float, while the arithmetic in between runs in double.
// storedFloat rounds a double once to the nearest float. A value beyond the
// float range becomes an infinity (the same as the hardware rounding, but
// without relying on an out-of-range conversion), which the callers then
// refuse as a result.
inline float storedFloat(double v) {
    // FLT_MAX plus half a unit in the last place: from here on the nearest
    // float is infinity.
    constexpr double kOverflow = 0x1.ffffffp+127;
    if (v >= kOverflow) {
        return std::numeric_limits<float>::infinity();
    }
    if (v <= -kOverflow) {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(v);
}

}  // namespace inkquot
