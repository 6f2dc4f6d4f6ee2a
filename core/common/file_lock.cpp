#include "core/common/file_lock.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace inkquot::native {

FileLock::FileLock(FileLock&& other) noexcept {
    *this = std::move(other);
}

#ifdef _WIN32
// ---------------------------------------------------------------- Windows

namespace {

HANDLE openLockFile(const std::filesystem::path& file) {
    std::filesystem::path p = file;
    p.make_preferred();
    HANDLE h = ::CreateFileW(p.wstring().c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

bool lockHandle(HANDLE h, DWORD flags) {
    OVERLAPPED whole{};
    return ::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | flags, 0, MAXDWORD, MAXDWORD, &whole) != 0;
}

}  // namespace

FileLock::~FileLock() {
    if (handle_ != nullptr) {
        ::CloseHandle(handle_);  // closing the handle ends the lock
    }
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
}

FileLock FileLock::lockFolder(const std::filesystem::path& folder) {
    FileLock lock;
    HANDLE h = openLockFile(folder / kFolderLockName);
    if (h != nullptr && lockHandle(h, 0)) {
        lock.handle_ = h;
    } else if (h != nullptr) {
        ::CloseHandle(h);
    }
    return lock;
}

FileLock FileLock::tryLockFile(const std::filesystem::path& file, Outcome& outcome) {
    FileLock lock;
    HANDLE h = openLockFile(file);
    if (h == nullptr) {
        outcome = ::GetLastError() == ERROR_SHARING_VIOLATION ? Outcome::HeldByAnother
                                                              : Outcome::Unavailable;
        return lock;
    }
    if (!lockHandle(h, LOCKFILE_FAIL_IMMEDIATELY)) {
        outcome = ::GetLastError() == ERROR_LOCK_VIOLATION ? Outcome::HeldByAnother
                                                           : Outcome::Unavailable;
        ::CloseHandle(h);
        return lock;
    }
    lock.handle_ = h;
    outcome = Outcome::Locked;
    return lock;
}

bool FileLock::locked() const {
    return handle_ != nullptr;
}

void FileLock::writeNote(std::string_view text) {
    // The locked range covers the whole file, so only the holder writes.
    LARGE_INTEGER start{};
    DWORD written = 0;
    if (::SetFilePointerEx(handle_, start, nullptr, FILE_BEGIN) && ::SetEndOfFile(handle_)) {
        ::WriteFile(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
}

#else
// ---------------------------------------------------------------- POSIX

FileLock::~FileLock() {
    if (fd_ >= 0) {
        ::close(fd_);  // closing the descriptor ends the lock
    }
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
}

FileLock FileLock::lockFolder(const std::filesystem::path& folder) {
    FileLock lock;
    lock.fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lock.fd_ >= 0) {
        int rc;
        do {
            rc = ::flock(lock.fd_, LOCK_EX);
        } while (rc != 0 && errno == EINTR);
    }
    return lock;
}

FileLock FileLock::tryLockFile(const std::filesystem::path& file, Outcome& outcome) {
    FileLock lock;
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        outcome = Outcome::Unavailable;
        return lock;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        outcome = errno == EWOULDBLOCK ? Outcome::HeldByAnother : Outcome::Unavailable;
        ::close(fd);
        return lock;
    }
    lock.fd_ = fd;
    outcome = Outcome::Locked;
    return lock;
}

bool FileLock::locked() const {
    return fd_ >= 0;
}

void FileLock::writeNote(std::string_view text) {
    if (::ftruncate(fd_, 0) == 0) {
        [[maybe_unused]] const auto written = ::write(fd_, text.data(), text.size());
    }
}

#endif

}  // namespace inkquot::native
