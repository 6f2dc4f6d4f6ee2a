#include "core/common/file_switch.h"

#include <set>

#include "core/common/file_io.h"
#include "core/common/native_file.h"

namespace inkquot {

namespace {

constexpr std::string_view kJournalHeader = "inkquot-switch 1";
// A journal lists a few files; anything larger is not one.
constexpr std::size_t kMaxJournalBytes = 64 * 1024;

using native::pathExists;

// A failed step of a switch, with the reason the system gave for it (asked
// at once, before the undo makes calls of its own).
IoStatus writeFailed(const std::filesystem::path& file) {
    return IoStatus::failure(IoError::WriteFailed, "无法写入文件“" + displayName(file) + "”" +
                                                       reasonOfLastFault() + "，");
}

IoStatus syncFailed(const std::filesystem::path& file) {
    return IoStatus::failure(
        IoError::WriteFailed,
        "无法把文件“" + displayName(file) + "”的改动同步到磁盘" + reasonOfLastFault() + "，");
}

// A second name for `file` beside it, in the writers' temporary pattern (so a
// leftover one is removed at the next start). A hard link costs no copy; a
// file system without links gets a flushed copy instead.
IoStatus secondName(const std::filesystem::path& file, std::filesystem::path& backup) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        backup = temporaryPathFor(file);
        if (native::linkFile(file, backup)) {
            return IoStatus::success();
        }
        if (native::lastFault() != native::Fault::Exists) {
            break;
        }
    }
    backup.clear();
    std::string bytes;
    IoStatus status = readWholeFile(file, bytes);
    if (!status) {
        return status;
    }
    return stageFile(file, bytes, backup);
}

std::vector<std::string> splitTabs(std::string_view line) {
    std::vector<std::string> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.emplace_back(line.substr(0, tab));
        if (tab == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(tab + 1);
    }
}

// A journal path: relative, inside the program folder or its jgfa folder.
bool isJournalPath(const std::filesystem::path& relative) {
    if (relative.empty() || relative.is_absolute() || relative.has_root_path()) {
        return false;
    }
    std::vector<std::string> parts;
    for (const auto& part : relative) {
        parts.push_back(displayName(part));
    }
    for (const auto& part : parts) {
        if (part.empty() || part == "." || part == "..") {
            return false;
        }
    }
    return parts.size() == 1 || (parts.size() == 2 && parts[0] == "jgfa");
}

struct JournalEntry {
    std::filesystem::path target;
    std::filesystem::path staged;  // empty for a removal
    std::filesystem::path backup;  // empty when the target did not exist
    bool removal = false;
};

bool parseJournal(const ProgramFolder& folder, std::string_view text,
                  std::vector<JournalEntry>& entries) {
    entries.clear();
    bool header = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos) {
            return false;  // a journal always ends with its line end
        }
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        if (!header) {
            if (line != kJournalHeader) {
                return false;
            }
            header = true;
            continue;
        }
        const auto fields = splitTabs(line);
        JournalEntry e;
        auto path = [&](const std::string& field, std::filesystem::path& out) {
            if (field.empty()) {
                return true;
            }
            const std::filesystem::path relative = pathFromUtf8(field);
            if (!isJournalPath(relative)) {
                return false;
            }
            out = folder.root() / relative;
            return true;
        };
        if (fields.size() == 4 && fields[0] == "R") {
            if (!path(fields[1], e.target) || !path(fields[2], e.staged) ||
                !path(fields[3], e.backup) || e.target.empty() || e.staged.empty()) {
                return false;
            }
        } else if (fields.size() == 3 && fields[0] == "D") {
            e.removal = true;
            if (!path(fields[1], e.target) || !path(fields[2], e.backup) || e.target.empty() ||
                e.backup.empty()) {
                return false;
            }
        } else {
            return false;
        }
        // The new file and the second name sit beside their target and carry
        // the writers' temporary names, so a journal can never name anything
        // else for removal.
        const std::string target = displayName(e.target.filename());
        for (const auto* p : {&e.staged, &e.backup}) {
            if (!p->empty() && (p->parent_path() != e.target.parent_path() ||
                                !isTemporaryNameOf(displayName(p->filename()), target))) {
                return false;
            }
        }
        entries.push_back(std::move(e));
    }
    return header;
}

std::set<std::filesystem::path> foldersOf(const std::vector<std::filesystem::path>& targets) {
    std::set<std::filesystem::path> folders;
    for (const auto& t : targets) {
        folders.insert(t.parent_path());
    }
    return folders;
}

struct Undone {
    bool restored = true;  // every target is as it was before
    bool synced = true;    // and that is on disk
};

