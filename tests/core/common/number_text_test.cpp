#include "core/common/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace inkquot {
namespace {

TEST(ParseNumber, AcceptsAndReads) {
    struct Case {
        const char* text;
        float value;
    } cases[] = {
        {"0", 0.0f},
        {"10000", 10000.0f},
        {"0000007", 7.0f},
        {"9999999", 9999999.0f},
        {"16777217", 16777216.0f},  // the tie goes to the even float
        {"  12.5\t", 12.5f},
        {"+3", 3.0f},
        {"-3", -3.0f},
        {".5", 0.5f},
        {"5.", 5.0f},
        {"1,234", 1234.0f},
        {"12,345,678.25", 12345678.25f},
        {"-1,000", -1000.0f},
        {"1e3", 1000.0f},
        {"1.5E-2", 0.015f},
        {"2e+1", 20.0f},
        {"0e999999999999", 0.0f},
        {"1e0000000000000000000001", 10.0f},
        {"3.4028234e38", std::numeric_limits<float>::max()},
        {"1e-45", std::numeric_limits<float>::denorm_min()},
        // Correct rounding straight to float: through a double first this
        // text would land on the tie and round to even (16777216).
        {"16777217.000000001", 16777218.0f},
        {"0.1", 0.1f},
    };
    for (const auto& c : cases) {
        const auto v = parseNumber(c.text);
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(*v, c.value) << c.text;
    }
}

TEST(ParseNumber, RefusesWhatIsNotANumber) {
    const char* refused[] = {
        "",          " ",
        "abc",       "inf",
        "-inf",      "nan",
        "NaN",       "Infinity",
        "0x10",      "0x1p3",
        ".",         "+",
        "-",         "1.2.3",
        "1e",        "1e+",
        "e5",        "1 000",
        "1,5",       "1,23",
        "1234,567",  ",123",
        "1,",        "1,,234",
        "1,234.5,6", "12a",
        "--1",       "+-1",
        "1e3.5",     "1e40",
        "-1e40",     "3.4028236e38",
        "1e-50",     "1e999999999999999999",
        "１２",      "12元",
        "1.0.",      "。5",
    };
    for (const char* text : refused) {
        EXPECT_FALSE(parseNumber(text).has_value()) << text;
    }
}

// Every float written as its shortest text reads back as the same float.
TEST(ShortestText, RoundTripsThroughTheNumberTest) {
    std::mt19937 random(12345);
    for (int i = 0; i < 20000; ++i) {
        std::uint32_t bits = random();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        if (!std::isfinite(f)) {
            continue;
        }
        const auto back = parseNumber(shortestFloatText(f));
        ASSERT_TRUE(back.has_value()) << shortestFloatText(f);
        ASSERT_EQ(*back, f) << shortestFloatText(f);
    }
}

TEST(ShortestText, Samples) {
    EXPECT_EQ(shortestFloatText(2.0f), "2");
    EXPECT_EQ(shortestFloatText(16.0f), "16");
    EXPECT_EQ(shortestFloatText(0.5f), "0.5");
    EXPECT_EQ(shortestFloatText(0.1f), "0.1");
    EXPECT_EQ(shortestFloatText(-2.5f), "-2.5");
    EXPECT_EQ(shortestDoubleText(32.0 / 2), "16");
    EXPECT_EQ(shortestDoubleText(25.0 / 2), "12.5");
    EXPECT_EQ(shortestDoubleText(0.1), "0.1");
}

TEST(GroupedFixed, Formats) {
    struct Case {
        double value;
        int decimals;
        const char* text;
    } cases[] = {
        {12345.6, 2, "12,345.60"},
        {-12345.6, 2, "-12,345.60"},
        {0.9294, 4, "0.9294"},
        {0, 4, "0.0000"},
        {0, 2, "0.00"},
        {0, 0, "0"},
        {-0.0, 2, "0.00"},  // a zero with its sign bit set shows no sign
        {0, 8, "0.00000000"},
        {999.995f, 2, "999.99"},  // the float lies just below the half
        {0.125, 2, "0.12"},       // exact tie: even digit
        {0.375, 2, "0.38"},
        {2.5, 0, "2"},
        {3.5, 0, "4"},
        {1234567, 0, "1,234,567"},
        {123, 0, "123"},
        {1000, 0, "1,000"},
        {-0.001, 2, "0.00"},
        {-0.005, 2, "-0.01"},  // the double lies just beyond the half
        {929.375f, 2, "929.38"},
        {100000, 2, "100,000.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(groupedFixed(c.value, c.decimals), c.text) << c.value << " / " << c.decimals;
    }
}

// Against the C library's exact rounding ("%.*f", halves to even) with the
// grouping commas taken out: amounts as floats and as doubles, halves and
// values near them, tiny and huge ones.
TEST(GroupedFixed, RoundsTheExactValue) {
    std::mt19937_64 rng(20261208);
    std::vector<double> values = {0.125,
                                  0.375,
                                  2.5,
                                  3.5,
                                  0.5,
                                  1.5,
                                  -2.5,
                                  1e15,
                                  9.5e15,
                                  1e300,
                                  5e-324,
                                  -1e-310,
                                  4503599627370495.5,
                                  4503599627370496.5};
    for (int i = 0; i < 20000; ++i) {
        const double cents = static_cast<double>(rng() % 2000000001) - 1e9;
        const double half = (cents + 0.5) / std::pow(10.0, static_cast<int>(rng() % 7));
        values.push_back(half);
        values.push_back(static_cast<float>(half));
        values.push_back(std::bit_cast<double>(rng()));
        values.push_back(static_cast<float>(std::bit_cast<double>(rng() >> 2)));
    }
    for (const double v : values) {
        if (!std::isfinite(v)) {
            continue;
        }
        for (int decimals : {0, 2, 4, 6, 7}) {
            std::string expected(400, '\0');
            expected.resize(static_cast<std::size_t>(
                std::snprintf(expected.data(), expected.size(), "%.*f", decimals, v)));
            if (expected.find_first_not_of("-0.") == std::string::npos) {
                expected.erase(0, expected.front() == '-' ? 1 : 0);
            }
            std::string got = groupedFixed(v, decimals);
            got.erase(std::remove(got.begin(), got.end(), ','), got.end());
            ASSERT_EQ(got, expected) << std::hexfloat << v << " / " << decimals;
        }
    }
}

TEST(RoundHalfEven, Rounds) {
    struct Case {
        float value;
        float rounded;
    } cases[] = {
        {0.5f, 0},       {1.5f, 2},
        {2.5f, 2},       {3.5f, 4},
        {-0.5f, 0},      {-1.5f, -2},
        {-2.5f, -2},     {2.4999998f, 2},
        {2.5000002f, 3}, {12.5f, 12},
        {13.5f, 14},     {0.25f, 0},
        {-3.7f, -4},     {16777216.0f, 16777216.0f},
        {1e30f, 1e30f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(roundHalfEven(c.value), c.rounded) << c.value;
    }
    EXPECT_TRUE(std::isinf(roundHalfEven(std::numeric_limits<float>::infinity())));
}

}  // namespace
}  // namespace inkquot
