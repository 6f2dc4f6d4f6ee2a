#include "core/spreadsheet/export_staging.h"

#include <system_error>
#include <utility>

#include "core/common/file_io.h"
#include "core/spreadsheet/sheet_writer.h"

namespace inkquot {

namespace {

// The folder a path names, "." for a bare file name.
std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
}

// The target of an export's temporary name (".价格表.xlsx.a1B2c3" stands
// for "价格表.xlsx"); empty for any other name.
std::string exportTargetOf(const std::string& name) {
    constexpr std::size_t kEnding = 7;  // "." and six random characters
    if (name.size() <= kEnding + 1 || name.front() != '.') {
        return {};
    }
    std::string target = name.substr(1, name.size() - kEnding - 1);
    if (!isTemporaryNameOf(name, target) || !sheetFormatOf(pathFromUtf8(target))) {
        return {};
    }
    return target;
}

// Empties and removes an export's folder whose lock `lock` holds. The lock
// file goes last, and only from an otherwise empty folder, so that a folder
// still holding anything always has one for the next clean-up; the lock is
// let go first, as Windows removes no open file.
void removeLocked(const std::filesystem::path& folder, native::FileLock& lock) {
    const std::filesystem::path lockFile = folder / native::kFolderLockName;
    std::error_code ec;
    bool emptied = true;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::error_code removed;
        if (it->path() != lockFile) {
            std::filesystem::remove_all(it->path(), removed);
            emptied = emptied && !removed;
        }
    }
    lock = native::FileLock();
    if (emptied && !ec && native::removeFile(lockFile)) {
        std::filesystem::remove(folder, ec);
    }
}

// Removes a killed export's folder, unless a running export holds its lock.
// The lock file is made first and removed last: a folder without one is
// empty, or being set up (its export then starts again under a new name).
void removeAbandoned(const std::filesystem::path& folder) {
    const std::filesystem::path lockFile = folder / native::kFolderLockName;
    if (!native::isPlainFile(lockFile)) {
        std::error_code ec;
        std::filesystem::remove(folder, ec);  // only when empty
        return;
    }
    native::FileLock::Outcome outcome;
    native::FileLock lock = native::FileLock::tryLockFile(lockFile, outcome);
    if (outcome == native::FileLock::Outcome::Locked) {
        removeLocked(folder, lock);
    }
}

}  // namespace

void removeExportLeftovers(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::filesystem::path& path = it->path();
        if (exportTargetOf(displayName(path.filename())).empty()) {
            continue;
        }
        std::error_code unknown;
        const auto type = it->symlink_status(unknown).type();
        if (type == std::filesystem::file_type::regular) {
            native::removeFile(path);
        } else if (type == std::filesystem::file_type::directory) {
            removeAbandoned(path);
        }
    }
}

ExportStaging::ExportStaging(std::filesystem::path target) : target_(std::move(target)) {
    removeExportLeftovers(folderOf(target_));
    // A fresh name is drawn until one is free. A folder that another
    // export's clean-up took in the moment between making it and locking it
    // is left to that clean-up.
    for (int attempt = 0; attempt < 100; ++attempt) {
        folder_ = temporaryPathFor(target_);
        if (!native::makeFolder(folder_)) {
            if (native::lastFault() == native::Fault::Exists) {
                continue;
            }
            fault_ = native::lastFault();
            break;
        }
        native::FileLock::Outcome outcome;
        lock_ = native::FileLock::tryLockFile(folder_ / native::kFolderLockName, outcome);
        if (outcome == native::FileLock::Outcome::Locked) {
            return;
        }
        std::error_code ec;
        if (outcome != native::FileLock::Outcome::HeldByAnother &&
            std::filesystem::exists(folder_, ec)) {
            std::filesystem::remove(folder_, ec);
            break;
        }
    }
    folder_.clear();
}

ExportStaging::~ExportStaging() {
    if (!folder_.empty()) {
        removeLocked(folder_, lock_);
    }
}

IoStatus ExportStaging::place(std::string_view bytes) {
    AtomicFileWriter writer(file());
    writer.write(bytes);
    std::filesystem::path staged;
    if (!writer.stage(staged)) {
        return IoStatus::failure(IoError::WriteFailed, failure(writer.fault()));
    }
    return placeStaged(staged);
}

IoStatus ExportStaging::placeStaged(const std::filesystem::path& staged) {
    if (!renameFile(staged, target_)) {
        return IoStatus::failure(IoError::WriteFailed, failure(native::lastFault()));
    }
    if (!syncFolder(folderOf(target_))) {
        return IoStatus::failure(
            IoError::NotDurable,
            "文件“" + displayName(target_) + "”已写入，但未能同步到磁盘：断电后可能丢失。");
    }
    return IoStatus::success();
}

std::string ExportStaging::failure(native::Fault fault, std::string_view otherwise) const {
    const std::filesystem::path folder = folderOf(target_);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        return "文件夹“" + displayName(folder) + "”不存在。";
    }
    if (std::filesystem::is_directory(target_, ec)) {
        return "“" + displayName(target_) + "”是一个文件夹。";
    }
    std::string reason = faultReason(fault == native::Fault::None ? fault_ : fault);
    if (reason.empty()) {
        native::DiskState disk;
        if (native::diskState(folder, disk)) {
            if (disk.readOnly) {
                return "文件夹“" + displayName(folder) + "”所在的磁盘只能读取。";
            }
            if (disk.freeBytes == 0) {
                return "磁盘已满，文件“" + displayName(target_) + "”无法写入。";
            }
        }
        if (!native::isWritable(folder)) {
            return "没有在文件夹“" + displayName(folder) + "”中写入文件的权限。";
        }
        reason = otherwise;
    }
    std::string text = "无法写入文件“" + displayName(target_) + "”";
    if (!reason.empty()) {
        text += "（" + reason + "）";
    }
    if (native::isPlainFile(target_)) {
        text += "，原文件未改动";
    }
    return text + "。";
}

}  // namespace inkquot
