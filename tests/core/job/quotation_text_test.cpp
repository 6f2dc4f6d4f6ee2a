#include "core/job/quotation_text.h"

#include <gtest/gtest.h>

#include "core/job/form_state.h"
#include "tests/core/costing/sample_parts.h"

namespace inkquot {
namespace {

TEST(QuotationText, LetterPiecesFollowEachOtherWithNothingBetween) {
    FormState f;
    f.setText(Ctl::txtyinjianming, 2, "宣传单");
    f.setText(Ctl::txtshuliang, 2, "20000");
    f.setListIndex(Ctl::comleibie, 0, 2);
    EXPECT_EQ(quotationLetter(pricedJobOf(f, testing::sampleQuotationResult())),
              "    贵单位的印件<<宣传单>>共印制20,000份，单价为：0.1234元/份,总价为：2,468.00元。"
              "    其中，印前制作费：120.50元，纸价：1,234.50元，印刷费：800.00元，"
              "装订费：0.00元，其它费：213.00元。");
}

TEST(QuotationText, ReadsTheBoxesOfThePricedKind) {
    struct Case {
        int kind;
        std::string quantity;
        std::string shown;
    };
    for (const Case& c : {Case{0, "1234567", "1,234,567"}, Case{3, "999.5", "1,000"},
                          Case{4, "12.5", "12"}, Case{1, "-300", "-300"}}) {
        SCOPED_TRACE(c.kind);
        FormState f;
        for (int k = 0; k < 5; ++k) {
            f.setText(Ctl::txtkehuming, k, "别家" + std::to_string(k));
            f.setText(Ctl::txtyinjianming, k, "别件" + std::to_string(k));
        }
        f.setText(Ctl::txtkehuming, c.kind, "华光公司");
        f.setText(Ctl::txtyinjianming, c.kind, "年报");
        f.setText(Ctl::txtshuliang, c.kind, c.quantity);
        f.setListIndex(Ctl::comleibie, 0, c.kind);
        const PricedJob job = pricedJobOf(f, CostResult{});
        EXPECT_EQ(quotationAddressee(job), "致华光公司：");
        const std::string letter = quotationLetter(job);
        EXPECT_NE(letter.find("<<年报>>共印制" + c.shown + "份，"), std::string::npos) << letter;
        EXPECT_NE(letter.find("单价为：0.0000元/份,"), std::string::npos) << letter;
    }
}

// The prepress and other sums are kept as 32-bit floats before they are
// rounded for the letter, as the result text does.
TEST(QuotationText, SumsAreStoredAsFloats) {
    FormState f;
    CostResult r;
    r.FilmCost = 0.125f;
    r.ImpositionCost = 0.0f;  // 0.125 is a tie: two decimals go to the even 0.12
    r.FoilCost = 16777216.0f;
    r.GlueCost = 1.0f;  // lost in a float sum
    f.setListIndex(Ctl::comleibie, 0, 0);
    const std::string letter = quotationLetter(pricedJobOf(f, r));
    EXPECT_NE(letter.find("印前制作费：0.12元，"), std::string::npos) << letter;
    EXPECT_NE(letter.find("其它费：16,777,216.00元。"), std::string::npos) << letter;
}

}  // namespace
}  // namespace inkquot
