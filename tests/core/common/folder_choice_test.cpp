#include "core/common/folder_choice.h"

#include <gtest/gtest.h>

#include "tests/core/common/temp_folder.h"

namespace inkquot {
namespace {

using namespace testing_support;

// A portable copy (jgfa/ beside the executable), an installed one (bin/
// without jgfa/), an existing folder named by the user and a home.
struct Layout {
    TempFolder dir;
    std::filesystem::path portable = dir.path() / "portable";
    std::filesystem::path installed = dir.path() / "usr" / "bin";
    std::filesystem::path named = dir.path() / "named";
    std::filesystem::path home = dir.path() / "home";
    Layout() {
        std::filesystem::create_directories(portable / "jgfa");
        std::filesystem::create_directories(installed);
        std::filesystem::create_directories(named);
        std::filesystem::create_directories(home);
        spit(dir.path() / "file", "x");
    }
};

TEST(FolderChoice, PrecedenceAndPerUserFolder) {
    Layout l;
    const std::string named = l.named.string();
    const std::string home = l.home.string();
    const std::string xdg = (l.dir.path() / "xdg").string();
    struct Case {
        const char* what;
        FolderHints hints;
        std::filesystem::path expected;
        FolderSource source;
    };
    const Case cases[] = {
        {"--dir wins over everything",
         {l.named, xdg, xdg, home, l.portable},
         l.named,
         FolderSource::CommandLine},
        {"INKQUOT_HOME wins over a portable copy",
         {{}, named, xdg, home, l.portable},
         l.named,
         FolderSource::Environment},
        {"an empty INKQUOT_HOME is unset",
         {{}, "", {}, home, l.portable},
         l.portable,
         FolderSource::Portable},
        {"portable copy", {{}, {}, xdg, home, l.portable}, l.portable, FolderSource::Portable},
        {"installed: XDG_DATA_HOME",
         {{}, {}, xdg, home, l.installed},
         l.dir.path() / "xdg" / "inkquot",
         FolderSource::PerUser},
        {"installed: a relative XDG_DATA_HOME is ignored",
         {{}, {}, "rel", home, l.installed},
         l.home / ".local" / "share" / "inkquot",
         FolderSource::PerUser},
        {"installed: no XDG_DATA_HOME",
         {{}, {}, {}, home, l.installed},
         l.home / ".local" / "share" / "inkquot",
         FolderSource::PerUser},
        {"installed: the system's per-user folder (Windows) comes first",
         {{}, {}, xdg, home, l.installed, named},
         l.named / "inkquot",
         FolderSource::PerUser},
        {"installed: a portable copy still wins over it",
         {{}, {}, {}, home, l.portable, named},
         l.portable,
         FolderSource::Portable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FolderChoice choice = chooseProgramFolder(c.hints);
        EXPECT_TRUE(choice.ok()) << choice.problem;
        EXPECT_EQ(choice.root, c.expected);
        EXPECT_EQ(choice.source, c.source);
        EXPECT_TRUE(std::filesystem::is_directory(c.expected));
    }
    // Choosing wrote nothing beside the executables.
    EXPECT_TRUE(std::filesystem::is_empty(l.installed));
    EXPECT_FALSE(isPortableFolder(l.installed));
}

TEST(FolderChoice, UnusableFoldersAreNamedAndNeverCreated) {
    Layout l;
    const auto missing = l.dir.path() / "missing";
    const auto underAFile = l.dir.path() / "file" / "data";
    struct Case {
        const char* what;
        FolderHints hints;
        std::string folderInMessage;
    };
    const Case cases[] = {
        {"--dir missing", {missing, {}, {}, l.home.string(), l.portable}, missing.string()},
        {"--dir names a file",
         {l.dir.path() / "file", {}, {}, {}, l.portable},
         (l.dir.path() / "file").string()},
        {"INKQUOT_HOME missing",
         {{}, missing.string(), {}, l.home.string(), l.installed},
         missing.string()},
        {"per-user folder cannot be created",
         {{}, {}, underAFile.string(), {}, l.installed},
         (underAFile / "inkquot").string()},
        {"no home at all", {{}, {}, {}, {}, l.installed}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FolderChoice choice = chooseProgramFolder(c.hints);
        EXPECT_FALSE(choice.ok());
        EXPECT_NE(choice.problem.find(c.folderInMessage), std::string::npos) << choice.problem;
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_TRUE(std::filesystem::is_empty(l.installed));
}

}  // namespace
}  // namespace inkquot
