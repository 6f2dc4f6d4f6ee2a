#include "core/records/history_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "core/common/file_io.h"
#include "core/records/history_scan.h"
#include "tests/core/common/temp_folder.h"
#include "tests/core/records/sample_quotation.h"

namespace inkquot {
namespace {

using testing::quotation;
using namespace testing_support;

std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ') {
        s.pop_back();
    }
    return s;
}

std::vector<std::string> customers(const std::filesystem::path& file) {
    std::vector<JiluRec> recs;
    EXPECT_TRUE(readHistory(file, recs).ok());
    std::vector<std::string> names;
    for (const auto& r : recs) {
        names.push_back(trimmed(r.Kehuming));
    }
    return names;
}

TEST(HistoryFile, AppendsSlotsOf860BytesAndReadsThemBack) {
    TempFolder dir;
    const auto file = dir / kHistoryFileName;
    ASSERT_TRUE(appendHistory(file, quotation(46363, "甲")).ok());
    ASSERT_TRUE(appendHistory(file, quotation(46364, "乙")).ok());
    EXPECT_EQ(std::filesystem::file_size(file), 2 * kHistorySlotLength);

    std::vector<JiluRec> recs;
    ASSERT_TRUE(readHistory(file, recs).ok());
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(recs[1].Riqi, 46364);
    EXPECT_EQ(recs[1].Kehuming, "乙" + std::string(58, ' '));  // padding kept
    EXPECT_EQ(trimmed(recs[1].Kehuming), "乙");
    EXPECT_EQ(trimmed(recs[0].Guige), "大度16开");
    EXPECT_EQ(recs[0].Danjia, 0.5f);
    EXPECT_EQ(recs[0].Zongjia, 500.0f);

    // The data sit at their offsets: the quantity at 108, the total at 436.
    const std::string bytes = slurp(file);
    float q = 0;
    std::memcpy(&q, bytes.data() + 108, 4);
    EXPECT_EQ(q, 1000.0f);
    EXPECT_EQ(bytes.substr(440, 420), std::string(420, '\0'));
}

TEST(HistoryFile, TornAndShortFiles) {
    struct Case {
        const char* what;
        std::size_t keepBytes;  // of a three-record file
        std::size_t wholeRecords;
    };
    const Case cases[] = {
        {"empty", 0, 0},
        {"torn first record", 439, 0},
        {"first record ends right after its data", 440, 1},
        {"second slot torn inside its data", 860 + 100, 1},
        {"last slot without filler", 2 * 860 + 440, 3},
    };
    TempFolder dir;
    const auto full = dir / "full.dat";
    for (const char* who : {"甲", "乙", "丙"}) {
        ASSERT_TRUE(appendHistory(full, quotation(46363, who)).ok());
    }
    const std::string bytes = slurp(full);
    for (const auto& c : cases) {
        const auto file = dir / kHistoryFileName;
        spit(file, bytes.substr(0, c.keepBytes));
        EXPECT_EQ(customers(file).size(), c.wholeRecords) << c.what;
        // An append goes right after the last whole record.
        ASSERT_TRUE(appendHistory(file, quotation(46400, "新")).ok()) << c.what;
        const auto names = customers(file);
        ASSERT_EQ(names.size(), c.wholeRecords + 1) << c.what;
        EXPECT_EQ(names.back(), "新") << c.what;
        EXPECT_EQ(std::filesystem::file_size(file), (c.wholeRecords + 1) * kHistorySlotLength);
    }
}

TEST(HistoryFile, DeleteUpToKeepsLaterRecordsInOrder) {
    TempFolder dir;
    const auto file = dir / kHistoryFileName;
    const double days[] = {46360, 46363, 46361, 46364, 46363, 46365};
    const char* names[] = {"a", "b", "c", "d", "e", "f"};
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(appendHistory(file, quotation(days[i], names[i])).ok());
    }
    std::size_t dropped = 0;
    // The cut-off day itself goes too.
    ASSERT_TRUE(deleteHistoryUpTo(file, 46363, &dropped).ok());
    EXPECT_EQ(dropped, 4u);
    EXPECT_EQ(customers(file), (std::vector<std::string>{"d", "f"}));

    ASSERT_TRUE(deleteHistoryUpTo(file, 46400).ok());
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), 0u);

    ASSERT_TRUE(deleteAllHistory(file).ok());
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(customers(file).empty());
}

