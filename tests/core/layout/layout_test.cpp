#include <gtest/gtest.h>

#include "core/layout/kai_fit.h"
#include "core/layout/layout_page.h"

namespace inkquot {
namespace {

TEST(KaiFit, WorkedFits) {
    struct Case {
        const char* what;
        KaiResult (*routine)(std::int32_t, std::int32_t, std::int32_t);
        std::int32_t w, h, c;
        std::int32_t du, kai, cut;
        std::int64_t usedArea;  // KaiShu × w × h
        std::int32_t sheetArea;
    };
    const Case cases[] = {
        {"216x291 best on 大度 对开", SuanKai, 216, 291, 0, 0, 16, 0, 16 * 216 * 291, 1051960},
        {"6x6 tie goes to the earlier row", SuanKai, 6, 6, 0, 0, 29106, 0, 29106 * 36, 1051960},
        {"book spread 206x106", SuanKai, 206, 106, 0, 0, 40, 0, 40 * 206 * 106, 1051960},
        {"box: the whole 正度 sheet beats the cut ones", SuanKaiHe, 6, 6, 0, 1, 23530, 3,
         23530 * 36, 850338},
    };
    for (const auto& c : cases) {
        const KaiResult r = c.routine(c.w, c.h, c.c);
        EXPECT_EQ(r.DuIndex, c.du) << c.what;
        EXPECT_EQ(r.KaiShu, c.kai) << c.what;
        EXPECT_EQ(r.KaiZhiIndex, c.cut) << c.what;
        EXPECT_EQ(r.LiYongLv, static_cast<float>(static_cast<double>(c.usedArea) / c.sheetArea))
            << c.what;
    }
}

TEST(KaiFit, BadSizesGiveZeroWithoutCrashing) {
    struct Case {
        std::int32_t w, h, c;
    };
    const Case cases[] = {{0, 100, 0},       {100, 0, 0},    {-5, 100, 0},
                          {20000, 20000, 0}, {10, 10, 9999}, {20018, 10, 0}};
    for (const auto& c : cases) {
        for (auto routine : {SuanKai, SuanKaiHe, SuanKaiBu}) {
            const KaiResult r = routine(c.w, c.h, c.c);
            EXPECT_EQ(r.KaiShu, 0) << c.w << "x" << c.h << " c" << c.c;
            EXPECT_EQ(r.LiYongLv, 0.0f);
        }
    }
}

TEST(KaiFit, GripperEatingOneCandidateLeavesTheOthers) {
    // A 400 mm gripper leaves nothing of the 三开 sheets (396, 362) but the
    // 对开 sheets still take pieces; no candidate may count below zero.
    const KaiResult r = SuanKai(50, 50, 400);
    EXPECT_GT(r.KaiShu, 0);
    EXPECT_EQ(r.KaiZhiIndex, 0);
    const KaiResult box = SuanKaiHe(50, 50, 560);  // only the whole sheets remain
    EXPECT_EQ(box.KaiZhiIndex, 3);
    EXPECT_GT(box.KaiShu, 0);
}

TEST(LayoutPage, ShowsWhatTheLabelsShow) {
    struct Case {
        int page;
        std::int32_t a, b, t, c;
        const char* series;
        const char* kai;
        const char* cut;
        const char* utilisation;
        bool unfit;
    };
    const Case cases[] = {
        {4, 210, 285, 3, 0, "大度", "16", "对开", "95.60211%", false},
        {0, 100, 100, 3, 0, "大度", "80", "对开", "83.02977%", false},
        {4, 0, 285, 0, 0, "大度", "16", "对开", "0%", true},
        {4, 9999, 9999, 10, 0, "大度", "16", "对开", "0%", true},
        {6, 50, 50, 0, 0, "正度", "300", "对开", "91.62543%", false},
    };
    for (const auto& c : cases) {
        const LayoutPageResult r = runLayoutPage(c.page, c.a, c.b, c.t, c.c);
        EXPECT_STREQ(kSeriesItems[r.seriesIndex], c.series) << c.page << " " << c.a;
        EXPECT_EQ(r.kaiText, c.kai) << c.page << " " << c.a;
        EXPECT_STREQ(kCutItems[r.cutIndex], c.cut) << c.page << " " << c.a;
        EXPECT_EQ(r.utilisationText, c.utilisation) << c.page << " " << c.a;
        EXPECT_EQ(r.unfit, c.unfit) << c.page << " " << c.a;
    }
}

TEST(LayoutPage, WritesBackToItsGroupAndPressSheet) {
    const int groups[kLayoutPageCount] = {0, 1, 2, 3, 5, 6, 7};
    for (int p = 0; p < kLayoutPageCount; ++p) {
        EXPECT_EQ(layoutPageInfo(p).group, groups[p]) << p;
    }
    EXPECT_EQ(pressSheetKaiForCut(0), 2);
    EXPECT_EQ(pressSheetKaiForCut(1), 3);
    EXPECT_EQ(pressSheetKaiForCut(2), 3);
    EXPECT_EQ(pressSheetKaiForCut(3), 1);
}

TEST(UtilisationText, SevenSignificantDigitsNoExponent) {
    EXPECT_EQ(utilisationText(0.8f), "80%");
    EXPECT_EQ(utilisationText(1.0f), "100%");
    EXPECT_EQ(utilisationText(0.0000123f), "0.00123%");
    EXPECT_EQ(utilisationText(0.0f), "0%");
}

}  // namespace
}  // namespace inkquot
