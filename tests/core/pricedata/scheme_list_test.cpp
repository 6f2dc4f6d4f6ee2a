#include "core/pricedata/scheme_list.h"

#include <gtest/gtest.h>

#include "tests/core/common/temp_folder.h"

namespace inkquot {
namespace {

using namespace testing_support;

// "系统默认" and "方案一" in GBK.
const std::string kDefaultGbk = "\xCF\xB5\xCD\xB3\xC4\xAC\xC8\xCF";
const std::string kFirstGbk = "\xB7\xBD\xB0\xB8\xD2\xBB";

TEST(SchemeList, ParsesFieldsLineByLine) {
    struct Case {
        std::string bytes;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"\"" + kDefaultGbk + "\"\r\n\"" + kFirstGbk + "\"\r\n", {"系统默认", "方案一"}},
        {"\"" + kDefaultGbk + "\"\n\"" + kFirstGbk + "\"", {"系统默认", "方案一"}},
        {"", {}},
        {"\r\n\r\n", {}},
        {"  abc  , def\r\n", {"abc"}},
        {"abc,def", {"abc"}},
        {"\"a,b\"\r\n", {"a,b"}},
        {"\" a b \"\r\n", {" a b "}},
        {"\"open\r\nnext\r\n", {"open", "next"}},
        {"\"x\" , trailing\r\n", {"x"}},
        {"  \"indented\"\r\n", {"indented"}},
        {"\"\"\r\n", {""}},
        {"one\r\n\r\ntwo\r\n", {"one", "two"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseSchemeList(c.bytes), c.names) << c.bytes;
    }
}

TEST(SchemeList, GarbageBytesDecodeWithoutFailing) {
    auto names = parseSchemeList("\"\xFF\xFE\x81\"\r\n\x81");
    ASSERT_EQ(names.size(), 2u);
    EXPECT_FALSE(names[0].empty());
}

TEST(SchemeList, MissingListIsReportedByName) {
    TempFolder dir;
    std::vector<std::string> names{"stale"};
    IoStatus s = readSchemeList(dir / "fangan.inf", names);
    EXPECT_EQ(s.error, IoError::Missing);
    EXPECT_NE(s.message.find("fangan.inf"), std::string::npos);
    EXPECT_TRUE(names.empty());
}

TEST(SchemeList, AppendWritesAQuotedLine) {
    TempFolder dir;
    auto file = dir / "fangan.inf";
    ASSERT_TRUE(appendSchemeName(file, "系统默认"));
    ASSERT_TRUE(appendSchemeName(file, "方案一"));
    EXPECT_EQ(slurp(file), "\"" + kDefaultGbk + "\"\r\n\"" + kFirstGbk + "\"\r\n");
    std::vector<std::string> names;
    ASSERT_TRUE(readSchemeList(file, names));
    EXPECT_EQ(names, (std::vector<std::string>{"系统默认", "方案一"}));
}

TEST(SchemeList, AppendAfterAnUnfinishedLastLineStartsANewLine) {
    TempFolder dir;
    auto file = dir / "fangan.inf";
    spit(file, "\"a\"");
    ASSERT_TRUE(appendSchemeName(file, "b"));
    EXPECT_EQ(slurp(file), "\"a\"\r\n\"b\"\r\n");
}

TEST(SchemeList, RefusedNamesLeaveTheListAlone) {
    TempFolder dir;
    auto file = dir / "fangan.inf";
    const std::string original = "\"a\"\r\n";
    spit(file, original);
    std::string longest;
    for (int i = 0; i < 60; ++i) {
        longest += "甲";
    }
    EXPECT_TRUE(checkSchemeName(longest));
    const std::string refused[] = {
        "", "..", "x/y", "x\"y", "a\r\nb", "c:d", "笑\xF0\x9F\x98\x80", "\xC3\x28", longest + "乙"};
    for (const auto& name : refused) {
        IoStatus s = appendSchemeName(file, name);
        EXPECT_EQ(s.error, IoError::BadText) << name;
        EXPECT_FALSE(s.message.empty());
        EXPECT_EQ(rewriteSchemeList(file, {"ok", name}).error, IoError::BadText) << name;
        EXPECT_EQ(slurp(file), original);
    }
}

TEST(SchemeList, RewriteReplacesTheWholeList) {
    TempFolder dir;
    auto file = dir / "fangan.inf";
    spit(file, "\"a\"\r\n\"b\"\r\n\"c\"\r\n");
    ASSERT_TRUE(rewriteSchemeList(file, {"a", "c"}));
    EXPECT_EQ(slurp(file), "\"a\"\r\n\"c\"\r\n");
    ASSERT_TRUE(rewriteSchemeList(file, {}));
    EXPECT_EQ(slurp(file), "");
}

}  // namespace
}  // namespace inkquot
