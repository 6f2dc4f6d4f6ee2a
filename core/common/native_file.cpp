#include "core/common/native_file.h"

#include <algorithm>
#include <cerrno>
#include <limits>
#include <random>
#include <string>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#endif

namespace inkquot::native {

namespace {
thread_local Fault lastFaultOfThread = Fault::None;
}  // namespace

Fault faultOfErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return Fault::Missing;
        case EEXIST:
            return Fault::Exists;
        case ENOSPC:
            return Fault::NoSpace;
#ifdef EDQUOT
        case EDQUOT:
            return Fault::Quota;
#endif
        case EACCES:
        case EPERM:
            return Fault::NoPermission;
        case EROFS:
            return Fault::ReadOnly;
        case ENAMETOOLONG:
            return Fault::NameTooLong;
        case EIO:
            return Fault::Io;
        default:
            return Fault::Other;
    }
}

Fault lastFault() {
    return lastFaultOfThread;
}

void setLastFault(Fault fault) {
    lastFaultOfThread = fault;
}

File::File(File&& other) noexcept {
    *this = std::move(other);
}

#ifdef _WIN32
// ---------------------------------------------------------------- Windows

namespace {

Fault faultOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return Fault::Missing;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return Fault::Exists;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return Fault::NoSpace;
        case ERROR_ACCESS_DENIED:
            return Fault::NoPermission;
        case ERROR_WRITE_PROTECT:
            return Fault::ReadOnly;
        case ERROR_FILENAME_EXCED_RANGE:
            return Fault::NameTooLong;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return Fault::InUse;
        case ERROR_CRC:
        case ERROR_READ_FAULT:
        case ERROR_WRITE_FAULT:
        case ERROR_IO_DEVICE:
        case ERROR_SECTOR_NOT_FOUND:
            return Fault::Io;
        default:
            return Fault::Other;
    }
}

bool failed() {
    lastFaultOfThread = faultOf(::GetLastError());
    return false;
}

// The path as Windows takes it: UTF-16 with backslashes, and an absolute
// path past the old 260-character limit in its long form ("\\?\C:\…").
std::wstring widePath(const std::filesystem::path& path) {
    std::filesystem::path p = path;
    p.make_preferred();
    std::wstring w = p.wstring();
    if (w.size() >= MAX_PATH - 12 && p.is_absolute() && w.rfind(L"\\\\?\\", 0) != 0) {
        w = w.rfind(L"\\\\", 0) == 0 ? L"\\\\?\\UNC\\" + w.substr(2) : L"\\\\?\\" + w;
    }
    return w;
}

