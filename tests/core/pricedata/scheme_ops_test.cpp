#include "core/pricedata/scheme_ops.h"

#include <gtest/gtest.h>

#include "core/pricedata/default_scheme.h"
#include "core/pricedata/install.h"
#include "core/pricedata/scheme_list.h"
#include "tests/core/common/fail_writes.h"
#include "tests/core/common/temp_folder.h"

namespace inkquot {
namespace {

using namespace testing_support;

class SchemeOps : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(installProgramFolder(folder)); }

    // A stored scheme whose every file holds its own marker text.
    void storeScheme(const std::string& name) {
        for (PriceTable t : kAllPriceTables) {
            spit(storedFile(folder, name, t), name + layoutOf(t).schemeSuffix);
        }
        ASSERT_TRUE(appendSchemeName(folder.schemeList(), name));
    }
    void fillWorkingFiles(const std::string& marker) {
        for (PriceTable t : kAllPriceTables) {
            spit(workingFile(folder, t), marker + layoutOf(t).workingFile);
        }
    }
    std::vector<std::string> listed() {
        std::vector<std::string> names;
        EXPECT_TRUE(readSchemeList(folder.schemeList(), names));
        return names;
    }

    TempFolder dir;
    ProgramFolder folder{dir.path()};
};

TEST_F(SchemeOps, SelectCopiesEachStoredTableOverItsWorkingFile) {
    storeScheme("方案一");
    ASSERT_TRUE(selectScheme(folder, "方案一"));
    for (PriceTable t : kAllPriceTables) {
        EXPECT_EQ(slurp(workingFile(folder, t)), std::string("方案一") + layoutOf(t).schemeSuffix);
    }
    ASSERT_TRUE(selectScheme(folder, kDefaultSchemeName));
    EXPECT_EQ(std::filesystem::file_size(workingFile(folder, PriceTable::Gongjia)), 22352u);
}

TEST_F(SchemeOps, SelectWithAMissingStoredFileChangesNothing) {
    storeScheme("方案一");
    fillWorkingFiles("old");
    // The last table copied is the one missing: the earlier ones must not
    // have been replaced either.
    std::filesystem::remove(storedFile(folder, "方案一", PriceTable::Zhijiabu));
    IoStatus s = selectScheme(folder, "方案一");
    EXPECT_EQ(s.error, IoError::Missing);
    EXPECT_NE(s.message.find("方案一zhibu.dat"), std::string::npos);
    for (PriceTable t : kAllPriceTables) {
        EXPECT_EQ(slurp(workingFile(folder, t)), std::string("old") + layoutOf(t).workingFile);
    }
}

TEST_F(SchemeOps, SelectRefusesNamesThatLeaveTheFolder) {
    EXPECT_EQ(selectScheme(folder, "../x").error, IoError::BadText);
    EXPECT_EQ(selectScheme(folder, "").error, IoError::BadText);
}

TEST_F(SchemeOps, ExportCopiesTheWorkingFilesAndListsTheName) {
    fillWorkingFiles("work");
    ASSERT_TRUE(exportScheme(folder, "方案二"));
    for (PriceTable t : kAllPriceTables) {
        EXPECT_EQ(slurp(storedFile(folder, "方案二", t)),
                  std::string("work") + layoutOf(t).workingFile);
    }
    EXPECT_EQ(listed(), (std::vector<std::string>{"系统默认", "方案二"}));
}

TEST_F(SchemeOps, ExportRefusals) {
    storeScheme("方案一");
    fillWorkingFiles("work");
    const std::string listBefore = slurp(folder.schemeList());
    struct Case {
        std::string name;
        IoError error;
        std::string message;  // empty: any
    };
    const Case cases[] = {
        {"方案一", IoError::BadText, "方案名已存在!"},
        {"系统默认", IoError::BadText, "方案名已存在!"},
        {"a/b", IoError::BadText, ""},
        {"", IoError::BadText, ""},
        {"\xF0\x9F\x98\x80", IoError::BadText, ""},
    };
    for (const auto& c : cases) {
        IoStatus s = exportScheme(folder, c.name);
        EXPECT_EQ(s.error, c.error) << c.name;
        if (!c.message.empty()) {
            EXPECT_EQ(s.message, c.message);
        }
        EXPECT_EQ(slurp(storedFile(folder, "方案一", PriceTable::Jiben)), "方案一ji.dat");
        EXPECT_EQ(slurp(folder.schemeList()), listBefore);
    }
    // A missing working file: nothing is stored, nothing listed.
    std::filesystem::remove(workingFile(folder, PriceTable::Gongjia));
    IoStatus s = exportScheme(folder, "方案三");
    EXPECT_EQ(s.error, IoError::Missing);
    EXPECT_NE(s.message.find("fgongjia.dat"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(storedFile(folder, "方案三", PriceTable::Jiben)));
    EXPECT_EQ(slurp(folder.schemeList()), listBefore);
}

TEST_F(SchemeOps, DeleteTheBuiltInSchemeIsRefused) {
    std::vector<std::string> remaining;
    IoStatus s = deleteScheme(folder, "系统默认", remaining);
    EXPECT_EQ(s.message, "系统默认方案，不能删除！");
    EXPECT_TRUE(std::filesystem::exists(storedFile(folder, "系统默认", PriceTable::Jiben)));
    EXPECT_EQ(listed(), std::vector<std::string>{"系统默认"});
}

TEST_F(SchemeOps, DeleteTheSecondOfThreeKeepsTheOrder) {
    storeScheme("甲");
    storeScheme("乙");
    std::vector<std::string> remaining;
    ASSERT_TRUE(deleteScheme(folder, "甲", remaining));
    EXPECT_EQ(remaining, (std::vector<std::string>{"系统默认", "乙"}));
    EXPECT_EQ(listed(), remaining);
    EXPECT_EQ(slurp(folder.schemeList()),
              "\"\xCF\xB5\xCD\xB3\xC4\xAC\xC8\xCF\"\r\n\"\xD2\xD2\"\r\n");
    for (PriceTable t : kAllPriceTables) {
        EXPECT_FALSE(std::filesystem::exists(storedFile(folder, "甲", t)));
        EXPECT_TRUE(std::filesystem::exists(storedFile(folder, "乙", t)));
    }
}

TEST_F(SchemeOps, DeleteKeepsFilesWhenTheListCannotBeRewritten) {
    storeScheme("甲");
    std::vector<std::string> remaining;
    IoStatus s;
    {
        testing_support::FailWrites failing(io_test_hooks::FailPoint::Rename);
        s = deleteScheme(folder, "甲", remaining);
    }
    EXPECT_EQ(s.error, IoError::WriteFailed);
    EXPECT_EQ(listed(), (std::vector<std::string>{"系统默认", "甲"}));
    EXPECT_TRUE(std::filesystem::exists(storedFile(folder, "甲", PriceTable::Zhijiabu)));
}

}  // namespace
}  // namespace inkquot
