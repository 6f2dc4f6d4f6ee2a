#include "core/common/program_folder.h"

#include <gtest/gtest.h>

namespace inkquot {
namespace {

TEST(SchemeName, RefusesNamesThatWouldEscapeOrBreakTheList) {
    struct Case {
        const char* name;
        bool valid;
    };
    const Case cases[] = {
        {"系统默认", true}, {"方案一", true}, {"A 2026", true},  {"", false},
        {".", false},      {"..", false},   {"a/b", false},    {"a\\b", false},
        {"a\"b", false},   {"a\tb", false}, {"a\nb", false},   {"c:x", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isValidSchemeName(c.name), c.valid) << c.name;
    }
}

TEST(ProgramFolder, SchemeFileNameIsNameThenSuffix) {
    ProgramFolder folder("/opt/x");
    EXPECT_EQ(folder.schemeFile("系统默认", "ji.dat"),
              std::filesystem::path(u8"/opt/x/jgfa/系统默认ji.dat"));
    EXPECT_EQ(folder.schemeList(), std::filesystem::path("/opt/x/jgfa/fangan.inf"));
}

}  // namespace
}  // namespace inkquot
