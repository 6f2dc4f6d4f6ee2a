#include "core/pricedata/folder_layout.h"

#include <gtest/gtest.h>

#include "core/pricedata/install.h"
#include "core/records/user_file.h"
#include "tests/core/common/temp_folder.h"

namespace inkquot {
namespace {

using namespace testing_support;

const char* const kWorkingFiles[] = {"fjiben.dat", "fgongjia.dat", "fzhijia.dat", "fzhijiabu.dat"};

// Every file of a complete folder.
std::vector<std::filesystem::path> laidOut(const ProgramFolder& folder) {
    std::vector<std::filesystem::path> files{folder.schemeList(), folder.file("users.dat")};
    for (const char* suffix : {"ji.dat", "gong.dat", "zhi.dat", "zhibu.dat"}) {
        files.push_back(folder.schemeFile("系统默认", suffix));
    }
    for (const char* name : kWorkingFiles) {
        files.push_back(folder.file(name));
    }
    return files;
}

TEST(FolderLayout, FirstStartLaysOutAFolderTheCostingCanUse) {
    TempFolder dir;
    ProgramFolder folder(dir.path() / "inkquot");
    ASSERT_TRUE(completeProgramFolder(folder));
    for (const auto& file : laidOut(folder)) {
        EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
    }
    // The working tables are the built-in scheme, byte for byte.
    EXPECT_EQ(slurp(folder.file("fgongjia.dat")), slurp(folder.schemeFile("系统默认", "gong.dat")));
    EXPECT_TRUE(passwordMatches(readUserFile(folder.file("users.dat")), "604172"));
}

// A crash at first start can leave any subset of the files; each row removes
// some and marks every other one, which must survive untouched.
TEST(FolderLayout, HalfLaidOutFolderIsCompletedWithoutOverwriting) {
    const std::vector<std::vector<std::string>> removed = {
        {"jgfa"},
        {"users.dat", "fzhijia.dat"},
        {"jgfa/fangan.inf"},
        {"jgfa/系统默认gong.dat", "fgongjia.dat"},
        {"jgfa/系统默认zhibu.dat"},
        {"fjiben.dat", "fgongjia.dat", "fzhijia.dat", "fzhijiabu.dat"},
    };
    for (const auto& row : removed) {
        SCOPED_TRACE(row.front());
        TempFolder dir;
        ProgramFolder folder(dir.path());
        ASSERT_TRUE(completeProgramFolder(folder));
        for (const auto& file : laidOut(folder)) {
            spit(file, "shop's own " + file.filename().string());
        }
        for (const auto& name : row) {
            std::filesystem::remove_all(dir / name);
        }
        const ProgramFolder fresh(dir.path() / "fresh");
        ASSERT_TRUE(completeProgramFolder(fresh));
        const auto files = laidOut(folder);
        std::vector<bool> kept;
        for (const auto& file : files) {
            kept.push_back(std::filesystem::exists(file));
        }

        ASSERT_TRUE(completeProgramFolder(folder));
        const auto freshFiles = laidOut(fresh);
        for (std::size_t i = 0; i < files.size(); ++i) {
            SCOPED_TRACE(files[i].string());
            const std::string bytes = slurp(files[i]);
            if (kept[i]) {
                EXPECT_EQ(bytes, "shop's own " + files[i].filename().string());
            } else if (i >= 6) {
                // A working table is the stored table of the built-in scheme,
                // whatever the shop made of it.
                EXPECT_EQ(bytes, slurp(files[i - 4]));
            } else {
                // Rewritten only because it was gone, by the same writers.
                EXPECT_EQ(bytes, slurp(freshFiles[i]));
            }
        }
    }
}

}  // namespace
}  // namespace inkquot
