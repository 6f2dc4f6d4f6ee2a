#include "core/pricedata/table_damage.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cmath>
#include <cstring>
#include <limits>

#include "core/common/le_bytes.h"
#include "core/pricedata/install.h"
#include "core/pricedata/scheme_ops.h"
#include "tests/core/common/temp_folder.h"

namespace inkquot {
namespace {

using namespace testing_support;

// Little-endian by hand with checked access: GCC 12 at -O3 cannot see the
// length of a copied table and reports a false overflow in le::putFloat.
std::string putFloatAt(std::string bytes, std::size_t pos, float v) {
    std::uint32_t u = 0;
    std::memcpy(&u, &v, sizeof u);
    for (std::size_t i = 0; i < sizeof u; ++i) {
        bytes.at(pos + i) = static_cast<char>((u >> (8 * i)) & 0xffu);
    }
    return bytes;
}

TEST(TableDamage, ShortAndAbsurdTablesAreNamedSoundOnesAreNot) {
    TempFolder dir;
    ProgramFolder folder(dir.path());
    ASSERT_TRUE(installProgramFolder(folder));
    ASSERT_TRUE(selectScheme(folder, "系统默认"));
    std::vector<std::string> problems;
    ASSERT_TRUE(checkWorkingTables(folder, problems));
    EXPECT_TRUE(problems.empty()) << problems.front();

    const std::string gong = slurp(workingFile(folder, PriceTable::Gongjia));
    const std::size_t slot = 508;
    const float inf = std::numeric_limits<float>::infinity();
    struct Row {
        const char* what;
        std::string bytes;
        std::vector<std::string> expected;  // fragments, one a problem
    } rows[] = {
        {"empty", "", {"价格文件 fgongjia.dat 不完整：只有 0 条记录"}},
        {"three records and a half",
         gong.substr(0, 3 * slot + 100),
         {"价格文件 fgongjia.dat 不完整：只有 3 条记录"}},
        // The last slot may end right after its data bytes.
        {"last filler cut", gong.substr(0, 43 * slot + 266), {}},
        {"last data byte cut", gong.substr(0, 43 * slot + 265), {"只有 43 条记录"}},
        {"infinite TAG2",
         putFloatAt(gong, 4 * slot + gongjia_field::Tag2, inf),
         {"有不合理的数值：第 5 条记录的TAG2为 无穷大"}},
        {"NaN price",
         putFloatAt(gong, gongjia_field::Danjia, std::nanf("")),
         {"第 1 条记录的单价为 非数值"}},
        {"negative price",
         putFloatAt(gong, slot + gongjia_field::Danjia, -1),
         {"第 2 条记录的单价为 -1"}},
        {"absurd price, two faults",
         putFloatAt(putFloatAt(gong, gongjia_field::Danjia, 6.2e33f), slot + gongjia_field::Tag1,
                    2e7f),
         {"第 1 条记录的单价为 6.2e+33，共 2 处"}},
        {"largest sound price", putFloatAt(gong, gongjia_field::Danjia, kAbsurdPriceLimit), {}},
    };
    for (const Row& r : rows) {
        const auto found = tableDamage(TableImage(PriceTable::Gongjia, r.bytes), "fgongjia.dat");
        ASSERT_EQ(found.size(), r.expected.size()) << r.what;
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_NE(found[i].find(r.expected[i]), std::string::npos)
                << r.what << ": " << found[i];
        }
    }
}

TEST(TableDamage, NotARegularFileIsRefusedAtOnce) {
    TempFolder dir;
    ProgramFolder folder(dir.path());
    ASSERT_TRUE(installProgramFolder(folder));
    ASSERT_TRUE(selectScheme(folder, "系统默认"));
    for (bool fifo : {true, false}) {
        const auto file = workingFile(folder, PriceTable::Zhijia);
        std::filesystem::remove_all(file);
        if (fifo) {
#ifdef _WIN32
            continue;  // Windows has no FIFOs
#else
            ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
#endif
        } else {
            std::filesystem::create_directory(file);
        }
        std::vector<std::string> problems;
        const IoStatus s = checkWorkingTables(folder, problems);
        EXPECT_EQ(s.error, IoError::NotRegular);
        EXPECT_NE(s.message.find("fzhijia.dat"), std::string::npos) << s.message;
    }
}

}  // namespace
}  // namespace inkquot
