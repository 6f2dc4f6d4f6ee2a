#include "core/common/file_switch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#ifdef __linux__
#include <unistd.h>
#endif

#include "core/common/file_lock.h"
#include "core/common/program_folder_lock.h"
#include "core/pricedata/startup_recovery.h"
#include "tests/core/common/fail_writes.h"
#include "tests/core/common/temp_folder.h"

namespace inkquot {
namespace {

using io_test_hooks::FailPoint;
using namespace testing_support;

std::map<std::string, std::string> snapshot(const std::filesystem::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        // The file that carries the folder's lock on Windows (with a note of
        // its holder) is no part of the folder's contents.
        if (e.is_regular_file() && e.path().filename() != native::kFolderLockName) {
            files[displayName(e.path().lexically_relative(root))] = slurp(e.path());
        }
    }
    return files;
}

// A working file replaced, a stored file created, the list replaced and a
// stored file removed: every kind of change in one switch.
struct Folder {
    Folder() {
        std::filesystem::create_directory(dir.path() / "jgfa");
        spit(dir / "fjiben.dat", "old working");
        spit(dir / "jgfa/fangan.inf", "old list");
        spit(dir / "jgfa/甲ji.dat", "stored, to be removed");
    }
    IoStatus commit() {
        FileSwitch change(folder);
        change.replace(dir / "fjiben.dat", "new working");
        change.replace(dir / "jgfa/乙ji.dat", "new stored");
        change.replace(dir / "jgfa/fangan.inf", "new list");
        change.remove(dir / "jgfa/甲ji.dat");
        return change.commit("所有文件都未改动。");
    }
    TempFolder dir;
    ProgramFolder folder{dir.path()};
};

TEST(FileSwitch, EveryFailingStepLeavesEverythingAsBefore) {
    Folder reference;
    const auto before = snapshot(reference.dir.path());
    ASSERT_TRUE(reference.commit());
    const auto after = snapshot(reference.dir.path());

    const FailPoint points[] = {
        FailPoint::CreateTemporary, FailPoint::WriteAfterBytes, FailPoint::Sync,
        FailPoint::Rename,          FailPoint::Remove,          FailPoint::FolderSync};
    for (FailPoint point : points) {
        for (std::size_t skip = 0; skip < 12; ++skip) {
            Folder f;
            IoStatus s;
            {
                FailWrites failing(point, 3, skip);
                s = f.commit();
            }
            const std::string where =
                "point " + std::to_string(int(point)) + " skip " + std::to_string(skip);
            if (s) {
                EXPECT_EQ(snapshot(f.dir.path()), after) << where;
                continue;
            }
            EXPECT_EQ(s.error, IoError::WriteFailed) << where;
            // Either undone at once, or (when even the undo failed) left to
            // the next start, which puts everything back.
            const bool later = s.message.find("下次启动") != std::string::npos;
            EXPECT_TRUE(later || s.message.find("所有文件都未改动。") != std::string::npos)
                << where << s.message;
            if (later) {
                EXPECT_TRUE(std::filesystem::exists(f.dir / kSwitchJournalName)) << where;
            }
            ASSERT_TRUE(recoverProgramFolder(f.folder)) << where;
            EXPECT_EQ(snapshot(f.dir.path()), before) << where << ": " << s.message;
        }
    }
}

TEST(FileSwitch, ADamagedOrForeignJournalIsRefusedAndTouchesNothing) {
    const char* journals[] = {
        "garbage",
        "inkquot-switch 1\nR\tfjiben.dat\t../outside.XXXXXX\t\n",
        "inkquot-switch 1\nD\tfjiben.dat\tnotes.txt\n",
        "inkquot-switch 1\nD\t/etc/passwd\t.passwd.abcdef\n",
        "inkquot-switch 1\nR\tfjiben.dat\t.fjiben.dat.abcdef\t",  // no line end
    };
    for (const char* journal : journals) {
        EXPECT_FALSE(isValidSwitchJournal(ProgramFolder("/p"), journal)) << journal;
        Folder f;
        spit(f.dir / "notes.txt", "the shop's own file");
        spit(f.dir / kSwitchJournalName, journal);
        auto before = snapshot(f.dir.path());
        const IoStatus s = recoverProgramFolder(f.folder);
        EXPECT_EQ(s.error, IoError::ReadFailed) << journal;
        // The clerk is told the way out, in the program's words only.
        EXPECT_NE(s.message.find("修复系统默认数据"), std::string::npos) << s.message;
        EXPECT_EQ(s.message.find(kSwitchJournalName), std::string::npos) << s.message;
        EXPECT_EQ(snapshot(f.dir.path()), before) << journal;

        // The repair's way: the journal goes, every other file stays.
        ASSERT_TRUE(recoverProgramFolder(f.folder, DamagedJournal::Clear)) << journal;
        before.erase(kSwitchJournalName);
        EXPECT_EQ(snapshot(f.dir.path()), before) << journal;
        EXPECT_TRUE(recoverProgramFolder(f.folder)) << journal;
    }
}

TEST(ProgramFolderLock, AnotherHolderIsWaitedForThenNamed) {
    Folder f;
    native::FileLock::Outcome outcome;
    native::FileLock other = native::FileLock::tryLockFolder(f.dir.path(), outcome);
    ASSERT_EQ(outcome, native::FileLock::Outcome::Locked);
    {
        const ProgramFolderLock lock(f.folder, std::chrono::milliseconds(60));
        EXPECT_FALSE(lock);
        const IoStatus refusal = lock.refusal();
        EXPECT_EQ(refusal.error, IoError::Busy);
        EXPECT_NE(refusal.message.find(displayName(f.dir.path())), std::string::npos);
#ifdef __linux__
        // The holder here is this very process.
        EXPECT_NE(refusal.message.find("进程 " + std::to_string(::getpid())), std::string::npos)
            << refusal.message;
#endif
    }
    // A staged file of a live writer is not a leftover.
    spit(f.dir / ".fjiben.dat.a1B2c3", "staged by the other writer");
    EXPECT_TRUE(removeLeftoverTemporaries(f.folder));
    EXPECT_TRUE(std::filesystem::exists(f.dir / ".fjiben.dat.a1B2c3"));

    other = native::FileLock();
    EXPECT_TRUE(removeLeftoverTemporaries(f.folder));
    EXPECT_FALSE(std::filesystem::exists(f.dir / ".fjiben.dat.a1B2c3"));
}

TEST(ProgramFolderLock, IsTheSameLockInsideItsHolder) {
    Folder f;
    const ProgramFolderLock outer(f.folder, std::chrono::milliseconds(0));
    ASSERT_TRUE(outer);
    // The same folder spelled another way, then a switch that locks again.
    const ProgramFolderLock inner(ProgramFolder(f.dir.path() / "."), std::chrono::milliseconds(0));
    EXPECT_TRUE(inner);
    EXPECT_TRUE(f.commit());
    // Held by this process, the folder is still closed to other processes.
    native::FileLock::Outcome outcome;
    const native::FileLock other = native::FileLock::tryLockFolder(f.dir.path(), outcome);
    EXPECT_EQ(outcome, native::FileLock::Outcome::HeldByAnother);
}

TEST(StartupRecovery, RemovesOnlyTheWritersOwnTemporaries) {
    struct Row {
        const char* name;
        bool removed;
    } rows[] = {
        {".fjiben.dat.a1B2c3", true},
        {".frecord.dat.ZZZZZZ", true},
        {".users.dat.000000", true},
        {"jgfa/.fangan.inf.xY12zz", true},
        {"jgfa/.方案一zhibu.dat.Qq9Qq9", true},
        {".fjiben.dat.a1B2c", false},    // five random characters
        {".fjiben.dat.a1B2c3d", false},  // seven
        {".fjiben.dat.a1-2c3", false},   // not a letter or digit
        {".bashrc.backup", false},       // not a file of the program
        {"fjiben.dat.a1B2c3", false},    // no leading dot
        {"jgfa/.notes.txt.a1B2c3", false},
        {".jgfa.dat.a1B2c3", false},  // a scheme file name outside jgfa
    };
    Folder f;
    for (const Row& r : rows) {
        spit(f.dir / r.name, "x");
    }
    ASSERT_TRUE(recoverProgramFolder(f.folder));
    for (const Row& r : rows) {
        EXPECT_EQ(!std::filesystem::exists(f.dir / r.name), r.removed) << r.name;
    }
    EXPECT_EQ(slurp(f.dir / "fjiben.dat"), "old working");
}

}  // namespace
}  // namespace inkquot
