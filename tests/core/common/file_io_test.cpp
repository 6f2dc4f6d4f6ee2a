#include "core/common/file_io.h"

#include <gtest/gtest.h>

#include "tests/core/common/fail_writes.h"
#include "tests/core/common/temp_folder.h"

namespace inkquot {
namespace {

using io_test_hooks::FailPoint;
using namespace testing_support;

std::size_t entriesIn(const std::filesystem::path& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) {
        ++n;
    }
    return n;
}

TEST(AtomicWrite, InterruptedAtEveryByteLeavesTheOldFile) {
    TempFolder dir;
    auto file = dir / "表.dat";
    const std::string old = "old contents";
    const std::string replacement(300, 'n');
    spit(file, old);
    for (std::size_t n = 0; n < replacement.size(); ++n) {
        FailWrites failing(FailPoint::WriteAfterBytes, n);
        IoStatus s = writeFileAtomically(file, replacement);
        ASSERT_EQ(s.error, IoError::WriteFailed) << n;
        ASSERT_EQ(slurp(file), old) << n;
        ASSERT_EQ(entriesIn(dir.path()), 1u) << "temporary left behind at " << n;
    }
}

TEST(AtomicWrite, EveryFailingStepReportsAndKeepsTheOldFile) {
    const FailPoint points[] = {FailPoint::CreateTemporary, FailPoint::WriteAfterBytes,
                                FailPoint::Sync, FailPoint::Rename};
    for (FailPoint point : points) {
        TempFolder dir;
        auto file = dir / "fjiben.dat";
        spit(file, "old");
        IoStatus s;
        {
            FailWrites failing(point, 1);
            s = writeFileAtomically(file, "new contents");
        }
        EXPECT_EQ(s.error, IoError::WriteFailed);
        EXPECT_NE(s.message.find("fjiben.dat"), std::string::npos);
        EXPECT_EQ(slurp(file), "old");
        EXPECT_EQ(entriesIn(dir.path()), 1u);
        // With the failure gone the same write succeeds.
        ASSERT_TRUE(writeFileAtomically(file, "new contents"));
        EXPECT_EQ(slurp(file), "new contents");
    }
}

TEST(AtomicWrite, CreatesNewFilesAndKeepsPermissions) {
    TempFolder dir;
    auto file = dir / "users.dat";
    ASSERT_TRUE(writeFileAtomically(file, ""));
    EXPECT_EQ(slurp(file), "");
    // Windows keeps no such mode bits, only a read-only flag.
#ifndef _WIN32
    using std::filesystem::perms;
    std::filesystem::permissions(file, perms::owner_read | perms::owner_write);
    ASSERT_TRUE(writeFileAtomically(file, "x"));
    EXPECT_EQ(std::filesystem::status(file).permissions() & perms::all,
              perms::owner_read | perms::owner_write);
#endif

    IoStatus s = writeFileAtomically(dir / "missing/x.dat", "x");
    EXPECT_EQ(s.error, IoError::WriteFailed);
    EXPECT_NE(s.message.find(displayName(dir / "missing/x.dat")), std::string::npos);
}

TEST(ReadWholeFile, TellsFailuresApart) {
    TempFolder dir;
    spit(dir / "ten", "0123456789");
    std::filesystem::create_directory(dir / "folder");
    struct Case {
        std::string name;
        std::size_t limit;
        IoError error;
        std::string bytes;
    };
    const Case cases[] = {
        {"ten", 10, IoError::None, "0123456789"},  {"ten", 100, IoError::None, "0123456789"},
        {"ten", 9, IoError::TooLarge, ""},         {"none", 10, IoError::Missing, ""},
        {"none/deeper", 10, IoError::Missing, ""}, {"folder", 10, IoError::NotRegular, ""},
    };
    for (const auto& c : cases) {
        std::string out = "stale";
        IoStatus s = readWholeFile(dir / c.name, out, c.limit);
        EXPECT_EQ(s.error, c.error) << c.name << " " << c.limit;
        EXPECT_EQ(out, c.bytes) << c.name;
        if (!s) {
            EXPECT_NE(s.message.find(c.name), std::string::npos) << s.message;
        }
    }
}

TEST(ReadFilePrefix, ReadsUpToTheLimit) {
    TempFolder dir;
    spit(dir / "ten", "0123456789");
    std::string out;
    ASSERT_TRUE(readFilePrefix(dir / "ten", 4, out, false));
    EXPECT_EQ(out, "0123");
    ASSERT_TRUE(readFilePrefix(dir / "ten", 40, out, false));
    EXPECT_EQ(out, "0123456789");
    EXPECT_TRUE(readFilePrefix(dir / "none", 4, out, true));
    EXPECT_EQ(out, "");
    EXPECT_EQ(readFilePrefix(dir / "none", 4, out, false).error, IoError::Missing);
}

TEST(CopyFile, ReplacesTheTargetOrLeavesIt) {
    TempFolder dir;
    spit(dir / "from", "source");
    spit(dir / "to", "target");
    ASSERT_TRUE(copyFileAtomically(dir / "from", dir / "to"));
    EXPECT_EQ(slurp(dir / "to"), "source");

    EXPECT_EQ(copyFileAtomically(dir / "none", dir / "to").error, IoError::Missing);
    EXPECT_EQ(slurp(dir / "to"), "source");
    {
        FailWrites failing(FailPoint::Rename);
        spit(dir / "from", "changed");
        EXPECT_EQ(copyFileAtomically(dir / "from", dir / "to").error, IoError::WriteFailed);
    }
    EXPECT_EQ(slurp(dir / "to"), "source");
}

TEST(RemoveFile, AGoneFileCountsAsRemoved) {
    TempFolder dir;
    spit(dir / "x", "x");
    EXPECT_TRUE(removeFile(dir / "x"));
    EXPECT_FALSE(std::filesystem::exists(dir / "x"));
    EXPECT_TRUE(removeFile(dir / "x"));
}

}  // namespace
}  // namespace inkquot
