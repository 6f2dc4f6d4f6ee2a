#include "core/pricedata/startup_recovery.h"


#include <array>
#include <system_error>

#include "core/common/file_io.h"
#include "core/common/file_switch.h"
#include "core/job/recent_jobs.h"
#include "core/pricedata/price_tables.h"
#include "core/records/history_file.h"
#include "core/records/history_jobs.h"

namespace inkquot {

namespace {

// The files the program writes directly in its folder.
bool isOwnRootFile(std::string_view name) {
    for (const PriceTable table : kAllPriceTables) {
        if (name == layoutOf(table).workingFile) {
            return true;
        }
    }
    return name == kHistoryFileName || name == kHistoryJobsFileName || name == "users.dat" ||
           name == kSwitchJournalName || name == kRecentJobsFileName;
}

// The files the program writes in jgfa: the list and the stored tables.
bool isOwnSchemeFile(std::string_view name) {
    if (name == "fangan.inf") {
        return true;
    }
    for (const PriceTable table : kAllPriceTables) {
        const std::string_view suffix = layoutOf(table).schemeSuffix;
        if (name.size() > suffix.size() && name.ends_with(suffix)) {
            return true;
        }
    }
    return false;
}

// The name of the file a temporary stands for, or empty when it is not one.
std::string_view temporaryTarget(std::string_view name) {
    constexpr std::size_t kEnding = 7;  // "." and six random characters
    if (name.size() <= kEnding + 1 || name.front() != '.') {
        return {};
    }
    const std::string_view target = name.substr(1, name.size() - kEnding - 1);
    return isTemporaryNameOf(name, target) ? target : std::string_view{};
}

IoStatus removeIn(const std::filesystem::path& folder, bool (*isOwn)(std::string_view)) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec) {
        return IoStatus::success();  // no folder, nothing left over
    }
    bool removed = false;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) {
            break;
        }
        const std::string name = displayName(it->path().filename());
        const std::string_view target = temporaryTarget(name);
        if (target.empty() || !isOwn(target)) {
            continue;
        }
        if (!native::isPlainFile(it->path())) {
            continue;
        }
        if (!unlinkFile(it->path())) {
            return IoStatus::failure(IoError::WriteFailed,
                                     "无法删除临时文件“" + displayName(it->path()) + "”。");
        }
        removed = true;
    }
    if (removed && !syncFolder(folder)) {
        return IoStatus::failure(IoError::NotDurable,
                                 "无法把文件夹“" + displayName(folder) + "”同步到磁盘。");
    }
    return IoStatus::success();
}

}  // namespace

IoStatus removeLeftoverTemporaries(const ProgramFolder& folder) {
    // Only while no other process holds the folder: a live writer's staged
    // file looks just like a killed one's. The next start removes what a
    // busy folder keeps now.
    const ProgramFolderLock lock(folder, std::chrono::milliseconds(0));
    if (!lock) {
        return IoStatus::success();
    }
    IoStatus status = removeIn(folder.root(), isOwnRootFile);
    if (!status) {
        return status;
    }
    return removeIn(folder.schemeFolder(), isOwnSchemeFile);
}

IoStatus recoverProgramFolder(const ProgramFolder& folder, DamagedJournal damaged) {
    IoStatus status = recoverSwitch(folder, damaged);
    if (!status) {
        // The journal's files are still needed to recover; nothing is removed.
        return status;
    }
    return removeLeftoverTemporaries(folder);
}

}  // namespace inkquot
