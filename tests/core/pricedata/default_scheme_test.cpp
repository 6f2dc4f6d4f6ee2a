#include "core/pricedata/default_scheme.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/core/common/temp_folder.h"

namespace inkquot {
namespace {

using namespace testing_support;

std::string padded(std::string text, std::size_t gbkBytes, std::size_t width) {
    return text + std::string(width - gbkBytes, ' ');
}

class DefaultScheme : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(folder.schemeFolder());
        ASSERT_TRUE(RepairDefaultSchemeFiles(folder));
    }
    std::filesystem::path file(std::string_view suffix) const {
        return folder.schemeFile(kDefaultSchemeName, suffix);
    }

    TempFolder dir;
    ProgramFolder folder{dir.path()};
};

TEST_F(DefaultScheme, FilesHaveTheirFullLength) {
    EXPECT_EQ(std::filesystem::file_size(file("ji.dat")), 4896u);
    EXPECT_EQ(std::filesystem::file_size(file("gong.dat")), 22352u);
    EXPECT_EQ(std::filesystem::file_size(file("zhi.dat")), 6800u);
    EXPECT_EQ(std::filesystem::file_size(file("zhibu.dat")), 1360u);
}

TEST_F(DefaultScheme, FirstBasicRecordIsTheHandMadeBytes) {
    std::string expected = fromHex("01000000");
    expected += fromHex("c6bdd3a1bbfad3a1cba2c3bfc9abb7c5cdb7cafd");  // 20 bytes, no padding
    expected += fromHex("0000a041");                                  // 20.0f
    expected += fromHex("d5c5") + std::string(10, ' ');
    expected += fromHex("b0b4cab5bccabfaad6bdbcc6") + std::string(88, ' ');
    expected.resize(272, '\0');
    EXPECT_EQ(slurp(file("ji.dat")).substr(0, 272), expected);
}

TEST_F(DefaultScheme, CustomPaperSlotIsTheHandMadeBytes) {
    std::string expected = fromHex("0a000000");                          // record 10
    expected += fromHex("d7d4b6a8d2e5d6bdd5c5") + std::string(10, ' ');  // 自定义纸张
    expected += fromHex("0000fa45");                                     // 8000.0f
    expected += fromHex("d4aa2fb6d6") + std::string(7, ' ');             // 元/吨
    expected += fromHex("d7d4b6a8d2e5") + std::string(24, ' ');          // 自定义
    expected += fromHex("00000000");                                     // user-definable
    expected.resize(136, '\0');
    EXPECT_EQ(slurp(file("zhi.dat")).substr(9 * 136, 136), expected);
}

TEST_F(DefaultScheme, NameFieldsFillAsStored) {
    std::string ji = slurp(file("ji.dat"));
    // Nine Chinese characters and two parentheses fill the 20 bytes exactly.
    EXPECT_EQ(ji.substr(15 * 272 + 4, 20), fromHex("d5b3bad028d7f6d6bdb4fc29c6f0b5e3cad5b7d1"));
    EXPECT_EQ(ji.substr(17 * 272 + 4, 20), fromHex("d6bdd5c5b9dcc0edb7d1") + std::string(10, ' '));
}