// Puts the targets of a journal back as they were before the switch. Every
// step can be repeated: a second name already renamed back is simply gone,
// so an undo that stopped half way is finished by the next one. New files
// and second names that cannot be removed are left as temporaries, which
// the next start removes.
Undone rollBack(const std::vector<JournalEntry>& entries) {
    Undone done;
    std::vector<std::filesystem::path> targets;
    for (const auto& e : entries) {
        targets.push_back(e.target);
        if (!e.backup.empty()) {
            if (pathExists(e.backup)) {
                if (renameFile(e.backup, e.target)) {
                    // Renaming a second name onto the same file changes nothing.
                    native::removeFile(e.backup);
                } else {
                    done.restored = false;
                }
            }
        } else if (!e.removal && !pathExists(e.staged)) {
            // A new file that had been put in place.
            done.restored = unlinkFile(e.target) && done.restored;
        }
        if (!e.staged.empty()) {
            native::removeFile(e.staged);
        }
    }
    for (const auto& f : foldersOf(targets)) {
        done.synced = syncFolder(f) && done.synced;
    }
    return done;
}

}  // namespace

FileSwitch::FileSwitch(ProgramFolder folder) : folder_(std::move(folder)) {}

void FileSwitch::replace(const std::filesystem::path& target, std::string bytes) {
    changes_.push_back({target, std::move(bytes), false, {}, false, {}, false});
}

void FileSwitch::replaceStaged(const std::filesystem::path& target, std::filesystem::path staged) {
    changes_.push_back({target, {}, false, std::move(staged), true, {}, false});
}

void FileSwitch::remove(const std::filesystem::path& target) {
    changes_.push_back({target, {}, true, {}, false, {}, false});
}

bool FileSwitch::syncFolders() const {
    std::vector<std::filesystem::path> targets;
    for (const auto& c : changes_) {
        targets.push_back(c.target);
    }
    bool ok = true;
    for (const auto& f : foldersOf(targets)) {
        ok = syncFolder(f) && ok;
    }
    return ok;
}

std::string FileSwitch::journalText() const {
    auto rel = [&](const std::filesystem::path& p) {
        // Written with forward slashes on every system, so that a journal
        // reads the same wherever the folder is opened.
        if (p.empty()) {
            return std::string();
        }
        const auto relative = p.lexically_relative(folder_.root()).generic_u8string();
        return std::string(relative.begin(), relative.end());
    };
    std::string text(kJournalHeader);
    text += '\n';
    for (const auto& c : changes_) {
        if (c.removal) {
            if (!c.backup.empty()) {
                text += "D\t" + rel(c.target) + "\t" + rel(c.backup) + "\n";
            }
        } else {
            text += "R\t" + rel(c.target) + "\t" + rel(c.staged) + "\t" + rel(c.backup) + "\n";
        }
    }
    return text;
}

// Writes every new file and gives every old one its second name.
IoStatus FileSwitch::prepare() {
    for (auto& c : changes_) {
        IoStatus status;
        if (!c.removal && !c.preStaged) {
            status = stageFile(c.target, c.bytes, c.staged);
        }
        if (status && pathExists(c.target)) {
            status = secondName(c.target, c.backup);
        }
        if (!status) {
            // The writers' own "unchanged" note is replaced by the caller's.
            if (status.error == IoError::WriteFailed) {
                status.message = "无法写入文件“" + displayName(c.target) + "”" +
                                 (status.cause.empty() ? "" : "（" + status.cause + "）") + "，";
            }
            return status;
        }
    }
    if (!syncFolders()) {
        return syncFailed(changes_.front().target);
    }
    return IoStatus::success();
}

// Puts every target back as it was.
FileSwitch::Undo FileSwitch::undo(bool journalWritten) {
    if (!journalWritten) {
        // Nothing has been renamed yet: only the new files and the second
        // names go.
        for (const auto& c : changes_) {
            for (const auto* p : {&c.staged, &c.backup}) {
                if (!p->empty()) {
                    native::removeFile(*p);
                }
            }
        }
        return Undo::Done;
    }
    std::vector<JournalEntry> entries;
    for (const auto& c : changes_) {
        if (!c.removal || !c.backup.empty()) {
            entries.push_back({c.target, c.staged, c.backup, c.removal});
        }
    }
    // The journal stays until the files are back, so that the next start can
    // finish an undo that fails half way (repeating it does no harm).
    const Undone done = rollBack(entries);
    if (!done.restored) {
        return Undo::Failed;
    }
    const bool synced =
        unlinkFile(folder_.file(kSwitchJournalName)) && syncFolder(folder_.root()) && done.synced;
    return synced ? Undo::Done : Undo::NotSynced;
}

