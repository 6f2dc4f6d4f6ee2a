#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/io_status.h"
#include "core/common/program_folder.h"
#include "core/common/program_folder_lock.h"

namespace inkquot {

// The journal of a switch in progress, in the program folder. Its presence
// means a switch was interrupted; the next start (and any pricing before it)
// puts the files back as they were before.
inline constexpr const char* kSwitchJournalName = "inkquot.journal";

// Replaces and removes several files of the program folder (the folder itself
// and jgfa) as one step: afterwards either every change is made or none is,
// even when the program is killed or the disk fills up half way.
//
// How: every new file is written and flushed beside its target first, and
// every file about to be replaced or removed gets a second name (a hard link)
// beside it. Then a journal listing the pending renames is written, the
// renames and removals are made, the journal is removed, and last the second
// names. A failure at any step before the journal is gone undoes everything
// at once; a crash in that span leaves the journal, and recoverSwitch puts
// the files back as they were before.
class FileSwitch {
public:
    explicit FileSwitch(ProgramFolder folder);

    // Targets must lie in the program folder or its jgfa folder.
    void replace(const std::filesystem::path& target, std::string bytes);
    // A replacement whose new file is already written and flushed beside the
    // target under a writer's temporary name (AtomicFileWriter::stage), for
    // files too large to hold in memory. The switch owns it from now on.
    void replaceStaged(const std::filesystem::path& target, std::filesystem::path staged);
    void remove(const std::filesystem::path& target);

    // Makes the change. On failure every file is as it was before and the
    // message names the file that failed and ends with `unchangedNote`; in
    // the rare case that even the undo fails, the journal stays and the
    // message says that the next start restores the files.
    IoStatus commit(std::string_view unchangedNote);

private:
    struct Change {
        std::filesystem::path target;
        std::string bytes;
        bool removal = false;
        std::filesystem::path staged;  // the new file, before its rename
        bool preStaged = false;        // written by the caller
        std::filesystem::path backup;  // second name of the old file
        bool applied = false;
    };

    enum class Undo { Done, NotSynced, Failed };

    IoStatus prepare();
    Undo undo(bool journalWritten);
    bool syncFolders() const;
    std::string journalText() const;

    ProgramFolder folder_;
    std::vector<Change> changes_;
};

// What recoverSwitch does with a journal it cannot read: report it and leave
// it (every pricing run and command stops there, so that nothing is priced
// from tables that may be half switched), or, when the clerk repairs the
// folder, remove it and leave the files as they are.
enum class DamagedJournal { Report, Clear };

// Finishes what an interrupted switch left: with a journal present, the files
// it lists are put back as they were before the switch and the journal is
// removed. Nothing to do without a journal.
IoStatus recoverSwitch(const ProgramFolder& folder,
                       DamagedJournal damaged = DamagedJournal::Report);

// Whether a journal's text is one that recoverSwitch acts on: every path in
// it lies in the program folder or jgfa, and every name it would remove is a
// writer's temporary name beside its target.
bool isValidSwitchJournal(const ProgramFolder& folder, std::string_view text);

}  // namespace inkquot
