#include "core/job/scheme_comparison.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "core/costing/price_job.h"
#include "core/pricedata/default_scheme.h"
#include "core/pricedata/install.h"
#include "core/pricedata/scheme_list.h"
#include "core/pricedata/scheme_ops.h"
#include "tests/core/common/temp_folder.h"
#include "tests/core/costing/sample_parts.h"

namespace inkquot {
namespace {

using namespace testing_support;

std::map<std::string, std::string> folderBytes(const std::filesystem::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        if (e.is_regular_file()) {
            files[e.path().string()] = slurp(e.path());
        }
    }
    return files;
}

bool sameResult(const CostResult& a, const CostResult& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// An installed folder with the built-in scheme in use and a second scheme,
// 零售价, whose printing and paper cost more.
class SchemeComparison : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(installProgramFolder(folder));
        ASSERT_TRUE(selectScheme(folder, kDefaultSchemeName));
        std::vector<GongjiaRec> process;
        ASSERT_TRUE(readGongjiaTable(workingFile(folder, PriceTable::Gongjia), process));
        for (auto& rec : process) {
            rec.Danjia *= 1.25f;
        }
        ASSERT_TRUE(writeTable(workingFile(folder, PriceTable::Gongjia), process));
        ASSERT_TRUE(exportScheme(folder, "零售价"));
        ASSERT_TRUE(selectScheme(folder, kDefaultSchemeName));
        testing::fillLeafletExample(leaflet);
    }

    TempFolder dir;
    ProgramFolder folder{dir.path()};
    FormState leaflet;
};

TEST_F(SchemeComparison, PricesAsSelectingTheSchemeWouldWithoutWritingAFile) {
    const auto before = folderBytes(dir.path());
    std::vector<SchemePrice> prices;
    ASSERT_TRUE(priceUnderEveryScheme(folder, leaflet, prices));
    EXPECT_EQ(folderBytes(dir.path()), before);
    ASSERT_EQ(prices.size(), 2u);
    EXPECT_EQ(prices[0].scheme, kDefaultSchemeName);
    EXPECT_EQ(prices[1].scheme, "零售价");

    for (const SchemePrice& p : prices) {
        ASSERT_TRUE(p.problem.empty()) << p.problem;
        ASSERT_TRUE(selectScheme(folder, p.scheme));
        CostResult selected;
        ASSERT_TRUE(priceJob(folder, leaflet, selected).ok());
        EXPECT_TRUE(sameResult(p.result, selected)) << p.scheme;
    }
    EXPECT_GT(prices[1].result.PrintCost, prices[0].result.PrintCost);
}

TEST_F(SchemeComparison, ADamagedSchemeSaysSoAndTheOthersArePriced) {
    // 坏方案: its process prices cut short; 缺文件: its paper table gone.
    for (const char* name : {"坏方案", "缺文件"}) {
        for (PriceTable t : kAllPriceTables) {
            std::filesystem::copy_file(storedFile(folder, kDefaultSchemeName, t),
                                       storedFile(folder, name, t));
        }
        ASSERT_TRUE(appendSchemeName(folder.schemeList(), name));
    }
    const auto short_ = storedFile(folder, "坏方案", PriceTable::Gongjia);
    std::filesystem::resize_file(short_, 440);
    std::filesystem::remove(storedFile(folder, "缺文件", PriceTable::Zhijia));

    std::vector<SchemePrice> prices;
    ASSERT_TRUE(priceUnderEveryScheme(folder, leaflet, prices));
    ASSERT_EQ(prices.size(), 4u);
    EXPECT_TRUE(prices[0].problem.empty());
    EXPECT_TRUE(prices[1].problem.empty());
    for (std::size_t i : {2u, 3u}) {
        EXPECT_TRUE(prices[i].damaged);
        EXPECT_EQ(prices[i].problem.rfind(std::string(kDamagedSchemeText), 0), 0u)
            << prices[i].problem;
        EXPECT_TRUE(sameResult(prices[i].result, CostResult{}));
    }
    EXPECT_NE(prices[2].problem.find("坏方案gong.dat"), std::string::npos) << prices[2].problem;
    EXPECT_NE(prices[3].problem.find("缺文件zhi.dat"), std::string::npos) << prices[3].problem;
}

}  // namespace
}  // namespace inkquot
