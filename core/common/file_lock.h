#pragma once

// An exclusive lock that other processes respect, held while the object
// lives: the program folder's lock for its writers, and the lock of the
// single running program. Released by the system when a process ends, so a
// crashed holder never leaves a folder locked.

#include <filesystem>
#include <string>
#include <string_view>

namespace inkquot::native {

class FileLock {
public:
    enum class Outcome { Locked, HeldByAnother, Unavailable };

    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock of a folder without waiting. The folder itself is
    // locked where the system can (Linux); elsewhere a small file in it,
    // kFolderLockName, carries the lock and is left in place, holding a note
    // of who holds it.
    static FileLock tryLockFolder(const std::filesystem::path& folder, Outcome& outcome);
    // Who holds the lock of a folder ("inkquot-cli，进程 4242，用户 wang"), as
    // far as the system tells; empty when it does not.
    static std::string holderOf(const std::filesystem::path& folder);
    // Takes the lock of a file (made when missing) without waiting.
    static FileLock tryLockFile(const std::filesystem::path& file, Outcome& outcome);

    bool locked() const;
    // Replaces the contents of a locked file with `text` (a note for the
    // person who finds it); failures are ignored.
    void writeNote(std::string_view text);

private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

// The file that carries a folder's lock where a folder cannot be locked.
inline constexpr const char* kFolderLockName = "inkquot.lock";

}  // namespace inkquot::native
