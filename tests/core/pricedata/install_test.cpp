#include "core/pricedata/install.h"

#include <gtest/gtest.h>

#include "core/common/file_io.h"
#include "core/pricedata/scheme_list.h"
#include "core/records/user_file.h"
#include "tests/core/common/temp_folder.h"

namespace inkquot {
namespace {

using namespace testing_support;

const std::string kDefaultLine = "\"\xCF\xB5\xCD\xB3\xC4\xAC\xC8\xCF\"\r\n";

TEST(Install, LaysOutAFreshFolder) {
    TempFolder dir;
    ProgramFolder folder(dir.path() / "app");
    ASSERT_TRUE(installProgramFolder(folder));
    EXPECT_EQ(slurp(folder.schemeList()), kDefaultLine);
    const std::pair<const char*, std::uintmax_t> files[] = {
        {"ji.dat", 4896}, {"gong.dat", 22352}, {"zhi.dat", 6800}, {"zhibu.dat", 1360}};
    for (const auto& [suffix, size] : files) {
        EXPECT_EQ(std::filesystem::file_size(folder.schemeFile("系统默认", suffix)), size);
    }
    EXPECT_TRUE(passwordMatches(readUserFile(folder.file("users.dat")), "604172"));
    // The working tables come from the start-up selection, not from here.
    EXPECT_FALSE(std::filesystem::exists(folder.file("fjiben.dat")));
}

TEST(Install, KeepsWhatTheShopHas) {
    struct Case {
        std::string list;
        std::string expected;
    };
    const Case cases[] = {
        {"\"a\"\r\n\"b\"\r\n", kDefaultLine + "\"a\"\r\n\"b\"\r\n"},
        {"\"a\"\r\n" + kDefaultLine, "\"a\"\r\n" + kDefaultLine},
        {kDefaultLine + "\"b\"", kDefaultLine + "\"b\""},
        {"", kDefaultLine},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        ProgramFolder folder(dir.path());
        std::filesystem::create_directory(folder.schemeFolder());
        spit(folder.schemeList(), c.list);
        spit(folder.file("users.dat"), "");
        ASSERT_TRUE(installProgramFolder(folder));
        EXPECT_EQ(slurp(folder.schemeList()), c.expected) << c.list;
        EXPECT_EQ(slurp(folder.file("users.dat")), "");
    }
}

TEST(Install, ReportsAFolderThatCannotBeMade) {
    TempFolder dir;
    spit(dir / "app", "a file where the folder should be");
    IoStatus s = installProgramFolder(ProgramFolder(dir / "app"));
    EXPECT_EQ(s.error, IoError::WriteFailed);
    // The folder that failed is the program folder itself, not jgfa below it.
    EXPECT_NE(s.message.find("“" + displayName(dir / "app") + "”：那里已有一个同名的文件"),
              std::string::npos)
        << s.message;
}

}  // namespace
}  // namespace inkquot
