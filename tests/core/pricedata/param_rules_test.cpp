#include "core/pricedata/param_rules.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/pricedata/default_scheme.h"
#include "core/pricedata/install.h"
#include "core/pricedata/param_save.h"
#include "core/pricedata/scheme_ops.h"
#include "tests/core/common/fail_writes.h"
#include "tests/core/common/temp_folder.h"

namespace inkquot {
namespace {

using Style = EditorNotice::Style;
using namespace testing_support;

struct Expected {
    std::vector<std::string> messages;
    std::optional<std::string> replacement;
    bool stays;
};

void expectVerdict(const LeaveVerdict& v, const Expected& e) {
    std::vector<std::string> shown;
    for (const auto& n : v.notices) {
        shown.push_back(n.text);
    }
    EXPECT_EQ(shown, e.messages);
    EXPECT_EQ(v.replacement, e.replacement);
    EXPECT_EQ(v.staysInBox, e.stays);
}

TEST(ParamRules, TagBox) {
    struct Row {
        const char* text;
        float remembered;
        Expected expected;
    };
    const Row rows[] = {
        // A used factor cannot become unused.
        {"0", 0.6f, {{kTagCannotBeZero}, "0.6", true}},
        {"-0", 0.6f, {{kTagCannotBeZero}, "0.6", true}},
        {"0.000", 0.3f, {{kTagCannotBeZero}, "0.3", true}},
        // An unused factor stays unused, silently.
        {"2", 0.0f, {{}, "0", false}},
        {"0", 0.0f, {{}, "0", false}},
        // Not a number: back to the remembered value.
        {"abc", 0.6f, {{kIllegalData}, "0.6", true}},
        {"", 0.8f, {{kIllegalData}, "0.8", true}},
        {"1e39", 1.5f, {{kIllegalData}, "1.5", true}},
        {"abc", 0.0f, {{kIllegalData}, "0", true}},
        // A used factor changed to another value.
        {"0.5", 0.6f, {{}, std::nullopt, false}},
        {" 1.25 ", 0.8f, {{}, std::nullopt, false}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        expectVerdict(leaveTagBox(r.text, r.remembered), r.expected);
    }
    EXPECT_EQ(leaveTagBox("0", 0.6f).notices.at(0).style, Style::Plain);
    EXPECT_EQ(leaveTagBox("x", 0.6f).notices.at(0).style, Style::Warning);
}

TEST(ParamRules, UnitPriceBox) {
    struct Row {
        const char* text;
        const char* remembered;
        Expected expected;
    };
    const Row rows[] = {
        {"0", "20", {{}, "20", true}},
        {"0.00", "1.05", {{}, "1.05", true}},
        {"x", "20", {{kIllegalData}, "20", true}},
        {"", "20", {{kIllegalData}, "20", true}},
        {"12.5", "20", {{}, std::nullopt, false}},
        {"1,200", "20", {{}, std::nullopt, false}},
        // A price that was 0 already may stay 0: the focus must be able to
        // leave the box.
        {"0", "0", {{}, std::nullopt, false}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        expectVerdict(leaveUnitPriceBox(r.text, r.remembered), r.expected);
    }
}

TEST(ParamRules, PaperBoxChecksInOrder) {
    struct Row {
        const char* name;
        const char* price;
        const char* note;
        bool editable;
        std::vector<std::string> messages;
    };
    const std::string tooLong = "纸张种类太长：最多20个字节（一个汉字占2个字节），现有22个字节。";
    const Row rows[] = {
        {"铜版纸", "8000", "普通", false, {}},
        {"", "x", "", false, {kEmptyData, kEmptyData, kIllegalData}},
        {"  ", "8000", "普通", false, {kEmptyData}},
        {"铜版纸", "8000", "", false, {kEmptyData}},
        {"铜版纸", "", "普通", false, {kIllegalData}},
        // Eleven characters: checked only where the name can be typed.
        {"一二三四五六七八九十一", "8000", "普通", true, {tooLong}},
        {"一二三四五六七八九十一", "8000", "普通", false, {}},
        {"", "8000", "自定义", true, {kEmptyData}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.name) + "|" + r.price + "|" + r.note);
        const auto v = leavePaperBox(r.name, r.price, r.note, r.editable);
        std::vector<std::string> shown;
        for (const auto& n : v.notices) {
            shown.push_back(n.text);
        }
        EXPECT_EQ(shown, r.messages);
        EXPECT_EQ(v.staysInBox, !r.messages.empty());
        EXPECT_FALSE(v.replacement.has_value());
    }
}

TEST(ParamRules, FieldTextFitsItsGbkField) {
    struct Row {
        const char* text;
        std::size_t width;
        bool fits;
        const char* mentions;
    };
    const Row rows[] = {
        {"一二三四五六七八九十", 20, true, ""},
        {"ab一二三四五六七八九", 20, true, ""},
        {"一二三四五六七八九十a", 20, false, "现有21个字节"},
        {"一二三四五六七八九十一", 20, false, "最多20个字节"},
        {"铜版纸                    ", 20, true, ""},  // padding is not text
        {"纸😀", 20, false, "😀"},
        {"\xff\xfe", 20, false, "无法保存"},
        {"按对开规格计", 30, true, ""},
        {"", 30, true, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        const auto problem = fieldTextProblem("纸张种类", r.text, r.width);
        EXPECT_EQ(!problem.has_value(), r.fits);
        if (problem) {
            EXPECT_NE(problem->find(r.mentions), std::string::npos) << *problem;
        }
    }
}

TEST(ParamRules, NumbersShowShortestAndReadBackAsFloat) {
    EXPECT_EQ(numberBoxText(0.8f), "0.8");
    EXPECT_EQ(numberBoxText(27.5f), "27.5");
    EXPECT_EQ(numberBoxText(1.05f), "1.05");
    EXPECT_EQ(numberBoxText(15.0f), "15");
    JibenRec rec;
    ASSERT_TRUE(applyJibenEdit(rec, "0.1"));
    EXPECT_EQ(rec.Shuju, 0.1f);
    EXPECT_FALSE(applyJibenEdit(rec, "abc"));
    EXPECT_EQ(rec.Shuju, 0.1f);
    EXPECT_EQ(withoutPadding("铜版纸   "), "铜版纸");
    EXPECT_EQ(withoutPadding("    "), "");
}

TEST(ParamRules, ProcessEditKeepsUnusedFactorsUnused) {
    const GongjiaRec pinban = defaultGongjiaTable().at(17);  // 拼版费: 0.6 0.3 0 0
    struct Row {
        const char* price;
        std::array<const char*, 4> tags;
        bool accepted;
    };
    const Row rows[] = {
        {"25", {"0.5", "0.25", "0", "0"}, true}, {"25", {"0", "0.3", "0", "0"}, false},
        {"25", {"0.6", "0.3", "1", "0"}, false}, {"x", {"0.6", "0.3", "0", "0"}, false},
        {"25", {"0.6", "y", "0", "0"}, false},   {"0", {"0.6", "0.3", "0", "0"}, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.price);
        GongjiaRec rec = pinban;
        const bool ok =
            applyGongjiaEdit(rec, r.price, {r.tags[0], r.tags[1], r.tags[2], r.tags[3]});
        EXPECT_EQ(ok, r.accepted);
        if (ok) {
            EXPECT_EQ(rec.Danjia, 25.0f);
            EXPECT_EQ(rec.Tag1, 0.5f);
            EXPECT_EQ(rec.Tag2, 0.25f);
        } else {
            EXPECT_EQ(rec.Danjia, pinban.Danjia);
            EXPECT_EQ(rec.Tag1, pinban.Tag1);
        }
    }
}

TEST(ParamRules, PaperEditRefusals) {
    const ZhijiaRec custom = defaultZhijiaTable().at(9);
    struct Row {
        const char* name;
        const char* price;
        const char* note;
        const char* message;
    };
    const Row rows[] = {
        {"特种纸", "9000", "", kCannotSave},
        {"", "9000", "自定义", kCannotSave},
        {"特种纸", "九千", "自定义", kCannotSave},
        {"一二三四五六七八九十一", "9000", "自定义", "纸张种类太长"},
        {"特种纸", "9000", "一二三四五六七八九十一二三四五六", "说明太长"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        ZhijiaRec rec = custom;
        const auto problem = applyPaperEdit(rec, r.name, r.price, r.note);
        ASSERT_TRUE(problem.has_value());
        EXPECT_NE(problem->find(r.message), std::string::npos) << *problem;
        EXPECT_EQ(rec.Mingcheng, custom.Mingcheng);
        EXPECT_EQ(rec.Jiage, custom.Jiage);
    }
    ZhijiaRec rec = custom;
    EXPECT_FALSE(applyPaperEdit(rec, "特种纸", "9,000.5", "进口").has_value());
    EXPECT_EQ(rec.Mingcheng, "特种纸");
    EXPECT_EQ(rec.Jiage, 9000.5f);
    EXPECT_EQ(rec.Shuoming, "进口");
    EXPECT_EQ(rec.Neizhi, 0);
}

class ParamSave : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(installProgramFolder(folder));
        ASSERT_TRUE(selectScheme(folder, kDefaultSchemeName));
    }
    std::string working(PriceTable t) { return slurp(workingFile(folder, t)); }
    std::string stored(PriceTable t) { return slurp(storedFile(folder, kDefaultSchemeName, t)); }

    TempFolder dir;
    ProgramFolder folder{dir.path()};
};

TEST_F(ParamSave, WritesOneSlotAndCopiesIntoTheScheme) {
    const std::string before = working(PriceTable::Zhijia);
    ZhijiaRec rec = defaultZhijiaTable().at(0);
    rec.Jiage = 8500;
    ASSERT_TRUE(savePaperRecord(folder, kDefaultSchemeName, PriceTable::Zhijia, 1, rec));
    const std::string after = working(PriceTable::Zhijia);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_NE(after.substr(0, 136), before.substr(0, 136));
    EXPECT_EQ(after.substr(136), before.substr(136));
    EXPECT_EQ(stored(PriceTable::Zhijia), after);
    // The sticker paper table was not touched.
    EXPECT_EQ(stored(PriceTable::Zhijiabu), working(PriceTable::Zhijiabu));
}

TEST_F(ParamSave, FailedWriteChangesNeitherFile) {
    const std::string w = working(PriceTable::Jiben);
    const std::string s = stored(PriceTable::Jiben);
    JibenRec rec = defaultJibenTable().at(17);
    rec.Shuju = 10;
    for (auto point :
         {io_test_hooks::FailPoint::CreateTemporary, io_test_hooks::FailPoint::WriteAfterBytes,
          io_test_hooks::FailPoint::Sync, io_test_hooks::FailPoint::Rename}) {
        testing_support::FailWrites fail(point, 100);
        const IoStatus status = saveJibenRecord(folder, kDefaultSchemeName, 18, rec);
        EXPECT_FALSE(status);
        EXPECT_FALSE(status.message.empty());
    }
    EXPECT_EQ(working(PriceTable::Jiben), w);
    EXPECT_EQ(stored(PriceTable::Jiben), s);
}

TEST_F(ParamSave, FailedCopyRestoresTheWorkingFile) {
    const std::string w = working(PriceTable::Gongjia);
    // A folder where the stored file should be: it cannot be replaced.
    const auto target = storedFile(folder, kDefaultSchemeName, PriceTable::Gongjia);
    std::filesystem::remove(target);
    std::filesystem::create_directory(target);
    std::filesystem::create_directory(target / "inside");
    GongjiaRec rec = defaultGongjiaTable().at(17);
    rec.Danjia = 30;
    const IoStatus status = saveGongjiaRecord(folder, kDefaultSchemeName, 18, rec);
    EXPECT_FALSE(status);
    EXPECT_EQ(working(PriceTable::Gongjia), w);
    EXPECT_TRUE(std::filesystem::is_directory(target));
}

TEST_F(ParamSave, NoCurrentSchemeWritesNothing) {
    const std::string w = working(PriceTable::Zhijiabu);
    ZhijiaRec rec = defaultZhijiabuTable().at(0);
    rec.Jiage = 3;
    for (const char* scheme : {"", "../x", "a/b"}) {
        EXPECT_FALSE(savePaperRecord(folder, scheme, PriceTable::Zhijiabu, 1, rec));
        EXPECT_FALSE(copyWorkingToScheme(folder, scheme, PriceTable::Zhijiabu));
    }
    EXPECT_EQ(working(PriceTable::Zhijiabu), w);
}

}  // namespace
}  // namespace inkquot
