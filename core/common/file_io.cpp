#include "core/common/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <system_error>
#include <utility>
#include <vector>

namespace inkquot {

namespace {

struct FailureInjection {
    io_test_hooks::FailPoint point = io_test_hooks::FailPoint::None;
    std::size_t bytes = 0;
    std::size_t skip = 0;  // calls at the point that still succeed
};

FailureInjection& injection() {
    static FailureInjection state;
    return state;
}

bool failsAt(io_test_hooks::FailPoint point) {
    FailureInjection& state = injection();
    if (state.point != point) {
        return false;
    }
    if (state.skip > 0) {
        --state.skip;
        return false;
    }
    // What the system would report: no permission to create, a full disk
    // while writing, an input/output error otherwise.
    errno = point == io_test_hooks::FailPoint::CreateTemporary   ? EACCES
            : point == io_test_hooks::FailPoint::WriteAfterBytes ? ENOSPC
                                                                 : EIO;
    return true;
}

// Closes a descriptor when it leaves scope.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void reset() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }

private:
    int fd_;
};

// Opens without waiting: a FIFO in place of a data file would otherwise
// block the open until some other program writes to it.
int openForReading(const char* file) {
    int fd;
    do {
        fd = ::open(file, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool isRegularFile(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
}

IoStatus notRegular(const std::filesystem::path& file) {
    return IoStatus::failure(
        IoError::NotRegular,
        "“" + displayName(file) + "”不是普通文件（可能是文件夹或设备），无法读取。");
}

// Reads up to `limit` bytes (all when the file is shorter); returns false on
// a read error. `more` tells whether bytes remain after the limit.
bool readUpTo(int fd, std::size_t limit, std::string& out, bool& more) {
    out.clear();
    more = false;
    struct stat st {};
    std::size_t expected = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        expected = static_cast<std::size_t>(st.st_size);
    }
    out.resize(std::min(expected, limit));
    std::size_t got = 0;
    // One read normally fills the buffer; the loop covers short reads and a
    // file that grew since the size was asked.
    for (;;) {
        if (got == out.size()) {
            if (got >= limit) {
                char probe;
                ssize_t n;
                do {
                    n = ::read(fd, &probe, 1);
                } while (n < 0 && errno == EINTR);
                if (n < 0) {
                    return false;
                }
                more = n > 0;
                return true;
            }
            out.resize(std::min(limit, std::max<std::size_t>(out.size() * 2, 4096)));
        }
        ssize_t n = ::read(fd, out.data() + got, out.size() - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            out.clear();
            return false;
        }
        if (n == 0) {
            out.resize(got);
            return true;
        }
        got += static_cast<std::size_t>(n);
    }
}

// Reads the first `limit` bytes of a file into `buffer` (room for limit + 1
// bytes) with the fewest system calls: one positioned read asks for one
// byte more than the limit. A regular file that holds the limit or more
// gives exactly the limit (or the extra byte); what else answers the same
// is a device whose contents end exactly there, which is harmless to read.
// Any other answer (an error, a short read, a byte past the limit) is
// looked at closely: only then is the kind of file asked for, so that a
// FIFO, a folder or a device is still refused, before any of it is used.
// A FIFO cannot be read at a position at all, so nothing is taken from it.
enum class PrefixRead { Done, Failed, NotRegular };

PrefixRead readPrefixInto(int fd, std::size_t limit, char* buffer, std::size_t& got) {
    got = 0;
    ssize_t n;
    do {
        n = ::pread(fd, buffer, limit + 1, 0);
    } while (n < 0 && errno == EINTR);
    if (n == static_cast<ssize_t>(limit)) {
        got = limit;
        return PrefixRead::Done;
    }
    if (!isRegularFile(fd)) {
        return PrefixRead::NotRegular;
    }
    if (n < 0) {
        return PrefixRead::Failed;
    }
    got = std::min(static_cast<std::size_t>(n), limit);
    // A short read of a regular file: read on until its end or the limit.
    while (got < limit && n > 0) {
        n = ::pread(fd, buffer + got, limit - got, static_cast<off_t>(got));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            got = 0;
            return PrefixRead::Failed;
        }
        got += static_cast<std::size_t>(n);
    }
    return PrefixRead::Done;
}

bool writeAll(int fd, std::string_view bytes) {
    std::size_t limit = bytes.size();
    bool injected = failsAt(io_test_hooks::FailPoint::WriteAfterBytes);
    if (injected) {
        limit = std::min(limit, injection().bytes);
    }
    std::size_t done = 0;
    while (done < limit) {
        ssize_t n = ::write(fd, bytes.data() + done, limit - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    // An injected failure stops the write after its byte count, as a full
    // disk would.
    return !injected;
}

// Why a write failed, in the clerk's words, from the error number the
// system gave; empty when it tells nothing the clerk can act on.
std::string reasonOf(int err) {
    switch (err) {
        case ENOSPC:
            return "磁盘空间不足";
        case EDQUOT:
            return "超出磁盘配额";
        case EACCES:
        case EPERM:
            return "没有写入权限";
        case EROFS:
            return "磁盘或文件夹是只读的";
        case ENOENT:
        case ENOTDIR:
            return "文件夹不存在";
        case ENAMETOOLONG:
            return "文件名过长";
        case EIO:
            return "磁盘读写错误";
        default:
            return {};
    }
}

IoStatus writeFailed(const std::filesystem::path& file, int err = 0) {
    const std::string reason = reasonOf(err);
    return IoStatus::failure(IoError::WriteFailed,
                             "无法写入文件“" + displayName(file) + "”" +
                                 (reason.empty() ? "" : "（" + reason + "）") + "，原文件未改动。");
}

}  // namespace

std::string displayName(const std::filesystem::path& file) {
    auto u8 = file.u8string();
    return std::string(u8.begin(), u8.end());
}

IoStatus readFilePrefix(const char* file, std::size_t maxBytes, char* buffer, std::size_t& got,
                        bool missingIsEmpty) {
    got = 0;
    const int fd = openForReading(file);
    Fd closing(fd);
    const auto named = [file] { return displayName(std::filesystem::path(file)); };
    if (!closing.valid()) {
        if (errno == ENOENT || errno == ENOTDIR) {
            if (missingIsEmpty) {
                return IoStatus::success();
            }
            return IoStatus::failure(IoError::Missing, "找不到文件“" + named() + "”。");
        }
        return IoStatus::failure(IoError::ReadFailed, "无法读取文件“" + named() + "”。");
    }
    switch (readPrefixInto(fd, maxBytes, buffer, got)) {
        case PrefixRead::Done:
            return IoStatus::success();
        case PrefixRead::NotRegular:
            return notRegular(std::filesystem::path(file));
        case PrefixRead::Failed:
            break;
    }
    return IoStatus::failure(IoError::ReadFailed, "无法读取文件“" + named() + "”。");
}

IoStatus readFilePrefix(const std::filesystem::path& file, std::size_t maxBytes, std::string& out,
                        bool missingIsEmpty) {
    out.resize(maxBytes + 1);
    std::size_t got = 0;
    IoStatus status = readFilePrefix(file.c_str(), maxBytes, out.data(), got, missingIsEmpty);
    out.resize(got);
    return status;
}

IoStatus appendToFile(const std::filesystem::path& file, std::uint64_t expectedSize,
                      std::string_view bytes) {
    Fd fd(::open(file.c_str(), O_WRONLY | O_CLOEXEC));
    if (!fd.valid()) {
        if (errno == ENOENT) {
            return IoStatus::failure(IoError::Missing, "找不到文件“" + displayName(file) + "”。");
        }
        return writeFailed(file);
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) != expectedSize) {
        return writeFailed(file);
    }
    const auto end = static_cast<off_t>(expectedSize);
    if (::lseek(fd.get(), end, SEEK_SET) != end || !writeAll(fd.get(), bytes) ||
        failsAt(io_test_hooks::FailPoint::Sync) || ::fsync(fd.get()) != 0) {
        // What did reach the file goes again; the old contents never moved.
        if (::ftruncate(fd.get(), end) == 0) {
            ::fsync(fd.get());
        }
        return writeFailed(file);
    }
    if (::close(fd.release()) != 0) {
        return writeFailed(file);
    }
    return IoStatus::success();
}

IoStatus cutFileBack(const std::filesystem::path& file, std::uint64_t size) {
    Fd fd(::open(file.c_str(), O_WRONLY | O_CLOEXEC));
    if (!fd.valid() || ::ftruncate(fd.get(), static_cast<off_t>(size)) != 0 ||
        ::fsync(fd.get()) != 0 || ::close(fd.release()) != 0) {
        return writeFailed(file);
    }
    return IoStatus::success();
}

IoStatus readWholeFile(const std::filesystem::path& file, std::string& out, std::size_t maxBytes) {
    out.clear();
    Fd fd(openForReading(file.c_str()));
    if (!fd.valid()) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return IoStatus::failure(IoError::Missing, "找不到文件“" + displayName(file) + "”。");
        }
        return IoStatus::failure(IoError::ReadFailed, "无法读取文件“" + displayName(file) + "”。");
    }
    if (!isRegularFile(fd.get())) {
        return notRegular(file);
    }
    bool more = false;
    if (!readUpTo(fd.get(), maxBytes, out, more)) {
        return IoStatus::failure(IoError::ReadFailed, "无法读取文件“" + displayName(file) + "”。");
    }
    if (more) {
        out.clear();
        return IoStatus::failure(IoError::TooLarge, "文件“" + displayName(file) + "”过大。");
    }
    return IoStatus::success();
}

