#include "core/common/program_folder_lock.h"

#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "core/common/file_io.h"
#include "core/common/file_lock.h"

namespace inkquot {

namespace {

// The folders this process holds, each with how many holders inside it.
struct HeldFolder {
    std::filesystem::path root;
    native::FileLock lock;
    int depth = 0;
};

// One gate for the process: a thread that takes a folder's lock keeps the
// other threads out until its outermost holder lets go.
std::recursive_mutex& processGate() {
    static std::recursive_mutex gate;
    return gate;
}

std::vector<HeldFolder>& heldFolders() {
    static std::vector<HeldFolder> held;
    return held;
}

// The same folder, however its path is spelled.
bool sameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    const bool same = std::filesystem::equivalent(a, b, ec);
    return ec ? a == b : same;
}

HeldFolder* heldEntry(const std::filesystem::path& root) {
    for (HeldFolder& h : heldFolders()) {
        if (sameFolder(h.root, root)) {
            return &h;
        }
    }
    return nullptr;
}

}  // namespace

ProgramFolderLock::ProgramFolderLock(const ProgramFolder& folder, std::chrono::milliseconds wait)
    : root_(folder.root()) {
    processGate().lock();
    if (HeldFolder* held = heldEntry(root_)) {
        ++held->depth;
        held_ = true;
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    native::FileLock::Outcome outcome = native::FileLock::Outcome::Unavailable;
    native::FileLock lock = native::FileLock::tryLockFolder(root_, outcome);
    while (outcome == native::FileLock::Outcome::HeldByAnother &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        lock = native::FileLock::tryLockFolder(root_, outcome);
    }
    if (outcome == native::FileLock::Outcome::HeldByAnother) {
        holder_ = native::FileLock::holderOf(root_);
        processGate().unlock();
        return;
    }
    heldFolders().push_back({root_, std::move(lock), 1});
    held_ = true;
}

ProgramFolderLock::~ProgramFolderLock() {
    if (!held_) {
        return;
    }
    auto& held = heldFolders();
    for (auto it = held.begin(); it != held.end(); ++it) {
        if (sameFolder(it->root, root_) && --it->depth == 0) {
            held.erase(it);  // ends the lock
            break;
        }
    }
    processGate().unlock();
}

IoStatus ProgramFolderLock::refusal() const {
    const std::string who = holder_.empty() ? "另一个程序" : "另一个程序（" + holder_ + "）";
    return IoStatus::failure(IoError::Busy, "程序文件夹“" + displayName(root_) + "”正被" + who +
                                                "使用，请稍后再试；文件都未改动。");
}

}  // namespace inkquot
