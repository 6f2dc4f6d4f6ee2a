#include "core/records/user_file.h"

#include <gtest/gtest.h>

#include "tests/core/common/temp_folder.h"

namespace inkquot {
namespace {

using namespace testing_support;

std::string slot(std::string_view user, std::string_view mima) {
    std::string s(user);
    s.resize(8, ' ');
    s += mima;
    s.resize(16, ' ');
    s.resize(32, '\0');
    return s;
}

TEST(UserFile, ComparisonRule) {
    struct Case {
        std::string fileBytes;
        std::string typed;
        bool matches;
    };
    const Case cases[] = {
        {slot("user0000", "604172"), "604172", true},
        {slot("user0000", "604172"), "  604172  ", true},
        {slot("user0000", "604172"), "604173", false},
        {slot("user0000", "604172"), "60417", false},
        {slot("user0000", "AbcDef"), "abcdef", false},
        {slot("user0000", "AbcDef"), "AbcDef", true},
        {slot("user0000", "12345678"), "12345678", true},
        {slot("user0000", "  pass"), "pass", true},
        // Blank or zeroed passwords and short or empty files open nothing.
        {slot("user0000", ""), "", false},
        {slot("user0000", ""), "   ", false},
        {std::string(32, '\0'), "", false},
        {"", "", false},
        {"user0000604", "604", false},
        // A password field that is not valid GBK cannot be matched.
        {slot("user0000", "\x81\x20\xFF"), "\xEF\xBF\xBD", false},
        // Only the first 16 bytes count; a 16-byte file is a whole record.
        {slot("user0000", "604172").substr(0, 16), "604172", true},
        {slot("user0000", "\xC3\xDC\xC2\xEB"), "密码", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(passwordMatches(parseUserFile(c.fileBytes), c.typed), c.matches)
            << c.typed << " / " << c.fileBytes.size();
    }
}

TEST(UserFile, MissingFileMatchesNothing) {
    TempFolder dir;
    EXPECT_FALSE(passwordMatches(readUserFile(dir / "users.dat"), ""));
    EXPECT_FALSE(std::filesystem::exists(dir / "users.dat"));
}

TEST(UserFile, EnsureCreatesTheInitialPasswordOnlyWhenMissing) {
    TempFolder dir;
    auto file = dir / "users.dat";
    ASSERT_TRUE(ensureUserFile(file));
    EXPECT_EQ(slurp(file), slot("user0000", "604172"));
    EXPECT_TRUE(passwordMatches(readUserFile(file), "604172"));

    spit(file, slot("user0000", "secret"));
    ASSERT_TRUE(ensureUserFile(file));
    EXPECT_EQ(slurp(file), slot("user0000", "secret"));
    spit(file, "");
    ASSERT_TRUE(ensureUserFile(file));
    EXPECT_EQ(slurp(file), "");
}

TEST(UserFile, WritePasswordStoresSlotOne) {
    TempFolder dir;
    auto file = dir / "users.dat";
    struct Case {
        std::string password;
        IoError error;
        std::string stored;  // the Mima field when accepted
    };
    const Case cases[] = {
        {"abcdef", IoError::None, "abcdef  "},
        {"12345678", IoError::None, "12345678"},
        {"密码ab", IoError::None,
         "\xC3\xDC\xC2\xEB"
         "ab  "},
        {"123456789", IoError::BadText, ""},
        {"密码密码a", IoError::BadText, ""},
        {"   ", IoError::BadText, ""},
        {"ab\xF0\x9F\x98\x80", IoError::BadText, ""},
    };
    std::string previous;
    for (const auto& c : cases) {
        IoStatus s = writePassword(file, c.password);
        EXPECT_EQ(s.error, c.error) << c.password;
        if (c.error == IoError::None) {
            previous = slurp(file);
            ASSERT_EQ(previous.size(), 32u);
            EXPECT_EQ(previous.substr(0, 8), "user0000");
            EXPECT_EQ(previous.substr(8, 8), c.stored);
            EXPECT_EQ(previous.substr(16), std::string(16, '\0'));
            EXPECT_TRUE(passwordMatches(readUserFile(file), c.password));
        } else {
            EXPECT_EQ(slurp(file), previous);
        }
    }
}

TEST(UserFile, WritePasswordKeepsWhatFollowsSlotOne) {
    TempFolder dir;
    auto file = dir / "users.dat";
    spit(file, slot("someone", "old") + "tail");
    ASSERT_TRUE(writePassword(file, "newpass"));
    EXPECT_EQ(slurp(file), slot("user0000", "newpass") + "tail");
}

}  // namespace
}  // namespace inkquot
