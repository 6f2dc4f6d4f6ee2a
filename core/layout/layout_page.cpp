#include "core/layout/layout_page.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace inkquot {

namespace {

const LayoutPageInfo kPages[kLayoutPageCount] = {
    {0, "画册开版", 0, FitRoutine::SuanKai, true, 2},
    {1, "封面开版", 1, FitRoutine::SuanKai, false, 1},
    {2, "插页一开版", 2, FitRoutine::SuanKai, false, 1},
    {3, "插页二开版", 3, FitRoutine::SuanKai, false, 1},
    {4, "单张开版", 5, FitRoutine::SuanKai, false, 1},
    {5, "纸盒开版", 6, FitRoutine::SuanKaiHe, false, 1},
    {6, "不干胶开版", 7, FitRoutine::SuanKaiBu, false, 2},
};

}  // namespace

const char* const kSeriesItems[2] = {"大度", "正度"};
const char* const kCutItems[4] = {"对开", "三开(普通)", "三开(丁字开)", "大小开"};
const char* const kUnfitMessage = "尺寸不适合所选机种，请重新输入！";

const LayoutPageInfo& layoutPageInfo(int page) {
    if (page < 0 || page >= kLayoutPageCount) {
        page = 0;
    }
    return kPages[page];
}

std::string utilisationText(float liYongLv) {
    const float percent = liYongLv * 100.0f;
    if (percent == 0.0f || !std::isfinite(percent)) {
        return "0%";
    }
    // Seven significant digits in plain decimal notation, never an exponent.
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(percent))));
    int decimals = 6 - magnitude;
    if (decimals < 0) {
        decimals = 0;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, static_cast<double>(percent));
    std::string text = buf;
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') {
            text.pop_back();
        }
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text + "%";
}

int pressSheetKaiForCut(int cutIndex) {
    switch (cutIndex) {
        case 0:
            return 2;
        case 1:
        case 2:
            return 3;
        default:
            return 1;
    }
}

LayoutPageResult runLayoutPage(int page, std::int32_t a, std::int32_t b, std::int32_t t,
                               std::int32_t c) {
    const LayoutPageInfo& info = layoutPageInfo(page);
    const std::int32_t w = info.spread ? 2 * (a + t) : a + 2 * t;
    const std::int32_t h = b + 2 * t;

    LayoutPageResult r;
    switch (info.routine) {
        case FitRoutine::SuanKai:
            r.fit = SuanKai(w, h, c);
            break;
        case FitRoutine::SuanKaiHe:
            r.fit = SuanKaiHe(w, h, c);
            break;
        case FitRoutine::SuanKaiBu:
            r.fit = SuanKaiBu(w, h, c);
            break;
    }
    const bool sticker = info.routine == FitRoutine::SuanKaiBu;
    // The sticker sheet is priced as a 正度 对开 sheet whatever fits.
    r.seriesIndex = sticker ? 1 : r.fit.DuIndex;
    r.cutIndex = sticker ? 0 : r.fit.KaiZhiIndex;
    const long long kai = static_cast<long long>(info.kaiFactor) * r.fit.KaiShu;
    r.kaiText = std::to_string(kai);
    r.utilisationText = utilisationText(r.fit.LiYongLv);
    if (kai == 0) {
        r.unfit = true;
        r.kaiText = "16";
    }
    return r;
}

}  // namespace inkquot
