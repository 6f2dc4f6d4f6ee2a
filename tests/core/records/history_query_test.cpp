#include "core/records/history_query.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "core/common/gbk.h"
#include "core/records/history_scan.h"
#include "core/records/recent_customers.h"
#include "tests/core/common/temp_folder.h"
#include "tests/core/records/sample_quotation.h"

namespace inkquot {
namespace {

JiluRec rec(int day, const std::string& customer, const std::string& job) {
    JiluRec r = testing::quotation(serialFromDate(dateFromSerial(day)), customer);
    r.Yinjianming = job;
    r.Yaoqiu = "要求";
    return r;
}

TEST(DateText, WhatCountsAsADate) {
    struct Case {
        const char* text;
        std::optional<CivilDate> date;
    };
    const Case cases[] = {
        {"2026/11/8", CivilDate{2026, 11, 8}},
        {" 2026-11-08 ", CivilDate{2026, 11, 8}},
        {"2026.1.31", CivilDate{2026, 1, 31}},
        {"2026年12月7日", CivilDate{2026, 12, 7}},
        {"2024/2/29", CivilDate{2024, 2, 29}},
        {"2026年12月7", CivilDate{2026, 12, 7}},
        {"2026/2/29", std::nullopt},
        {"2026/13/1", std::nullopt},
        {"2026/11/8x", std::nullopt},
        {"2026/11-8", std::nullopt},
        {"26/11/8", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"2026/11/008", std::nullopt},
        {"20261108", std::nullopt},
        {"2026/0/5", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseDateText(c.text), c.date) << c.text;
    }
}

TEST(HistoryLines, TenLinesInTheListsFormats) {
    JiluRec r = rec(46363, "客户1     ", "印件1");
    r.Shuliang = 1234567;
    r.Danjia = 0.5f;
    r.Zongjia = 1234.5f;
    const std::vector<std::string> expected = {
        "3记录",
        "日期：    2026/12/7",
        "客户名称：客户1     ",
        "印件名称：印件1",
        "规格：    大度16开",
        "数量：    1,234,567",
        "单价：    0.5000",
        "总价：    1,234.50",
        "加工要求：要求",
        "",
    };
    EXPECT_EQ(historyLines(r, 3), expected);
}

TEST(HistoryLines, DamagedNumbersDoNotBreakTheList) {
    JiluRec r = rec(0, "a", "b");
    r.Riqi = std::numeric_limits<double>::quiet_NaN();
    r.Danjia = std::numeric_limits<float>::infinity();
    const auto lines = historyLines(r, 1);
    EXPECT_EQ(lines[1], "日期：    ?");
    EXPECT_EQ(lines[6], "单价：    0.0000");
    r.Riqi = 1e300;
    EXPECT_EQ(historyLines(r, 1)[1], "日期：    ?");
}

TEST(HistoryQuery, ModesAndNumbering) {
    const std::vector<JiluRec> records = {
        rec(46360, "张三印务", "印件1"),
        rec(46362, "李四", "画册A"),
        rec(46363, "张三", "印件12"),
    };
    struct Case {
        HistoryMode mode;
        const char* customer;
        const char* job;
        const char* cutoff;
        std::vector<std::string> firstLines;  // line 1 of each listed record
        std::vector<std::string> customers;
    };
    const Case cases[] = {
        {HistoryMode::Customer,
         "",
         "",
         "",
         {"1记录", "2记录", "3记录"},
         {"张三印务", "李四", "张三"}},
        {HistoryMode::Customer, "  张三 ", "", "", {"1记录", "2记录"}, {"张三印务", "张三"}},
        {HistoryMode::JobName, "", "印件", "", {"1记录", "2记录"}, {"张三印务", "张三"}},
        {HistoryMode::JobName, "", "画册a", "", {}, {}},  // case-sensitive
        // Saved after the cut-off: the cut-off day itself does not match.
        {HistoryMode::Date, "", "", "2026/12/6", {"1记录"}, {"张三"}},
        {HistoryMode::Date, "", "", "2026/12/7", {}, {}},
        {HistoryMode::Date, "", "", "2026/12/4", {"1记录", "2记录"}, {"李四", "张三"}},
    };
    for (const auto& c : cases) {
        const auto lines = queryLines(records, {c.mode, c.customer, c.job, c.cutoff});
        ASSERT_TRUE(lines.has_value());
        ASSERT_EQ(lines->size(), 10 * c.firstLines.size()) << c.customer << c.job << c.cutoff;
        for (std::size_t i = 0; i < c.firstLines.size(); ++i) {
            EXPECT_EQ((*lines)[10 * i], c.firstLines[i]);
            EXPECT_EQ((*lines)[10 * i + 2], "客户名称：" + c.customers[i]);
        }
    }
    EXPECT_FALSE(queryLines(records, {HistoryMode::Date, "", "", "2026/2/30"}).has_value());
    EXPECT_TRUE(queryLines(records, {HistoryMode::Customer, "", "", "bad"}).has_value());
}

// The raw-byte search must agree with the rule on decoded text, also where
// the bytes of the search text straddle two characters or the field holds
// zero filler or broken bytes.
TEST(HistoryMatcher, RawBytesAgreeWithTheDecodedRule) {
    struct Case {
        const char* what;
        std::string field;  // GBK bytes of the customer field
        const char* search;
        bool match;
    };
    const std::string zhongwen = "\xD6\xD0\xCE\xC4";  // 中文; D0 CE alone is 形
    const Case cases[] = {
        {"whole characters", zhongwen, "文", true},
        {"bytes across two characters", zhongwen, "形", false},
        {"empty search", zhongwen, "  ", true},
        {"zero filler reads as a blank", std::string("a\0b", 3), "a b", true},
        {"broken byte", "\xFFx", "x", true},
        {"text GBK cannot hold", zhongwen, "中\xF0\x9F\x98\x80", false},
        {"case-sensitive", "Abc", "abc", false},
    };
    for (const Case& c : cases) {
        std::string data(kJiluDataLength, ' ');
        data.replace(8, c.field.size(), c.field);
        HistoryQuery query;
        query.customer = c.search;
        const auto matcher = HistoryMatcher::from(query);
        ASSERT_TRUE(matcher) << c.what;
        EXPECT_EQ(matcher->matches(std::string_view(data)), c.match) << c.what;
        EXPECT_EQ(matcher->matches(decodeJilu(data)), c.match) << c.what;
    }
}

// The same on random fields: characters, pairs the converter refuses (A1 40
// reads as U+FFFD then "@"; AA A1 as U+FFFD then whatever A1 starts), cut
// and stray bytes, zeros; searched for pieces of their own decoded text and
// for random text, in both name fields.
TEST(HistoryMatcher, RawBytesAgreeWithTheDecodedRuleOnRandomRecords) {
    std::mt19937 random(1208);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::string pieces[] = {
        "\xD6\xD0",  // 中
        "\xCE\xC4",  // 文
        "\xD0\xCE",  // 形
        "\xB0\xA1",  // 啊
        "\xA1\x40",  // refused, trail "@"
        "\xA1\x41",  // refused, trail "A"
        "\xAA\xA1",  // refused, trail a lead byte
        "\xA1",     "\x80", "\xFF", std::string(1, '\0'), "@", "A", "b", " ", "1",
    };
    const auto randomBytes = [&](int n) {
        std::string bytes;
        while (static_cast<int>(bytes.size()) < n) {
            bytes += pieces[pick(std::size(pieces))];
        }
        return bytes;
    };
    int matched = 0;
    for (int round = 0; round < 20000; ++round) {
        const bool byCustomer = pick(2) == 0;
        const std::size_t width = byCustomer ? 60 : 40;
        std::string field = randomBytes(pick(static_cast<int>(width) + 1)).substr(0, width);
        field.resize(width, ' ');
        std::string search;
        if (pick(2) == 0) {
            const std::string text = decodeGbkField(field);
            const std::size_t from = pick(static_cast<int>(text.size()));
            search = text.substr(from, 1 + pick(8));
        } else {
            search = decodeGbk(randomBytes(1 + pick(4)));
        }
        if (!isValidUtf8(search)) {
            continue;  // a cut character: no text to type
        }
        std::string data(kJiluDataLength, ' ');
        data.replace(byCustomer ? 8 : 68, width, field);
        HistoryQuery query;
        query.mode = byCustomer ? HistoryMode::Customer : HistoryMode::JobName;
        (byCustomer ? query.customer : query.jobName) = search;
        const auto matcher = HistoryMatcher::from(query);
        ASSERT_TRUE(matcher);
        const bool decoded = matcher->matches(decodeJilu(data));
        ASSERT_EQ(matcher->matches(std::string_view(data)), decoded)
            << ::testing::PrintToString(field) << " / " << search;
        matched += decoded ? 1 : 0;
    }
    EXPECT_GT(matched, 5000);
}

TEST(RecentCustomers, EachOnceTheLatestFirst) {
    testing_support::TempFolder dir;
    const auto file = dir / "frecord.dat";
    for (const char* customer : {"甲印务", "乙公司", "", "丙印务", "甲印务", "  "}) {
        ASSERT_TRUE(appendHistory(file, testing::quotation(46000, customer)));
    }
    std::vector<std::string> names;
    ASSERT_TRUE(recentCustomers(file, 10, names));
    EXPECT_EQ(names, (std::vector<std::string>{"甲印务", "丙印务", "乙公司"}));
    ASSERT_TRUE(recentCustomers(file, 2, names));
    EXPECT_EQ(names, (std::vector<std::string>{"甲印务", "丙印务"}));
    ASSERT_TRUE(recentCustomers(dir / "none.dat", 10, names));
    EXPECT_TRUE(names.empty());
}

}  // namespace
}  // namespace inkquot