bool heldByAnother(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Another program (a virus scanner, a backup or an indexer) often holds a
// file for a moment; such a refusal is tried again for about two seconds.
template <typename Step>
bool retryWhileHeld(Step step, bool alsoAccessDenied = false) {
    constexpr int kTries = 40;
    for (int attempt = 1;; ++attempt) {
        if (step()) {
            return true;
        }
        const DWORD error = ::GetLastError();
        const bool held =
            heldByAnother(error) || (alsoAccessDenied && error == ERROR_ACCESS_DENIED);
        if (!held || attempt == kTries) {
            lastFaultOfThread = held ? Fault::InUse : faultOf(error);
            return false;
        }
        ::Sleep(50);
    }
}

HANDLE openHandle(const std::filesystem::path& file, DWORD access, DWORD disposition,
                  DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    HANDLE h = INVALID_HANDLE_VALUE;
    const std::wstring name = widePath(file);
    retryWhileHeld([&] {
        h = ::CreateFileW(name.c_str(), access,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          disposition, flags, nullptr);
        return h != INVALID_HANDLE_VALUE;
    });
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

DWORD attributesOf(const std::filesystem::path& path) {
    return ::GetFileAttributesW(widePath(path).c_str());
}

}  // namespace

File::~File() {
    if (handle_ != nullptr) {
        ::CloseHandle(handle_);
    }
}

File& File::operator=(File&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
}

File File::openForReading(const std::filesystem::path& file) {
    File f;
    f.handle_ = openHandle(file, GENERIC_READ, OPEN_EXISTING);
    if (f.handle_ == nullptr && lastFaultOfThread == Fault::NoPermission) {
        // A folder opens only with backup semantics; it is then refused as
        // not a plain file rather than as unreadable.
        const DWORD attributes = attributesOf(file);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            f.handle_ = openHandle(file, GENERIC_READ, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
        }
    }
    return f;
}

File File::openForWriting(const std::filesystem::path& file) {
    File f;
    f.handle_ = openHandle(file, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
    return f;
}

File File::createNew(const std::filesystem::path& file, const std::filesystem::path&) {
    File f;
    f.handle_ = openHandle(file, GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
    return f;
}

bool File::valid() const {
    return handle_ != nullptr;
}

bool File::isRegular() const {
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileType(handle_) == FILE_TYPE_DISK &&
           ::GetFileInformationByHandle(handle_, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::uint64_t File::size() const {
    LARGE_INTEGER size{};
    return ::GetFileSizeEx(handle_, &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
}

std::int64_t File::read(char* buffer, std::size_t count) {
    DWORD got = 0;
    const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    if (!::ReadFile(handle_, buffer, ask, &got, nullptr)) {
        failed();
        return -1;
    }
    return got;
}

std::int64_t File::readAt(char* buffer, std::size_t count, std::uint64_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    if (!::ReadFile(handle_, buffer, ask, &got, &at)) {
        if (::GetLastError() == ERROR_HANDLE_EOF) {
            return 0;
        }
        failed();
        return -1;
    }
    return got;
}

bool File::writeAll(std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD done = 0;
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        if (!::WriteFile(handle_, bytes.data(), ask, &done, nullptr)) {
            return failed();
        }
        bytes.remove_prefix(done);
    }
    return true;
}

bool File::seek(std::uint64_t offset) {
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) || failed();
}

bool File::truncate(std::uint64_t size) {
    return (seek(size) && ::SetEndOfFile(handle_)) || failed();
}

bool File::sync() {
    return ::FlushFileBuffers(handle_) || failed();
}

bool File::close() {
    HANDLE h = std::exchange(handle_, nullptr);
    return ::CloseHandle(h) || failed();
}

void File::adviseSequential() {}

bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    const std::wstring source = widePath(from);
    const std::wstring target = widePath(to);
    // A target held open without sharing its deletion answers "access
    // denied" for as long as it is held, so that is retried too.
    return retryWhileHeld(
        [&] {
            return ::MoveFileExW(source.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        },
        true);
}

bool linkFile(const std::filesystem::path& existing, const std::filesystem::path& link) {
    return ::CreateHardLinkW(widePath(link).c_str(), widePath(existing).c_str(), nullptr) ||
           failed();
}

bool removeFile(const std::filesystem::path& file) {
    const std::wstring name = widePath(file);
    return retryWhileHeld([&] {
        if (::DeleteFileW(name.c_str())) {
            return true;
        }
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    });
}

bool syncFolder(const std::filesystem::path&) {
    return true;
}

bool makeFolder(const std::filesystem::path& folder) {
    return ::CreateDirectoryW(widePath(folder).c_str(), nullptr) || failed();
}

bool isFolder(const std::filesystem::path& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool pathExists(const std::filesystem::path& path) {
    return attributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool isPlainFile(const std::filesystem::path& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool isWritable(const std::filesystem::path& path) {
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return failed();
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return File::openForWriting(path).valid();
    }
    // Windows tells a folder's rights only by trying: a probe file is made
    // and removed at once.
    static std::mt19937 random{std::random_device{}()};
    const auto probe = path / (".inkquot-probe-" + std::to_string(random()));
    HANDLE h = ::CreateFileW(widePath(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return failed();
    }
    ::CloseHandle(h);
    return true;
}

bool diskState(const std::filesystem::path& folder, DiskState& state) {
    const std::wstring name = widePath(std::filesystem::absolute(folder));
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExW(name.c_str(), &available, nullptr, nullptr)) {
        return failed();
    }
    state.freeBytes = available.QuadPart;
    wchar_t volume[MAX_PATH + 1] = {};
    DWORD flags = 0;
    state.readOnly =
        ::GetVolumePathNameW(name.c_str(), volume, MAX_PATH) &&
        ::GetVolumeInformationW(volume, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
        (flags & FILE_READ_ONLY_VOLUME) != 0;
    return true;
}

#else
// ---------------------------------------------------------------- POSIX

namespace {

bool failed() {
    lastFaultOfThread = faultOfErrno(errno);
    return false;
}

int openRetrying(const char* name, int flags, mode_t mode = 0) {
    int fd;
    do {
        fd = ::open(name, flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        failed();
    }
    return fd;
}

}  // namespace

File::~File() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

File& File::operator=(File&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
}

File File::openForReading(const std::filesystem::path& file) {
    File f;
    f.fd_ = openRetrying(file.c_str(), O_RDONLY | O_NONBLOCK);
    return f;
}

File File::openForWriting(const std::filesystem::path& file) {
    File f;
    f.fd_ = openRetrying(file.c_str(), O_WRONLY);
    return f;
}

File File::createNew(const std::filesystem::path& file, const std::filesystem::path& likeFile) {
    File f;
    f.fd_ = openRetrying(file.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (f.fd_ >= 0) {
        // Keep the permissions of the file being replaced; a new file gets
        // the usual ones.
        struct stat old {};
        mode_t mode = 0644;
        if (::stat(likeFile.c_str(), &old) == 0) {
            mode = old.st_mode & 07777;
        }
        ::fchmod(f.fd_, mode);
    }
    return f;
}

bool File::valid() const {
    return fd_ >= 0;
}

bool File::isRegular() const {
    struct stat st {};
    return ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
}

std::uint64_t File::size() const {
    struct stat st {};
    return ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0
               ? static_cast<std::uint64_t>(st.st_size)
               : 0;
}

std::int64_t File::read(char* buffer, std::size_t count) {
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, count);
        if (n >= 0) {
            return n;
        }
        if (errno != EINTR) {
            failed();
            return -1;
        }
    }
}

std::int64_t File::readAt(char* buffer, std::size_t count, std::uint64_t offset) {
    for (;;) {
        const ssize_t n = ::pread(fd_, buffer, count, static_cast<off_t>(offset));
        if (n >= 0) {
            return n;
        }
        if (errno != EINTR) {
            failed();
            return -1;
        }
    }
}

bool File::writeAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failed();
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool File::seek(std::uint64_t offset) {
    const auto at = static_cast<off_t>(offset);
    return ::lseek(fd_, at, SEEK_SET) == at || failed();
}

bool File::truncate(std::uint64_t size) {
    return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 || failed();
}

bool File::sync() {
    return ::fsync(fd_) == 0 || failed();
}

bool File::close() {
    return ::close(std::exchange(fd_, -1)) == 0 || failed();
}

void File::adviseSequential() {
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 || failed();
}

bool linkFile(const std::filesystem::path& existing, const std::filesystem::path& link) {
    return ::link(existing.c_str(), link.c_str()) == 0 || failed();
}

bool removeFile(const std::filesystem::path& file) {
    return ::unlink(file.c_str()) == 0 || errno == ENOENT || failed();
}

bool syncFolder(const std::filesystem::path& folder) {
    const int fd = openRetrying(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0 || failed();
    ::close(fd);
    return synced;
}

bool makeFolder(const std::filesystem::path& folder) {
    return ::mkdir(folder.c_str(), 0777) == 0 || failed();
}

bool isFolder(const std::filesystem::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool pathExists(const std::filesystem::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool isPlainFile(const std::filesystem::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isWritable(const std::filesystem::path& path) {
    std::error_code ec;
    const int mode = std::filesystem::is_directory(path, ec) ? W_OK | X_OK : W_OK;
    return ::access(path.c_str(), mode) == 0 || failed();
}

bool diskState(const std::filesystem::path& folder, DiskState& state) {
    struct statvfs disk {};
    if (::statvfs(folder.c_str(), &disk) != 0) {
        return failed();
    }
    state.readOnly = (disk.f_flag & ST_RDONLY) != 0;
    state.freeBytes = static_cast<std::uint64_t>(disk.f_bavail) * disk.f_frsize;
    return true;
}

#endif

}  // namespace inkquot::native
