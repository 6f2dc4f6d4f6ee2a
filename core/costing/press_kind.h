#pragma once

#include <array>
#include <string_view>

namespace inkquot {

// The presses of the shop, in the order of a press list (Comyinji) that
// offers all four: the list position is the press kind on the screen, in the
// job description and in the press rules.
inline constexpr int kPressDuikaiFlat = 0;    // 对开平印机: half-sheet sheet-fed press
inline constexpr int kPressSikaiFlat = 1;     // 四开平印机: quarter-sheet sheet-fed press
inline constexpr int kPressBakaiFlat = 2;     // 八开平印机: eighth-sheet sheet-fed press
inline constexpr int kPressDuikaiRotary = 3;  // 对开轮转机: half-sheet web press

inline constexpr std::array<std::string_view, 4> kPressNames = {"对开平印机", "四开平印机",
                                                                "八开平印机", "对开轮转机"};

// The cost rules count presses from 1 (PartSpec::press: 1 对开平印机 ..
// 4 对开轮转机). This is the one place where a press kind becomes that
// number; a list with nothing selected (-1) gives 0, which the cost rules
// price like the half-sheet flat press.
constexpr float costingPress(int pressKind) {
    return pressKind < 0 ? 0.0f : static_cast<float>(pressKind + 1);
}

}  // namespace inkquot
