#include "core/pricedata/price_tables.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "core/common/file_io.h"
#include "tests/core/common/fail_writes.h"
#include "tests/core/common/temp_folder.h"

namespace inkquot {
namespace {

using namespace testing_support;

// Record 18 of the basic parameters, "纸张管理费" 15 "百分之" "按百分比计",
// assembled byte by byte.
std::string handMadeJibenSlot() {
    std::string s = fromHex("12000000");
    s += fromHex("d6bdd5c5b9dcc0edb7d1") + std::string(10, ' ');
    s += fromHex("00007041");
    s += fromHex("b0d9b7d6d6ae") + std::string(6, ' ');
    s += fromHex("b0b4b0d9b7d6b1c8bcc6") + std::string(90, ' ');
    EXPECT_EQ(s.size(), 140u);
    s.resize(272, '\0');
    return s;
}

TEST(PriceTables, LayoutsMatchTheFiles) {
    struct Case {
        PriceTable table;
        std::size_t slot, data;
        int count;
        std::string_view working, suffix;
    };
    const Case cases[] = {
        {PriceTable::Jiben, 272, 140, 18, "fjiben.dat", "ji.dat"},
        {PriceTable::Gongjia, 508, 266, 44, "fgongjia.dat", "gong.dat"},
        {PriceTable::Zhijia, 136, 74, 50, "fzhijia.dat", "zhi.dat"},
        {PriceTable::Zhijiabu, 136, 74, 10, "fzhijiabu.dat", "zhibu.dat"},
    };
    for (const auto& c : cases) {
        const TableLayout& l = layoutOf(c.table);
        EXPECT_EQ(l.slotLength, c.slot);
        EXPECT_EQ(l.dataLength, c.data);
        EXPECT_EQ(l.recordCount, c.count);
        EXPECT_EQ(l.workingFile, c.working);
        EXPECT_EQ(l.schemeSuffix, c.suffix);
    }
    // The last field of each record ends exactly at the data length.
    EXPECT_EQ(jiben_field::Shuoming + jiben_field::ShuomingWidth, 140u);
    EXPECT_EQ(gongjia_field::Shuoming + gongjia_field::ShuomingWidth, 266u);
    EXPECT_EQ(zhijia_field::Neizhi + 4, 74u);
}

TEST(PriceTables, EncodesAJibenSlotByteForByte) {
    JibenRec rec{18, "纸张管理费", 15.0f, "百分之", "按百分比计"};
    std::string slot;
    ASSERT_TRUE(encodeSlot(rec, slot));
    EXPECT_EQ(slot, handMadeJibenSlot());
}

TEST(PriceTables, EncodesGongjiaAndZhijiaFieldsAtTheirOffsets) {
    GongjiaRec g{28, "对开盒粘盒费", 0.15f, "元/边/个", 0.5f, 0.2f, 0.12f, 0.08f, "x"};
    std::string slot;
    ASSERT_TRUE(encodeSlot(g, slot));
    ASSERT_EQ(slot.size(), 508u);
    TableImage image(PriceTable::Gongjia, slot);
    EXPECT_EQ(image.int32At(1, 0), 28);
    EXPECT_EQ(image.floatAt(1, gongjia_field::Danjia), 0.15f);
    EXPECT_EQ(image.floatAt(1, gongjia_field::Tag3), 0.12f);
    EXPECT_EQ(image.floatAt(1, gongjia_field::Tag4), 0.08f);
    // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "x" + string.
    std::string note(1, 'x');
    note.append(199, ' ');
    EXPECT_EQ(slot.substr(66, 200), note);
    EXPECT_EQ(slot.substr(266), std::string(508 - 266, '\0'));

    ZhijiaRec z{1, "铜版纸", 8000.0f, "元/吨", "普通", 1};
    ASSERT_TRUE(encodeSlot(z, PriceTable::Zhijia, slot));
    ASSERT_EQ(slot.size(), 136u);
    EXPECT_EQ(slot.substr(0, 4), fromHex("01000000"));
    EXPECT_EQ(slot.substr(4, 20), fromHex("cdadb0e6d6bd") + std::string(14, ' '));
    EXPECT_EQ(slot.substr(24, 4), fromHex("0000fa45"));
    EXPECT_EQ(slot.substr(28, 12), fromHex("d4aa2fb6d6") + std::string(7, ' '));
    EXPECT_EQ(slot.substr(40, 30), fromHex("c6d5cda8") + std::string(26, ' '));
    EXPECT_EQ(slot.substr(70, 4), fromHex("01000000"));
    EXPECT_EQ(slot.substr(74), std::string(136 - 74, '\0'));
}

TEST(PriceTables, TextsLongerThanTheFieldAreCutOnCharacterBoundaries) {
    struct Case {
        std::string name;
        std::string expected;  // decoded field, padding included
    };
    const Case cases[] = {
        {"一二三四五六七八九十壹", "一二三四五六七八九十"},
        {"a一二三四五六七八九十", "a一二三四五六七八九 "},
        {"粘盒(做纸袋)起点收费", "粘盒(做纸袋)起点收费"},
        {"abcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrst"},
        {"", std::string(20, ' ')},
    };
    for (const auto& c : cases) {
        std::string slot;
        ASSERT_TRUE(encodeSlot(JibenRec{1, c.name, 0, "", ""}, slot)) << c.name;
        TableImage image(PriceTable::Jiben, slot);
        EXPECT_EQ(image.textAt(1, jiben_field::Mingcheng, 20), c.expected) << c.name;
    }
}

TEST(PriceTables, RefusesTextThatGbkCannotHold) {
    std::string slot = "untouched";
    IoStatus s = encodeSlot(JibenRec{1, "纸\xF0\x9F\x98\x80", 0, "", ""}, slot);
    EXPECT_EQ(s.error, IoError::BadText);
    EXPECT_FALSE(s.message.empty());
    EXPECT_EQ(slot, "untouched");
    EXPECT_EQ(encodeSlot(JibenRec{1, "ok", 0, "\xC3", ""}, slot).error, IoError::BadText);
}

TEST(PriceTables, RecordsBeyondTheEndReadAsZerosAndBlanks) {
    std::string bytes = handMadeJibenSlot();
    // Cut inside the name: the rest of the field reads as spaces, the numbers
    // after it as zero.
    TableImage cut(PriceTable::Jiben, bytes.substr(0, 8));
    EXPECT_EQ(cut.int32At(1, 0), 18);
    EXPECT_EQ(cut.textAt(1, jiben_field::Mingcheng, 20), "纸张" + std::string(16, ' '));
    EXPECT_EQ(cut.floatAt(1, jiben_field::Shuju), 0.0f);
    // Cut inside the number: only its present low bytes count.
    TableImage inNumber(PriceTable::Jiben, bytes.substr(0, 2));
    EXPECT_EQ(inNumber.int32At(1, 0), 18);

    TableImage image(PriceTable::Jiben, bytes);
    EXPECT_EQ(image.int32At(2, 0), 0);
    EXPECT_EQ(image.textAt(2, jiben_field::Shuoming, 100), std::string(100, ' '));
    EXPECT_EQ(image.int32At(0, 0), 0);
    EXPECT_EQ(image.int32At(-5, 0), 0);

    auto table = jibenTableOf(image);
    ASSERT_EQ(table.size(), 18u);
    EXPECT_EQ(table[0].Shuju, 15.0f);
    EXPECT_EQ(table[0].Mingcheng, "纸张管理费" + std::string(10, ' '));
    EXPECT_EQ(table[17].Bianhao, 0);
    EXPECT_EQ(table[17].Danwei, std::string(12, ' '));
}

TEST(PriceTables, NonFiniteStoredNumbersReadAsZero) {
    const float values[] = {std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity()};
    for (float v : values) {
        std::string slot;
        ASSERT_TRUE(encodeSlot(ZhijiaRec{1, "纸", v, "", "", 0}, PriceTable::Zhijia, slot));
        TableImage image(PriceTable::Zhijia, slot);
        EXPECT_EQ(image.floatAt(1, zhijia_field::Jiage), 0.0f);
    }
}

TEST(PriceTables, LoadReadsMissingFileAsEmpty) {
    TempFolder dir;
    TableImage image;
    ASSERT_TRUE(TableImage::load(dir / "fjiben.dat", PriceTable::Jiben, image));
    EXPECT_TRUE(image.bytes().empty());
    std::vector<ZhijiaRec> paper;
    ASSERT_TRUE(readZhijiabuTable(dir / "fzhijiabu.dat", paper));
    EXPECT_EQ(paper.size(), 10u);
    EXPECT_EQ(paper[9].Mingcheng, std::string(20, ' '));
}

TEST(PriceTables, LoadTakesOnlyTheSlotsOfTheTable) {
    TempFolder dir;
    std::string bytes(136 * 12, 'x');
    spit(dir / "f.dat", bytes);
    TableImage image;
    ASSERT_TRUE(TableImage::load(dir / "f.dat", PriceTable::Zhijiabu, image));
    EXPECT_EQ(image.bytes().size(), 136u * 10);
}

TEST(PriceTables, WriteRecordGrowsWithZeroSlotsAndKeepsOthers) {
    TempFolder dir;
    auto file = dir / "fzhijia.dat";
    ZhijiaRec rec{99, "新纸", 1234.5f, "元/吨", "自定义", 0};
    ASSERT_TRUE(writeRecord(file, PriceTable::Zhijia, 3, rec));
    std::string bytes = slurp(file);
    ASSERT_EQ(bytes.size(), 3u * 136);
    EXPECT_EQ(bytes.substr(0, 272), std::string(272, '\0'));

    std::vector<ZhijiaRec> table;
    ASSERT_TRUE(readZhijiaTable(file, table));
    EXPECT_EQ(table[2].Bianhao, 3);  // the slot's number, whatever the caller held
    EXPECT_EQ(table[2].Jiage, 1234.5f);
    EXPECT_EQ(table[2].Mingcheng, "新纸" + std::string(16, ' '));
    // The zero slot in between reads like one beyond the end.
    EXPECT_EQ(table[1].Mingcheng, std::string(20, ' '));
    EXPECT_EQ(table[1].Jiage, 0.0f);

    rec.Jiage = 1.0f;
    ASSERT_TRUE(writeRecord(file, PriceTable::Zhijia, 1, rec));
    std::string after = slurp(file);
    ASSERT_EQ(after.size(), bytes.size());
    EXPECT_EQ(after.substr(136), bytes.substr(136));
}

TEST(PriceTables, RefusedWritesLeaveTheFileAlone) {
    TempFolder dir;
    auto file = dir / "fjiben.dat";
    std::string original = handMadeJibenSlot();
    spit(file, original);
    struct Case {
        int record;
        std::string name;
        IoError error;
    };
    const Case cases[] = {
        {0, "x", IoError::WriteFailed},
        {19, "x", IoError::WriteFailed},
        {1, "\xF0\x9F\x8E\xA8", IoError::BadText},
    };
    for (const auto& c : cases) {
        IoStatus s = writeRecord(file, c.record, JibenRec{0, c.name, 1, "", ""});
        EXPECT_EQ(s.error, c.error) << c.record;
        EXPECT_EQ(slurp(file), original);
    }
}

TEST(PriceTables, WriteTableKeepsSlotsBeyondTheTable) {
    TempFolder dir;
    auto file = dir / "fzhijiabu.dat";
    std::string longer(136 * 12, '\x5a');
    spit(file, longer);
    std::vector<ZhijiaRec> recs(10, ZhijiaRec{0, "纸", 2.0f, "元/张", "", 0});
    ASSERT_TRUE(writeTable(file, PriceTable::Zhijiabu, recs));
    std::string bytes = slurp(file);
    ASSERT_EQ(bytes.size(), longer.size());
    EXPECT_EQ(bytes.substr(1360), longer.substr(1360));
    std::vector<ZhijiaRec> back;
    ASSERT_TRUE(readZhijiabuTable(file, back));
    for (int n = 1; n <= 10; ++n) {
        EXPECT_EQ(back[static_cast<std::size_t>(n - 1)].Bianhao, n);
    }
}

TEST(PriceTables, WriteFailureKeepsThePreviousFile) {
    TempFolder dir;
    auto file = dir / "fjiben.dat";
    std::string original = handMadeJibenSlot();
    spit(file, original);
    IoStatus s;
    {
        testing_support::FailWrites failing(io_test_hooks::FailPoint::WriteAfterBytes, 100);
        s = writeRecord(file, 1, JibenRec{1, "新", 2, "", ""});
    }
    EXPECT_EQ(s.error, IoError::WriteFailed);
    EXPECT_NE(s.message.find("fjiben.dat"), std::string::npos);
    EXPECT_EQ(slurp(file), original);
}

}  // namespace
}  // namespace inkquot
