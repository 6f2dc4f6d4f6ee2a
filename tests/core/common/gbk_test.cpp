#include "core/common/gbk.h"

#include <gtest/gtest.h>

namespace inkquot {
namespace {

TEST(GbkField, EncodesPadsAndCuts) {
    struct Case {
        std::string text;
        std::size_t width;
        std::string field;
    };
    const Case cases[] = {
        {"纸张管理费", 20, "\xD6\xBD\xD5\xC5\xB9\xDC\xC0\xED\xB7\xD1" + std::string(10, ' ')},
        {"元", 4, "\xD4\xAA  "},
        {"abc", 3, "abc"},
        {"abcd", 3, "abc"},
        {"", 2, "  "},
        // A double-byte character that would straddle the end is dropped.
        {"a元", 2, "a "},
        {"元元", 3, "\xD4\xAA "},
        {"元元", 4, "\xD4\xAA\xD4\xAA"},
        // Full-width punctuation, as in the process price names.
        {"（一）", 6, "\xA3\xA8\xD2\xBB\xA3\xA9"},
        {"（一）", 5, "\xA3\xA8\xD2\xBB "},
        // The euro sign is the one character of a single byte above ASCII.
        {"€元", 3, "\x80\xD4\xAA"},
        {"元€", 3, "\xD4\xAA\x80"},
    };
    for (const auto& c : cases) {
        std::string field;
        ASSERT_TRUE(encodeGbkField(c.text, c.width, field)) << c.text;
        EXPECT_EQ(field, c.field) << c.text << " in " << c.width;
    }
}

TEST(GbkField, RefusesWhatGbkCannotHold) {
    const std::string refused[] = {
        "\xF0\x9F\x98\x80",    // emoji
        "纸\xF0\x9F\x8E\xA8",  // emoji after a valid character
        "\xC3",                // cut UTF-8 sequence
        "\xC0\xAF",            // overlong slash
        "\xED\xA0\x80",        // surrogate
        "\xFF",                // never UTF-8
        "\xE0\xB8\x81",        // Thai
        "a\U000E0001b",        // an invisible language tag, not dropped unseen
    };
    for (const auto& text : refused) {
        std::string field = "stale";
        IoStatus s = encodeGbkField(text, 10, field);
        EXPECT_EQ(s.error, IoError::BadText);
        EXPECT_FALSE(s.message.empty());
        EXPECT_TRUE(field.empty());
    }
}

TEST(GbkDecode, RoundTripsAndSurvivesGarbage) {
    std::string gbk;
    ASSERT_TRUE(encodeGbk("系统默认 UV (含) 16开", gbk));
    bool clean = false;
    EXPECT_EQ(decodeGbk(gbk, &clean), "系统默认 UV (含) 16开");
    EXPECT_TRUE(clean);

    struct Case {
        std::string bytes;
        std::string text;
    };
    const Case cases[] = {
        {"\x81", "\xEF\xBF\xBD"},  // lead byte cut off at the end
        {"a\xFF"
         "b",
         "a\xEF\xBF\xBD"
         "b"},  // not a GBK byte
        {"\xD4\xAA\x81", "元\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeGbk(c.bytes, &clean), c.text);
        EXPECT_FALSE(clean);
    }
    // Every two-byte combination decodes to valid UTF-8 without failing.
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; b += 7) {
            std::string bytes{static_cast<char>(a), static_cast<char>(b)};
            ASSERT_TRUE(isValidUtf8(decodeGbk(bytes))) << a << "," << b;
        }
    }
}

TEST(GbkDecode, FieldZerosReadAsSpaces) {
    EXPECT_EQ(decodeGbkField(std::string("ab\0\0", 4)), "ab  ");
    EXPECT_EQ(decodeGbkField(std::string("\xD4\xAA\0", 3)), "元 ");
    EXPECT_EQ(decodeGbk(std::string("a\0", 2)), std::string("a\0", 2));
}

}  // namespace
}  // namespace inkquot
