#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "../common/fail_writes.h"
#include "../common/temp_folder.h"
#include "core/common/file_lock.h"
#include "core/identity/letterhead.h"
#include "core/identity/remembered_headings.h"

namespace inkquot {
namespace {

using namespace testing_support;

// The files of a folder, but for the one that carries the folder's lock on
// Windows.
std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename() != native::kFolderLockName) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(RememberedHeadings, TheShopsNameStandsInUntilAHeadingIsUsed) {
    TempFolder dir;
    const ProgramFolder folder(dir.path());
    ASSERT_TRUE(saveLetterhead(folder, Letterhead{"西城彩印厂", "", "", ""}));
    ASSERT_TRUE(rememberHeading(folder, HeadingKind::Quotation, "东方印务报价单"));
    EXPECT_EQ(proposedHeading(&folder, HeadingKind::PriceTable), "西城彩印厂价格表");
    EXPECT_EQ(proposedHeading(&folder, HeadingKind::Quotation), "东方印务报价单");
}

TEST(RememberedHeadings, EachPrintoutKeepsItsOwnLastHeading) {
    TempFolder dir;
    const ProgramFolder folder(dir.path());
    EXPECT_EQ(proposedHeading(&folder, HeadingKind::Quotation), "XXX印务有限公司报价单");
    EXPECT_EQ(proposedHeading(nullptr, HeadingKind::PriceTable), "XXX印务有限公司价格表");

    ASSERT_TRUE(rememberHeading(folder, HeadingKind::Quotation, "东方印务报价单"));
    EXPECT_EQ(proposedHeading(&folder, HeadingKind::Quotation), "东方印务报价单");
    EXPECT_EQ(proposedHeading(&folder, HeadingKind::PriceTable), "XXX印务有限公司价格表");
    ASSERT_TRUE(rememberHeading(folder, HeadingKind::PriceTable, "东方印务价格表"));
    ASSERT_TRUE(rememberHeading(folder, HeadingKind::Quotation, ""));  // not kept
    EXPECT_EQ(lastHeading(folder, HeadingKind::Quotation), "东方印务报价单");
    EXPECT_EQ(lastHeading(folder, HeadingKind::PriceTable), "东方印务价格表");

    // A damaged file proposes the placeholder again and is replaced by the
    // next heading kept.
    for (std::string_view damaged : {"{\"quotation\": 12}", "[1,2]", "{\"quot", "\xFF\xFE"}) {
        spit(dir / "headings.json", damaged);
        EXPECT_EQ(proposedHeading(&folder, HeadingKind::Quotation), "XXX印务有限公司报价单")
            << damaged;
    }
    ASSERT_TRUE(rememberHeading(folder, HeadingKind::Quotation, "新报价单"));
    EXPECT_EQ(lastHeading(folder, HeadingKind::Quotation), "新报价单");
}

TEST(Letterhead, TextsAreOneLineWithinTheirLimits) {
    struct Row {
        Letterhead letterhead;
        std::string refusal;
    };
    std::string name30;
    for (int i = 0; i < 30; ++i) {
        name30 += "印";
    }
    const Row rows[] = {
        {{name30, "", "", ""}, ""},
        {{name30 + "社", "", "", ""}, "店名不能超过30个字。"},
        {{"  " + name30 + "\xE3\x80\x80 ", "", "", ""}, ""},  // blanks around do not count
        {{"", std::string(51, 'a'), "", ""}, "地址不能超过50个字。"},
        {{"", "", std::string(41, '8'), ""}, "电话不能超过40个字。"},
        {{"东方\n印务", "", "", ""}, "店名只能是一行文字。"},
        {{"", "", "010\t", ""}, ""},  // a trailing tab is a blank
        {{"", "", "010\r1234", ""}, "电话只能是一行文字。"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(letterheadRefusal(row.letterhead), row.refusal) << row.letterhead.name;
    }
}

TEST(Letterhead, SavedReadBackAndGivenAsLines) {
    TempFolder dir;
    const ProgramFolder folder(dir.path());
    EXPECT_FALSE(readLetterhead(folder));
    EXPECT_TRUE(letterheadLines(folder).empty());

    ASSERT_TRUE(saveLetterhead(folder, {" 东方印务有限公司 ", "北京市朝阳区一号", "", ""},
                               std::string("PNG-1")));
    auto kept = readLetterhead(folder);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->name, "东方印务有限公司");
    EXPECT_EQ(slurp(dir / kept->logoFile), "PNG-1");
    EXPECT_EQ(letterheadLines(folder),
              (std::vector<std::string>{"东方印务有限公司", "地址：北京市朝阳区一号"}));

    // New texts keep the logo; a new logo replaces the old file; taking the
    // logo off removes it; an empty letterhead removes everything.
    Letterhead changed = *kept;
    changed.telephone = "010-1234";
    ASSERT_TRUE(saveLetterhead(folder, changed));
    EXPECT_EQ(readLetterhead(folder)->logoFile, kept->logoFile);
    ASSERT_TRUE(saveLetterhead(folder, changed, std::string("PNG-2")));
    const std::string second = readLetterhead(folder)->logoFile;
    EXPECT_NE(second, kept->logoFile);
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{second, "letterhead.json"}));
    ASSERT_TRUE(saveLetterhead(folder, changed, std::string()));
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"letterhead.json"}));
    ASSERT_TRUE(saveLetterhead(folder, Letterhead{}));
    EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(Letterhead, FailedSaveLeavesThePreviousLetterheadAndNoNewFile) {
    TempFolder dir;
    const ProgramFolder folder(dir.path());
    ASSERT_TRUE(saveLetterhead(folder, {"旧店名", "", "", ""}, std::string("OLD")));
    const auto before = filesIn(dir.path());
    const std::string json = slurp(dir / "letterhead.json");

    using io_test_hooks::FailPoint;
    for (auto [point, skip] : {std::pair{FailPoint::WriteAfterBytes, 0},  // the logo
                               std::pair{FailPoint::Rename, 1},           // the letterhead itself
                               std::pair{FailPoint::CreateTemporary, 1}}) {
        FailWrites fail(point, 1, std::size_t(skip));
        const IoStatus status = saveLetterhead(folder, {"新店名", "", "", ""}, std::string("NEW"));
        EXPECT_EQ(status.error, IoError::WriteFailed);
        EXPECT_NE(status.message.find("letterhead"), std::string::npos) << status.message;
    }
    EXPECT_EQ(filesIn(dir.path()), before);
    EXPECT_EQ(slurp(dir / "letterhead.json"), json);

    EXPECT_EQ(saveLetterhead(folder, {std::string(31 * 3, 'x'), "", "", ""}).error,
              IoError::BadText);
    EXPECT_EQ(slurp(dir / "letterhead.json"), json);
}

TEST(Letterhead, DamagedOrForeignFilesAreNotFollowed) {
    TempFolder dir;
    const ProgramFolder folder(dir.path());
    spit(dir / "secret.png", "X");
    spit(dir / "letterhead.json", R"({"name":"店","logo":"../secret.png"})");
    ASSERT_TRUE(readLetterhead(folder));
    EXPECT_EQ(readLetterhead(folder)->logoFile, "");
    spit(dir / "letterhead.json", R"({"name":"店","logo":"letterhead-logo-abc.png"})");
    EXPECT_EQ(readLetterhead(folder)->logoFile, "");  // named but missing
    for (std::string_view damaged : {"", "null", "{\"name\":", "{\"name\":\"a\nb\"}"}) {
        spit(dir / "letterhead.json", damaged);
        EXPECT_FALSE(readLetterhead(folder)) << damaged;
    }
}

}  // namespace
}  // namespace inkquot
