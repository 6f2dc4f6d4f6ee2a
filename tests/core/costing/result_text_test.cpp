#include "core/costing/result_text.h"

#include <gtest/gtest.h>

#include "core/job/form_state.h"
#include "tests/core/costing/sample_parts.h"

namespace inkquot {
namespace {

using testing::recordWith;

std::vector<std::string> papers() {
    std::vector<std::string> names(50, "自定义纸张          ");
    names[0] = "铜版纸              ";  // stored names keep their padding
    return names;
}

FormState bookWithCoverAndInnerPages() {
    FormState f;
    f.setPaperNames(papers());
    f.setTicked(Ctl::Lsthua, 0, true);
    f.setTicked(Ctl::Lsthua, 1, true);
    f.setText(Ctl::txtye, 0, "48");
    f.setText(Ctl::Ncomke, 0, "157");
    f.setText(Ctl::Ncomyinse, 1, "0");
    f.setText(Ctl::Ncomke, 1, "128");
    f.setCheckState(Ctl::Chkhua, 5, CheckState::Checked);
    return f;
}

TEST(ResultText, FourteenLinesWithTheirPunctuation) {
    FormState f;
    // Folding has no line of its own: it is only inside 其它费.
    const CostResult r = recordWith<CostResult>({{&CostResult::UnitPrice, 0.92937f},
                                                 {&CostResult::TotalPrice, 12345.6f},
                                                 {&CostResult::FilmCost, 100},
                                                 {&CostResult::ImpositionCost, 0.25f},
                                                 {&CostResult::PaperCost, 129.375f},
                                                 {&CostResult::PrintCost, 800},
                                                 {&CostResult::SurfaceCost, 1},
                                                 {&CostResult::FoldCost, 2},
                                                 {&CostResult::GlueCost, 3}});
    const std::string expected =
        "客户名：客户1\r\n"
        "印件名：印件1\r\n"
        "数  量：10,000\r\n"
        "单  价：0.9294\r\n"
        "总  价：12,345.60\r\n"
        "\r\n"
        "其  中\r\n"
        "印前制作费：100.25(其中，菲林费：100.00，拼版费：0.25)\r\n"
        "纸      价：129.38\r\n"
        "印  刷  费：800.00\r\n"
        "装  订  费：0.00\r\n"
        "其  它  费：6.00(其中，表面处理：1.00，烫电化铝：0.00\r\n"
        "            模切费：0.00，模板费：0.00，压凸费：0.00\r\n"
        "            对裱费：0.00，裱坑费：0.00，粘盒费：3.00)\r\n";
    EXPECT_EQ(composeResultText(f, 2, r), expected);
}

TEST(ResultText, SumsAreKeptAsFloatsBeforeFormatting) {
    FormState f;
    // 0.125 + 0.25 is exactly 0.375 and shows as 0.38 (the tie goes to the
    // even digit), while 0.125 alone shows as 0.12.
    const CostResult r = recordWith<CostResult>({{&CostResult::FilmCost, 0.125f},
                                                 {&CostResult::ImpositionCost, 0.25f},
                                                 {&CostResult::SurfaceCost, 0.125f},
                                                 {&CostResult::GlueCost, 0.25f}});
    const std::string text = composeResultText(f, 0, r);
    EXPECT_NE(text.find("印前制作费：0.38(其中，菲林费：0.12，拼版费：0.25)"), std::string::npos)
        << text;
    EXPECT_NE(text.find("其  它  费：0.38(其中，表面处理：0.12"), std::string::npos) << text;
}

TEST(ResultText, NegativeQuantityAndAllZero) {
    FormState f;
    f.setText(Ctl::txtshuliang, 1, "-1234.5");
    const std::string text = composeResultText(f, 1, CostResult{});
    EXPECT_NE(text.find("数  量：-1,234\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("单  价：0.0000\r\n"), std::string::npos);
    EXPECT_NE(text.find("总  价：0.00\r\n"), std::string::npos);
}

TEST(ProcessingDescription, BookCoverInnerPagesAndBinding) {
    const FormState f = bookWithCoverAndInnerPages();
    EXPECT_EQ(composeProcessing(f, 0),
              "封面大度8开157克铜版纸4+0色印刷；内页一48页，128克铜版纸4+4色印刷；骑马订装订；");
}

TEST(ProcessingDescription, EmptyBookIsEmptyAndLongOnesAreCut) {
    FormState empty;
    EXPECT_EQ(composeYaoqiu(empty, 0), "");

    FormState f = bookWithCoverAndInnerPages();
    f.setPaperNames(std::vector<std::string>(50, "一二三四五六七八九十"));
    for (int item = 2; item < 5; ++item) {
        f.setTicked(Ctl::Lsthua, item, true);
    }
    for (int box : {0, 2, 3}) {
        f.setCheckState(Ctl::Chkhua, box, CheckState::Checked);
    }
    const std::string full = composeProcessing(f, 0);
    const std::string cut = composeYaoqiu(f, 0);
    ASSERT_GT(full.size(), cut.size());
    EXPECT_EQ(full.substr(0, cut.size()), cut);
    EXPECT_EQ(firstCharacters(cut, 1000), cut);
    // 150 characters, whatever their byte lengths.
    std::size_t chars = 0;
    for (unsigned char c : cut) {
        chars += (c & 0xC0) != 0x80;
    }
    EXPECT_EQ(chars, 150u);
}

TEST(ProcessingDescription, EachKindQuotesItsOwnControls) {
    FormState f;
    f.setPaperNames(papers());
    f.setStickerPaperNames({"普通不干胶纸", "高级不干胶纸"});
    f.setCheckState(Ctl::Chkdan, 0, CheckState::Checked);
    f.setCheckState(Ctl::Chkdan, 5, CheckState::Checked);
    EXPECT_EQ(composeProcessing(f, 2), "157克铜版纸4+4色印刷；1折页；");

    f.setTicked(Ctl::lsthe, 1, true);
    f.setCheckState(Ctl::Chkhe, 6, CheckState::Checked);
    EXPECT_EQ(composeProcessing(f, 3), "对裱里纸250克铜版纸1+0色印刷；裱瓦楞；");

    f.setCheckState(Ctl::Chkbu, 0, CheckState::Checked);
    f.setCheckState(Ctl::Chkbu, 3, CheckState::Checked);
    EXPECT_EQ(composeProcessing(f, 4), "普通不干胶纸4色印刷；过光胶；");

    f.setTicked(Ctl::Lstbao, 1, true);
    f.setText(Ctl::txtye, 3, "8");
    EXPECT_EQ(composeProcessing(f, 1), "页二8页，50克铜版纸4+4色印刷；");
}

TEST(Guige, UsesTheKindsOwnSizeGroup) {
    FormState f;
    f.setListIndex(Ctl::Ncomdu, 1, 1);  // the cover's series must not matter
    EXPECT_EQ(composeGuige(f, 0), "大度16开");
    f.setListIndex(Ctl::Ncomdu, 4, 1);
    f.setText(Ctl::Ncomkai, 4, "4");
    EXPECT_EQ(composeGuige(f, 1), "正度4开");
    EXPECT_EQ(composeGuige(f, 4), "大度16开");
}

}  // namespace
}  // namespace inkquot
