#pragma once

#include <cstdint>
#include <string>

#include "core/layout/kai_fit.h"

namespace inkquot {

// The calculator has one page per 开 group of the job entry screen that can
// take a non-standard size. A book page is fitted as an open spread (two
// pages side by side with trim around), so its 开 is twice the spreads per
// sheet; a sticker is fitted on the sticker sheet, counted as a 对开 sheet.
enum class FitRoutine { SuanKai, SuanKaiHe, SuanKaiBu };

struct LayoutPageInfo {
    int page;
    const char* title;  // window title
    int group;          // 开 group of the job entry screen written back
    FitRoutine routine;
    bool spread;    // width passed is 2 × (a + t) instead of a + 2t
    int kaiFactor;  // the 开 shown is this many times KaiShu
};

constexpr int kLayoutPageCount = 7;
const LayoutPageInfo& layoutPageInfo(int page);  // page 0..6

extern const char* const kSeriesItems[2];  // "大度", "正度"
extern const char* const kCutItems[4];  // "对开", "三开(普通)", "三开(丁字开)", "大小开"
extern const char* const kUnfitMessage;  // "尺寸不适合所选机种，请重新输入！"

// What a page shows after "开始计算>>>".
struct LayoutPageResult {
    KaiResult fit;
    int seriesIndex = 0;          // selection of comsuandu
    std::string kaiText;          // text of comsuankai
    int cutIndex = 0;             // selection of comsuankaizhi
    std::string utilisationText;  // text of Labzzlyl
    bool unfit = false;           // the fit gave 0: warn and show the first 开 item, "16"
};

// a, b: the unfolded size; t: trim on every edge; c: gripper. Whole mm.
LayoutPageResult runLayoutPage(int page, std::int32_t a, std::int32_t b, std::int32_t t,
                               std::int32_t c);

// Utilisation as the label shows it: utilisation × 100 as a 32-bit float,
// at most 7 significant digits, trailing zeros dropped, then "%".
std::string utilisationText(float liYongLv);

// Press sheets per full sheet of a cut: 对开 2, either 三开 3, 大小开 1.
int pressSheetKaiForCut(int cutIndex);

}  // namespace inkquot