IoStatus FileSwitch::commit(std::string_view unchangedNote) {
    const ProgramFolderLock lock(folder_);
    if (!lock) {
        return lock.refusal();
    }
    const std::string note(unchangedNote);
    auto undoAndReport = [&](IoStatus status, bool journalWritten) {
        status.error = IoError::WriteFailed;
        switch (undo(journalWritten)) {
            case Undo::Done:
                status.message += note;
                break;
            case Undo::NotSynced:
                status.message += note + "（撤回未能同步到磁盘，断电后请检查改动过的文件。）";
                break;
            case Undo::Failed:
                status.message += "改动未能撤回；下次启动时会自动恢复原样。";
                break;
        }
        return status;
    };

    IoStatus status = prepare();
    if (!status) {
        return undoAndReport(status, false);
    }

    const auto journal = folder_.file(kSwitchJournalName);
    status = writeFileAtomically(journal, journalText());
    if (!status) {
        // A journal whose folder flush failed is in place all the same. The
        // clerk knows nothing of the journal: the change is what failed.
        IoStatus failed = IoStatus::failure(
            IoError::WriteFailed,
            "无法在程序文件夹“" + displayName(folder_.root()) + "”中记下这次改动" +
                (status.cause.empty() ? "" : "（" + status.cause + "）") + "，");
        return undoAndReport(failed, status.error == IoError::NotDurable);
    }

    for (auto& c : changes_) {
        const bool done =
            c.removal ? (c.backup.empty() || unlinkFile(c.target)) : renameFile(c.staged, c.target);
        if (!done) {
            return undoAndReport(writeFailed(c.target), true);
        }
        c.applied = true;
    }
    if (!syncFolders()) {
        return undoAndReport(syncFailed(changes_.front().target), true);
    }
    if (!unlinkFile(journal) || !syncFolder(folder_.root())) {
        return undoAndReport(IoStatus::failure(IoError::WriteFailed,
                                               "无法在程序文件夹“" + displayName(folder_.root()) +
                                                   "”中完成这次改动" + reasonOfLastFault() + "，"),
                             true);
    }
    // The switch is made and on disk; the second names are no longer needed.
    // One that cannot be removed now is removed at the next start.
    for (auto& c : changes_) {
        if (!c.backup.empty()) {
            native::removeFile(c.backup);
        }
    }
    syncFolders();
    return IoStatus::success();
}

bool isValidSwitchJournal(const ProgramFolder& folder, std::string_view text) {
    std::vector<JournalEntry> entries;
    return parseJournal(folder, text, entries);
}

IoStatus recoverSwitch(const ProgramFolder& folder, DamagedJournal damaged) {
    // Asked before every price book load: the usual answer is no journal.
    const auto journal = folder.file(kSwitchJournalName);
    if (!pathExists(journal)) {
        return IoStatus::success();
    }
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    std::string text;
    IoStatus status = readWholeFile(journal, text, kMaxJournalBytes);
    if (status.error == IoError::Missing) {
        return IoStatus::success();  // another run finished it meanwhile
    }
    if (status.error == IoError::NotRegular) {
        return status;
    }
    std::vector<JournalEntry> entries;
    if (!status || !parseJournal(folder, text, entries)) {
        if (damaged == DamagedJournal::Clear) {
            // What it listed can no longer be told; the files stay as they are.
            if (!unlinkFile(journal) || !syncFolder(folder.root())) {
                return IoStatus::failure(IoError::WriteFailed,
                                         "无法清除程序文件夹“" + displayName(folder.root()) +
                                             "”中损坏的操作记录" + reasonOfLastFault() + "。");
            }
            return IoStatus::success();
        }
        return IoStatus::failure(
            IoError::ReadFailed,
            "程序文件夹“" + displayName(folder.root()) +
                "”中有一次被中断的文件操作，它的记录已损坏，无法自动恢复：请按“修复系统默认数据”"
                "（命令行：scheme repair）清除它，再按“刷新”重新选用价格方案。");
    }
    // The journal is removed (and that removal flushed) before any second
    // name, so a journal on disk always comes with the old files: the switch
    // is undone.
    const Undone done = rollBack(entries);
    bool ok = done.restored && done.synced;
    if (ok) {
        ok = unlinkFile(journal) && syncFolder(folder.root());
    }
    if (!ok) {
        return IoStatus::failure(IoError::WriteFailed,
                                 "未能恢复程序文件夹“" + displayName(folder.root()) +
                                     "”中被中断的文件操作" + reasonOfLastFault() +
                                     "，请检查程序文件夹是否可写。");
    }
    return IoStatus::success();
}

}  // namespace inkquot
