#include "core/common/file_lock.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>

#include <cwchar>
#else
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#endif

namespace inkquot::native {

namespace {

// A holder's note as a message may show it: one short line, without control
// characters (the note is another process's text, and a file anyone can
// write on a shared folder).
std::string plainNote(std::string_view text) {
    std::string out;
    for (const char c : text.substr(0, 200)) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) {
            out += c;
        }
    }
    return out;
}

}  // namespace

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

// The lock covers one byte far past the end of the file, so that the note
// at its start stays readable to the processes that wait.
bool lockHandle(HANDLE h, DWORD flags) {
    OVERLAPPED farByte{};
    farByte.OffsetHigh = 0x7fffffff;
    return ::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | flags, 0, 1, 0, &farByte) != 0;
}

std::string utf8Of(const wchar_t* text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) {
        return {};
    }
    std::string out(static_cast<std::size_t>(n - 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

// "inkquot-cli.exe，进程 4242，用户 wang": what a waiting clerk is told.
std::string holderNote() {
    wchar_t module[MAX_PATH] = L"";
    std::string program;
    if (::GetModuleFileNameW(nullptr, module, MAX_PATH) > 0) {
        const wchar_t* name = std::wcsrchr(module, L'\\');
        program = utf8Of(name != nullptr ? name + 1 : module);
    }
    std::string note = program.empty() ? std::string() : program + "，";
    note += "进程 " + std::to_string(::GetCurrentProcessId());
    wchar_t user[256] = L"";
    DWORD userLength = 256;
    if (::GetUserNameW(user, &userLength)) {
        note += "，用户 " + utf8Of(user);
    }
    return note;
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

FileLock FileLock::tryLockFolder(const std::filesystem::path& folder, Outcome& outcome) {
    FileLock lock = tryLockFile(folder / kFolderLockName, outcome);
    if (lock.locked()) {
        lock.writeNote(holderNote());
    }
    return lock;
}

std::string FileLock::holderOf(const std::filesystem::path& folder) {
    std::filesystem::path p = folder / kFolderLockName;
    p.make_preferred();
    HANDLE h = ::CreateFileW(p.wstring().c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return {};
    }
    char buffer[256];
    DWORD got = 0;
    const bool read = ::ReadFile(h, buffer, sizeof buffer, &got, nullptr) != 0;
    ::CloseHandle(h);
    return read ? plainNote(std::string_view(buffer, got)) : std::string();
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

FileLock FileLock::tryLockFolder(const std::filesystem::path& folder, Outcome& outcome) {
    FileLock lock;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        outcome = Outcome::Unavailable;
        return lock;
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        outcome = errno == EWOULDBLOCK ? Outcome::HeldByAnother : Outcome::Unavailable;
        ::close(fd);
        return lock;
    }
    lock.fd_ = fd;
    outcome = Outcome::Locked;
    return lock;
}

// The system's table of locks (/proc/locks) names the process that holds a
// folder's lock: "1: FLOCK  ADVISORY  WRITE 4242 08:01:1234 0 EOF", the
// device in hexadecimal and the inode in decimal. A folder on another
// machine's disk shows no holder here.
std::string FileLock::holderOf(const std::filesystem::path& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) {
        return {};
    }
    char device[64];
    std::snprintf(device, sizeof device, "%02x:%02x:%llu", major(st.st_dev), minor(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, pid, where;
        fields >> number >> kind;
        if (kind == "->") {
            continue;  // a process waiting for the lock, not holding it
        }
        fields >> mode >> access >> pid >> where;
        if (kind != "FLOCK" || where != device) {
            continue;
        }
        std::string note;
        std::ifstream comm("/proc/" + pid + "/comm");
        if (std::getline(comm, note) && !note.empty()) {
            note = plainNote(note) + "，";
        }
        note += "进程 " + pid;
        struct stat process {};
        if (::stat(("/proc/" + pid).c_str(), &process) == 0) {
            struct passwd entry {};
            struct passwd* found = nullptr;
            char names[1024];
            if (::getpwuid_r(process.st_uid, &entry, names, sizeof names, &found) == 0 &&
                found != nullptr) {
                note += "，用户 " + plainNote(found->pw_name);
            }
        }
        return note;
    }
    return {};
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