TEST(HistoryFile, InterruptedDeletionLeavesTheOldHistory) {
    TempFolder dir;
    const auto file = dir / kHistoryFileName;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(appendHistory(file, quotation(46360 + i, std::to_string(i))).ok());
    }
    const std::string before = slurp(file);
    using io_test_hooks::FailPoint;
    // Every byte position of the new file, and the steps around the writing.
    for (std::size_t at = 0; at < 2 * kHistorySlotLength; at += 97) {
        io_test_hooks::failNextWrites(FailPoint::WriteAfterBytes, at);
        EXPECT_FALSE(deleteHistoryUpTo(file, 46361).ok()) << at;
        io_test_hooks::failNextWrites(FailPoint::None);
        ASSERT_EQ(slurp(file), before) << at;
    }
    for (auto point : {FailPoint::CreateTemporary, FailPoint::Sync, FailPoint::Rename}) {
        io_test_hooks::failNextWrites(point);
        EXPECT_FALSE(deleteHistoryUpTo(file, 46361).ok());
        io_test_hooks::failNextWrites(FailPoint::None);
        ASSERT_EQ(slurp(file), before);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(HistoryFile, FailedAppendLeavesTheOldRecords) {
    TempFolder dir;
    const auto file = dir / kHistoryFileName;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(appendHistory(file, quotation(46360 + i, std::to_string(i))).ok());
    }
    std::string before = slurp(file);
    using io_test_hooks::FailPoint;
    // Written in place at the end: a write that stops anywhere in the new
    // slot, or a flush that fails, is cut back.
    for (std::size_t at = 0; at < kHistorySlotLength; at += 97) {
        io_test_hooks::failNextWrites(FailPoint::WriteAfterBytes, at);
        EXPECT_FALSE(appendHistory(file, quotation(46370, "x")).ok()) << at;
        io_test_hooks::failNextWrites(FailPoint::None);
        ASSERT_EQ(slurp(file), before) << at;
    }
    io_test_hooks::failNextWrites(FailPoint::Sync);
    EXPECT_FALSE(appendHistory(file, quotation(46370, "x")).ok());
    io_test_hooks::failNextWrites(FailPoint::None);
    ASSERT_EQ(slurp(file), before);
    // Behind a torn tail the file is copied instead, and a failed copy
    // leaves it as it was, torn tail and all.
    spit(file, before + std::string(100, 'z'));
    before = slurp(file);
    for (auto point : {FailPoint::CreateTemporary, FailPoint::Rename}) {
        io_test_hooks::failNextWrites(point);
        EXPECT_FALSE(appendHistory(file, quotation(46370, "x")).ok());
        io_test_hooks::failNextWrites(FailPoint::None);
        ASSERT_EQ(slurp(file), before);
    }
    ASSERT_TRUE(appendHistory(file, quotation(46371, "y")).ok());
    EXPECT_EQ(customers(file), (std::vector<std::string>{"0", "1", "2", "y"}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(HistoryFile, RefusesTextGbkCannotHoldBeforeWriting) {
    TempFolder dir;
    const auto file = dir / kHistoryFileName;
    ASSERT_TRUE(appendHistory(file, quotation(46363, "甲")).ok());
    const std::string before = slurp(file);
    const IoStatus status = appendHistory(file, quotation(46363, "客户\xF0\x9F\x98\x80"));
    EXPECT_EQ(status.error, IoError::BadText);
    EXPECT_NE(status.message.find("客户名称"), std::string::npos);
    EXPECT_EQ(slurp(file), before);
}

TEST(HistoryFile, LongTextsAreCutWithoutSplittingACharacter) {
    TempFolder dir;
    const auto file = dir / kHistoryFileName;
    JiluRec r = quotation(46363, "甲");
    r.Guige = "一二三四五六七八九十A";  // 21 bytes in GBK, field of 20
    ASSERT_TRUE(appendHistory(file, r).ok());
    std::vector<JiluRec> recs;
    ASSERT_TRUE(readHistory(file, recs).ok());
    EXPECT_EQ(recs[0].Guige, "一二三四五六七八九十");
}

// A history larger than any whole-file read could hold: a sparse file of
// 600 MiB of zero slots (blank records of day 0) with real quotations at the
// start and past the 512 MiB mark, and a torn tail.
TEST(HistoryFile, StreamsAHistoryOfAnySize) {
    TempFolder dir;
    const auto file = dir / kHistoryFileName;
    const std::uint64_t slots = 600ull * 1024 * 1024 / kHistorySlotLength;
    std::string first;
    std::string last;
    ASSERT_TRUE(encodeJiluSlot(quotation(46363, "最早的客户"), first).ok());
    ASSERT_TRUE(encodeJiluSlot(quotation(46364, "最后的客户"), last).ok());
    {
        // Written past the end, the gap reads as zeros and takes no room.
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        ASSERT_EQ(first.size(), 860u);
        out.write(first.data(), 860);
        const auto lastAt = static_cast<std::streamoff>((slots - 1) * kHistorySlotLength);
        out.seekp(lastAt);
        out.write(last.data(), kJiluDataLength);
        out.seekp(lastAt + 440 + 420);
        out.write(first.data(), 100);  // torn
        ASSERT_TRUE(out.flush());
    }

    std::uint64_t counted = 0;
    ASSERT_TRUE(countHistoryRecords(file, counted).ok());
    EXPECT_EQ(counted, slots);

    HistoryQuery query;
    query.customer = "客户";
    const auto matcher = HistoryMatcher::from(query);
    std::vector<std::string> found;
    HistoryScanResult result;
    std::uint64_t lastDone = 0;
    ASSERT_TRUE(scanHistory(
                    file, *matcher,
                    [&](std::string_view data, std::uint64_t) {
                        found.push_back(trimmed(decodeJilu(data).Kehuming));
                    },
                    [&](std::uint64_t done, std::uint64_t total) {
                        EXPECT_GT(done, lastDone);
                        EXPECT_EQ(total, slots * kHistorySlotLength + 100);
                        lastDone = done;
                        return true;
                    },
                    result)
                    .ok());
    EXPECT_FALSE(result.stopped);
    EXPECT_EQ(found, (std::vector<std::string>{"最早的客户", "最后的客户"}));
}

}  // namespace
}  // namespace inkquot