std::string temporaryNameFor(const std::filesystem::path& file) {
    // Appended piece by piece: GCC 12 at -O3 reports a false overlap on the
    // one-expression form.
    std::string name = ".";
    name += file.filename().string();
    name += ".XXXXXX";
    return name;
}

bool isTemporaryNameOf(std::string_view name, std::string_view target) {
    constexpr std::size_t kRandom = 6;
    if (name.size() != target.size() + kRandom + 2 || name.front() != '.' ||
        name.substr(1, target.size()) != target || name[target.size() + 1] != '.') {
        return false;
    }
    return std::all_of(name.end() - kRandom, name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

IoStatus stageFile(const std::filesystem::path& file, std::string_view bytes,
                   std::filesystem::path& staged) {
    staged.clear();
    const std::filesystem::path folder = file.parent_path();
    std::string pattern = (folder / temporaryNameFor(file)).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');

    int raw = failsAt(io_test_hooks::FailPoint::CreateTemporary)
                  ? -1
                  : ::mkostemp(name.data(), O_CLOEXEC);
    if (raw < 0) {
        return writeFailed(file, errno);
    }
    Fd fd(raw);
    const std::string temporary(name.data());
    auto discard = [&] {
        const int err = errno;
        fd.reset();
        ::unlink(temporary.c_str());
        return writeFailed(file, err);
    };

    // Keep the permissions of the file being replaced; a new file gets the
    // usual ones.
    struct stat old {};
    mode_t mode = 0644;
    if (::stat(file.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    }
    ::fchmod(fd.get(), mode);

    if (!writeAll(fd.get(), bytes)) {
        return discard();
    }
    if (failsAt(io_test_hooks::FailPoint::Sync) || ::fsync(fd.get()) != 0) {
        return discard();
    }
    if (::close(fd.release()) != 0) {
        ::unlink(temporary.c_str());
        return writeFailed(file);
    }
    staged = temporary;
    return IoStatus::success();
}

bool renameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    return !failsAt(io_test_hooks::FailPoint::Rename) && ::rename(from.c_str(), to.c_str()) == 0;
}

bool unlinkFile(const std::filesystem::path& file) {
    if (failsAt(io_test_hooks::FailPoint::Remove)) {
        return false;
    }
    return ::unlink(file.c_str()) == 0 || errno == ENOENT;
}

bool syncFolder(const std::filesystem::path& folder) {
    if (failsAt(io_test_hooks::FailPoint::FolderSync)) {
        return false;
    }
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

IoStatus notDurable(const std::filesystem::path& file) {
    return IoStatus::failure(
        IoError::NotDurable,
        "文件“" + displayName(file) + "”已改动，但未能同步到磁盘：断电后这次改动可能丢失。");
}

IoStatus writeFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::path staged;
    IoStatus status = stageFile(file, bytes, staged);
    if (!status) {
        return status;
    }
    if (!renameFile(staged, file)) {
        const int err = errno;
        ::unlink(staged.c_str());
        return writeFailed(file, err);
    }
    // Until the folder is on disk the rename itself may be lost.
    if (!syncFolder(file.parent_path())) {
        return notDurable(file);
    }
    return IoStatus::success();
}

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target_(std::move(target)) {
    std::string pattern = (target_.parent_path() / temporaryNameFor(target_)).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = failsAt(io_test_hooks::FailPoint::CreateTemporary) ? -1
                                                             : ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) {
        error_ = errno;
        failed_ = true;
        return;
    }
    temporary_ = name.data();
    struct stat old {};
    mode_t mode = 0644;
    if (::stat(target_.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    }
    ::fchmod(fd_, mode);
}

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

void AtomicFileWriter::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

bool AtomicFileWriter::write(std::string_view bytes) {
    if (failed_) {
        return false;
    }
    // An injected failure counts the bytes of the whole file, not of one piece.
    std::string_view allowed = bytes;
    const bool injected = failsAt(io_test_hooks::FailPoint::WriteAfterBytes) &&
                          written_ + bytes.size() > injection().bytes;
    if (injected) {
        allowed = bytes.substr(0, injection().bytes - std::min(written_, injection().bytes));
    }
    std::size_t done = 0;
    while (done < allowed.size()) {
        ssize_t n = ::write(fd_, allowed.data() + done, allowed.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    written_ += done;
    if (injected || done < allowed.size()) {
        error_ = injected ? ENOSPC : errno;
        failed_ = true;
        discard();
    }
    return !failed_;
}

IoStatus AtomicFileWriter::stage(std::filesystem::path& staged) {
    staged.clear();
    if (failed_ || failsAt(io_test_hooks::FailPoint::Sync) || ::fsync(fd_) != 0) {
        const int err = failed_ ? error_ : errno;
        discard();
        return writeFailed(target_, err);
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int err = errno;
        failed_ = true;
        discard();
        return writeFailed(target_, err);
    }
    staged = temporary_;
    temporary_.clear();
    return IoStatus::success();
}

IoStatus AtomicFileWriter::commit() {
    std::filesystem::path staged;
    if (IoStatus status = stage(staged); !status) {
        return status;
    }
    if (failsAt(io_test_hooks::FailPoint::Rename) ||
        ::rename(staged.c_str(), target_.c_str()) != 0) {
        const int err = errno;
        failed_ = true;
        ::unlink(staged.c_str());
        return writeFailed(target_, err);
    }
    if (!syncFolder(target_.parent_path())) {
        return notDurable(target_);
    }
    return IoStatus::success();
}

IoStatus copyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::string bytes;
    IoStatus status = readWholeFile(from, bytes);
    if (!status) {
        return status;
    }
    return writeFileAtomically(to, bytes);
}

IoStatus removeFile(const std::filesystem::path& file) {
    if (!unlinkFile(file)) {
        return IoStatus::failure(IoError::WriteFailed, "无法删除文件“" + displayName(file) + "”。");
    }
    if (!syncFolder(file.parent_path())) {
        return notDurable(file);
    }
    return IoStatus::success();
}

namespace io_test_hooks {

void failNextWrites(FailPoint point, std::size_t bytes, std::size_t skip) {
    injection().point = point;
    injection().bytes = bytes;
    injection().skip = skip;
}

}  // namespace io_test_hooks

}  // namespace inkquot
