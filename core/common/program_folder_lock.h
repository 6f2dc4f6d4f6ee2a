#pragma once

#include <chrono>
#include <filesystem>
#include <string>

#include "core/common/io_status.h"
#include "core/common/program_folder.h"

namespace inkquot {

// How long a writer waits for a program folder that another process holds
// before it gives up and says who holds it. A writer holds the folder for
// one read-modify-write, which takes well under a second even for a large
// history; a holder that keeps it longer is stuck or working on something
// very large, and the clerk is better told than left waiting.
inline constexpr std::chrono::milliseconds kFolderLockWait{10000};

// Holds the program folder for one writer's whole read-modify-write (the
// scheme list, the history, the tables, the letterhead, the headings, the
// recent jobs), so that two processes on one folder (two clerks sharing it,
// or the program and a script) never interleave: what one reads is still
// true when it writes, and the start-up clean-up never removes a file that a
// live writer is about to rename into place.
//
// The lock is held by the process: taken again inside a holder (a scheme
// selection inside a deletion, the file switch inside either), it is the
// same lock, and other threads of the process wait for its holder. A folder
// that the system cannot lock at all (a missing folder, a file system
// without locks) is written without it, as before.
class ProgramFolderLock {
public:
    explicit ProgramFolderLock(const ProgramFolder& folder,
                               std::chrono::milliseconds wait = kFolderLockWait);
    ~ProgramFolderLock();
    ProgramFolderLock(const ProgramFolderLock&) = delete;
    ProgramFolderLock& operator=(const ProgramFolderLock&) = delete;

    // False when another process held the folder for the whole wait.
    bool held() const { return held_; }
    explicit operator bool() const { return held_; }

    // The refusal of a writer that did not get the folder: it names the
    // folder and, where the system tells, the program, process and user that
    // hold it; nothing was changed.
    IoStatus refusal() const;

private:
    std::filesystem::path root_;
    bool held_ = false;
    std::string holder_;  // who held the folder, when it was not got
};

}  // namespace inkquot