TEST_F(DefaultScheme, ReadsBackAsTheTables) {
    std::vector<JibenRec> ji;
    ASSERT_TRUE(readJibenTable(file("ji.dat"), ji));
    auto jiExpected = defaultJibenTable();
    ASSERT_EQ(jiExpected.size(), 18u);
    for (std::size_t i = 0; i < ji.size(); ++i) {
        EXPECT_EQ(ji[i].Bianhao, static_cast<int>(i + 1));
        EXPECT_EQ(ji[i].Shuju, jiExpected[i].Shuju);
        EXPECT_EQ(ji[i].Mingcheng.substr(0, jiExpected[i].Mingcheng.size()),
                  jiExpected[i].Mingcheng);
    }
    EXPECT_EQ(ji[16].Shuju, 1.5f);
    EXPECT_EQ(ji[17].Danwei, padded("百分之", 6, 12));
    EXPECT_EQ(ji[9].Shuoming, padded("表面加工是指过光胶、过哑胶、过油磨光和过UV", 42, 100));

    std::vector<GongjiaRec> gong;
    ASSERT_TRUE(readGongjiaTable(file("gong.dat"), gong));
    ASSERT_EQ(gong.size(), 44u);
    struct GongCase {
        int record;
        float price, t1, t2, t3, t4;
        std::string name;
    };
    const GongCase gongCases[] = {
        {1, 40, 0.8f, 0.8f, 0, 0, "对开平印机印刷费（一）"},
        {10, 27.5f, 0.8f, 0.8f, 0, 0, "对开轮转机印刷费"},
        {18, 20, 0.6f, 0.3f, 0, 0, "拼版费"},
        {21, 0.55f, 0, 0, 0, 0, "过油磨光费"},
        {28, 0.15f, 0.5f, 0.2f, 0.12f, 0.08f, "对开盒粘盒费"},
        {30, 2, 1.5f, 2, 0, 0, "裱瓦楞纸费(连材料)"},
        {43, 0.01f, 1.5f, 0.8f, 0, 0, "16开折页工价"},
        {44, 0.5f, 0.9f, 0.8f, 0.7f, 0.6f, "对开纸袋做工费"},
    };
    for (const auto& c : gongCases) {
        const GongjiaRec& r = gong[static_cast<std::size_t>(c.record - 1)];
        EXPECT_EQ(r.Danjia, c.price) << c.record;
        EXPECT_EQ(r.Tag1, c.t1) << c.record;
        EXPECT_EQ(r.Tag2, c.t2) << c.record;
        EXPECT_EQ(r.Tag3, c.t3) << c.record;
        EXPECT_EQ(r.Tag4, c.t4) << c.record;
        EXPECT_EQ(r.Mingcheng.substr(0, c.name.size()), c.name) << c.record;
    }
    // The folding note keeps its trailing space, then the padding follows.
    const std::string u =
        "以16开为标准，大于16开按tag1倍计，小于16开按tag2倍计(注：装订不另计折页费) ";
    EXPECT_EQ(gong[42].Shuoming.substr(0, u.size()), u);
    EXPECT_EQ(gong[42].Shuoming.find_last_not_of(' '), u.size() - 2);

    std::vector<ZhijiaRec> zhi;
    ASSERT_TRUE(readZhijiaTable(file("zhi.dat"), zhi));
    ASSERT_EQ(zhi.size(), 50u);
    EXPECT_EQ(zhi[1].Jiage, 9200.0f);
    EXPECT_EQ(zhi[8].Mingcheng, padded("灰底白版纸", 10, 20));
    EXPECT_EQ(zhi[8].Neizhi, 1);
    for (std::size_t i = 9; i < 50; ++i) {
        EXPECT_EQ(zhi[i].Mingcheng, padded("自定义纸张", 10, 20)) << i;
        EXPECT_EQ(zhi[i].Shuoming, padded("自定义", 6, 30)) << i;
        EXPECT_EQ(zhi[i].Jiage, 8000.0f) << i;
        EXPECT_EQ(zhi[i].Neizhi, 0) << i;
    }

    std::vector<ZhijiabuRec> zhibu;
    ASSERT_TRUE(readZhijiabuTable(file("zhibu.dat"), zhibu));
    ASSERT_EQ(zhibu.size(), 10u);
    EXPECT_EQ(zhibu[0].Jiage, 1.2f);
    EXPECT_EQ(zhibu[0].Neizhi, 1);
    EXPECT_EQ(zhibu[9].Mingcheng, padded("自定义不干胶纸", 14, 20));
    EXPECT_EQ(zhibu[9].Neizhi, 0);
    EXPECT_EQ(zhibu[9].Bianhao, 10);
}

