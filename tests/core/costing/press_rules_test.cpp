#include "core/costing/press_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/costing/control_catalogue.h"
#include "core/job/form_state.h"

namespace inkquot {
namespace {

using Sizes = std::vector<std::string>;

TEST(PressRules, OfferedSheetSizes) {
    struct Case {
        int press;
        float k;
        float z;
        int position;  // where the part ends
        bool refused;
        Sizes sizes;
    } cases[] = {
        // K 8, Z 2.
        {0, 8, 2, 0, false, {"2", "4"}},
        {1, 8, 2, 1, false, {"4", "8"}},
        {2, 8, 2, 2, false, {"8"}},
        {3, 8, 2, 3, false, {"2"}},
        // K 8, Z 1: only the half-sheet flat press and the rotary stay.
        {0, 8, 1, 0, false, {"1"}},
        {1, 8, 1, 0, true, {"1"}},
        {2, 8, 1, 0, true, {"1"}},
        {3, 8, 1, 3, false, {"1"}},
        // K 4 on an eighth-sheet press: back to 对开 with 2 and 4.
        {2, 4, 2, 0, true, {"2", "4"}},
        {1, 4, 2, 1, false, {"4"}},
        {1, 16, 2, 1, false, {"4", "8"}},
        {2, 16, 2, 2, false, {"8", "16"}},
        {2, 32, 4, 2, false, {"16", "32"}},
        {0, 12, 3, 0, false, {"3", "6"}},
        {1, 12, 3, 1, false, {"6", "12"}},
        {2, 12, 3, 2, false, {"12"}},
        // K is rounded half to even before dividing: 8.5 -> 8, 9.5 -> 10.
        {0, 8.5f, 2, 0, false, {"2", "4"}},
        {0, 9.5f, 2, 0, false, {"2"}},
        // So is the multiple of Z: 2.5 -> 2 and 3.5 -> 4.
        {0, 8, 1.25f, 0, false, {"1.25", "2.5"}},
        {0, 8, 1.75f, 0, false, {"1.75", "3.5"}},
        {0, 8, 1.5f, 0, false, {"1.5"}},
        {0, 6, 1.5f, 0, false, {"1.5", "3"}},
        // A divisor that rounds to 0 fails: Z below 0.25 (and 0.25 itself,
        // as 0.5 rounds to the even 0).
        {0, 8, 0.2f, 0, false, {"0.2"}},
        {0, 8, 0.25f, 0, false, {"0.25"}},
        {1, 8, 0.2f, 0, true, {"0.2"}},
        // The eighth-sheet press divides by 4Z, which rounds to 0 only below
        // Z 0.125.
        {2, 8, 0.1f, 0, true, {"0.1"}},
        {2, 8, 0.2f, 2, false, {"0.8", "1.6"}},
        {0, 8, 0.3f, 0, false, {"0.3", "0.6"}},
        // A multiple beyond the float range never divides.
        {0, 0, 3e38f, 0, false, {"3e+38"}},
        // No press selected: nothing offered.
        {-1, 8, 2, -1, false, {}},
    };
    for (const auto& c : cases) {
        const PressOffer offer = offerSheetSizes(c.press, c.k, c.z);
        EXPECT_EQ(offer.position, c.position) << c.press << " K " << c.k << " Z " << c.z;
        EXPECT_EQ(offer.refused, c.refused) << c.press << " K " << c.k << " Z " << c.z;
        EXPECT_EQ(offer.sizes, c.sizes) << c.press << " K " << c.k << " Z " << c.z;
    }
}

TEST(PressRules, Divisibility) {
    struct Case {
        float k;
        float sheet;
        bool divisible;
    } cases[] = {
        {16, 4, true},    {16, 6, false},   {-8, 4, true},    {0, 4, true},
        {8, 0, false},    {8, 0.4f, false}, {8, 0.6f, true},  {17179869184.0f, 1024, true},
        {7, 3.5f, false}, {8, 2.5f, true},  {6, 3.5f, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kaiDivisibleBy(c.k, c.sheet), c.divisible) << c.k << " / " << c.sheet;
    }
}

// Every part that ResetYinji resets for group g reads its K (and Z) from g,
// and every part that reads a group is reset with it.
TEST(PressRules, GroupsAndPartsAgree) {
    std::vector<int> resetCount(kPartCount, 0);
    for (int g = 0; g < kSizeGroupCount; ++g) {
        for (int part : partsOfSizeGroup(g)) {
            const auto source = pressInputSource(part);
            ASSERT_TRUE(source.has_value()) << part;
            EXPECT_EQ(source->kaiGroup, g) << part;
            EXPECT_EQ(source->sheetGroup, g) << part;
            ++resetCount[static_cast<std::size_t>(part)];
        }
    }
    for (int part = 0; part < kPartCount; ++part) {
        EXPECT_EQ(resetCount[static_cast<std::size_t>(part)], pressInputSource(part) ? 1 : 0)
            << part;
    }
    EXPECT_EQ(partsOfSizeGroup(0), (std::vector<int>{1, 2}));
    EXPECT_EQ(partsOfSizeGroup(6), (std::vector<int>{8, 9}));
    EXPECT_TRUE(partsOfSizeGroup(4).empty());
    EXPECT_TRUE(pressInputSource(1)->halved);
    EXPECT_FALSE(pressInputSource(0)->halved);
}

TEST(PressRules, ChoosePressReadsTheForm) {
    FormState form;
    // Inner pages of a 16开 book: K 8. With Z 4 the quarter-sheet press
    // offers 8 only (K 16 would also offer 16).
    form.setText(Ctl::Ntxtkaizhi, 0, "4");
    auto choice = choosePress(form, 1, kPressSikaiFlat);
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->sizes, (Sizes{"8"}));
    EXPECT_EQ(choice->selfTurn, std::optional<bool>(true));

    choice = choosePress(form, 7, kPressDuikaiRotary);
    EXPECT_EQ(choice->selfTurn, std::optional<bool>(false));
    choice = choosePress(form, 8, kPressSikaiFlat);
    EXPECT_FALSE(choice->selfTurn.has_value());
    EXPECT_FALSE(choosePress(form, 5, 0).has_value());
    EXPECT_FALSE(choosePress(form, 6, 0).has_value());

    form.setText(Ctl::Ncomkai, 5, "abc");
    choice = choosePress(form, 7, kPressDuikaiFlat);
    EXPECT_TRUE(choice->sizes.empty());
    EXPECT_FALSE(canResetYinji(form, 5));
    EXPECT_TRUE(canResetYinji(form, 6));
}

}  // namespace
}  // namespace inkquot
