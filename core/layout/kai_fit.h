#pragma once

#include <cstdint>

namespace inkquot {

// The result of fitting a piece onto full sheets: which paper series, how
// many pieces a full sheet yields (its 开), how the full sheet is cut into
// press sheets, and how much of the paper the pieces use.
struct KaiResult {
    std::int32_t DuIndex = 0;      // 0 大度, 1 正度
    std::int32_t KaiShu = 0;       // pieces per full sheet
    std::int32_t KaiZhiIndex = 0;  // 0 对开, 1 三开(普通), 2 三开(丁字开), 3 大小开
    float LiYongLv = 0;            // utilisation, 0 to 1
};

float MaxOf4(float a, float b, float c, float d);
float MaxOf8(float a, float b, float c, float d, float e, float f, float g, float h);

// Fits a piece w × h (whole millimetres, trim included) onto the 对开 and
// 三开 press sheets of both series; c is the gripper, the strip along a long
// edge of the press sheet that the press holds and that cannot carry a piece.
// A width or height of 0 (or below) leaves the result at zero.
KaiResult SuanKai(std::int32_t w, std::int32_t h, std::int32_t c);

// As SuanKai, with the 丁字开 cut and the whole sheet (大小开) as well; a
// whole sheet loses the gripper at both ends. Used for boxes and bags.
KaiResult SuanKaiHe(std::int32_t w, std::int32_t h, std::int32_t c);

// Fits a piece onto the sticker sheet (765 × 535); only KaiShu and LiYongLv
// are set.
KaiResult SuanKaiBu(std::int32_t w, std::int32_t h, std::int32_t c);

}  // namespace inkquot