TEST_F(DefaultScheme, EveryTruncationReadsWithoutError) {
    struct Case {
        std::string_view suffix;
        PriceTable table;
    };
    const Case cases[] = {{"ji.dat", PriceTable::Jiben},
                          {"gong.dat", PriceTable::Gongjia},
                          {"zhi.dat", PriceTable::Zhijia},
                          {"zhibu.dat", PriceTable::Zhijiabu}};
    for (const auto& c : cases) {
        const std::string full = slurp(file(c.suffix));
        const std::size_t slot = layoutOf(c.table).slotLength;
        for (std::size_t len = 0; len <= full.size(); ++len) {
            TableImage image(c.table, full.substr(0, len));
            // Record numbers come first in a slot and are below 256: the cut
            // keeps a record's number exactly when it keeps the slot's first
            // byte.
            const int records = layoutOf(c.table).recordCount;
            const int lastComplete = static_cast<int>(len / slot);
            if (c.table == PriceTable::Jiben) {
                auto t = jibenTableOf(image);
                ASSERT_EQ(t.size(), 18u);
                for (int n = lastComplete + 1; n <= records; ++n) {
                    bool hasNumber = (static_cast<std::size_t>(n) - 1) * slot < len;
                    ASSERT_EQ(t[static_cast<std::size_t>(n - 1)].Bianhao, hasNumber ? n : 0);
                }
            } else if (c.table == PriceTable::Gongjia) {
                ASSERT_EQ(gongjiaTableOf(image).size(), 44u);
            } else {
                auto t = zhijiaTableOf(image);
                ASSERT_EQ(t.size(), static_cast<std::size_t>(records));
                if (len <= (static_cast<std::size_t>(records) - 1) * slot + 24) {
                    const auto& past = t[static_cast<std::size_t>(records - 1)];
                    ASSERT_EQ(past.Jiage, 0.0f);
                    ASSERT_EQ(past.Danwei, std::string(12, ' '));
                }
            }
        }
    }
}

TEST_F(DefaultScheme, RepairKeepsSlotsBeyondTheTable) {
    std::string longer = slurp(file("zhibu.dat")) + std::string(136, 'Q');
    // Spoil record 2 as an edit would.
    longer[136 + 24] = 0x11;
    spit(file("zhibu.dat"), longer);
    ASSERT_TRUE(WriteDefaultZhijiabu(folder));
    std::string after = slurp(file("zhibu.dat"));
    ASSERT_EQ(after.size(), 1360u + 136);
    EXPECT_EQ(after.substr(1360), std::string(136, 'Q'));
    EXPECT_NE(after[136 + 24], 0x11);
}

TEST(DefaultSchemeRepair, StopsAtTheFirstFailureInItsOrder) {
    TempFolder dir;
    ProgramFolder folder(dir.path());
    IoStatus missingFolder = RepairDefaultSchemeFiles(folder);
    EXPECT_EQ(missingFolder.error, IoError::WriteFailed);
    EXPECT_NE(missingFolder.message.find("系统默认ji.dat"), std::string::npos);

    // The paper file's name taken by a folder: basic data is written first,
    // then the repair stops before sticker paper and process prices.
    std::filesystem::create_directories(folder.schemeFile(kDefaultSchemeName, "zhi.dat"));
    IoStatus blocked = RepairDefaultSchemeFiles(folder);
    EXPECT_EQ(blocked.error, IoError::NotRegular);
    EXPECT_NE(blocked.message.find("系统默认zhi.dat"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(folder.schemeFile(kDefaultSchemeName, "ji.dat")));
    EXPECT_FALSE(std::filesystem::exists(folder.schemeFile(kDefaultSchemeName, "zhibu.dat")));
    EXPECT_FALSE(std::filesystem::exists(folder.schemeFile(kDefaultSchemeName, "gong.dat")));
}

}  // namespace
}  // namespace inkquot
