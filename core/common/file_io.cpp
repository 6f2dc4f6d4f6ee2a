#include "core/common/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>
#include <vector>

namespace inkquot {

namespace {

struct FailureInjection {
    io_test_hooks::FailPoint point = io_test_hooks::FailPoint::None;
    std::size_t bytes = 0;
};

FailureInjection& injection() {
    static FailureInjection state;
    return state;
}

bool failsAt(io_test_hooks::FailPoint point) {
    return injection().point == point;
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

int openForReading(const std::filesystem::path& file) {
    int fd;
    do {
        fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
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

// Reads the first `limit` bytes with no size query and no probe beyond
// them: the price tables are read this way for every costed part.
bool readPrefix(int fd, std::size_t limit, std::string& out) {
    constexpr std::size_t kDirectLimit = 1024 * 1024;
    if (limit > kDirectLimit) {
        bool more = false;
        return readUpTo(fd, limit, out, more);
    }
    out.resize(limit);
    std::size_t got = 0;
    while (got < limit) {
        ssize_t n = ::read(fd, out.data() + got, limit - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            out.clear();
            return false;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    out.resize(got);
    return true;
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

void syncFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

IoStatus writeFailed(const std::filesystem::path& file) {
    return IoStatus::failure(IoError::WriteFailed,
                             "无法写入文件“" + displayName(file) + "”，原文件未改动。");
}

}  // namespace

std::string displayName(const std::filesystem::path& file) {
    auto u8 = file.u8string();
    return std::string(u8.begin(), u8.end());
}

IoStatus readFilePrefix(const std::filesystem::path& file, std::size_t maxBytes, std::string& out,
                        bool missingIsEmpty) {
    out.clear();
    Fd fd(openForReading(file));
    if (!fd.valid()) {
        if (errno == ENOENT || errno == ENOTDIR) {
            if (missingIsEmpty) {
                return IoStatus::success();
            }
            return IoStatus::failure(IoError::Missing, "找不到文件“" + displayName(file) + "”。");
        }
        return IoStatus::failure(IoError::ReadFailed, "无法读取文件“" + displayName(file) + "”。");
    }
    if (!readPrefix(fd.get(), maxBytes, out)) {
        return IoStatus::failure(IoError::ReadFailed, "无法读取文件“" + displayName(file) + "”。");
    }
    return IoStatus::success();
}

IoStatus readWholeFile(const std::filesystem::path& file, std::string& out, std::size_t maxBytes) {
    out.clear();
    Fd fd(openForReading(file));
    if (!fd.valid()) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return IoStatus::failure(IoError::Missing, "找不到文件“" + displayName(file) + "”。");
        }
        return IoStatus::failure(IoError::ReadFailed, "无法读取文件“" + displayName(file) + "”。");
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

IoStatus writeFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    const std::filesystem::path folder = file.parent_path();
    // A hidden temporary name beside the target: ".name.XXXXXX".
    std::string tempName = ".";
    tempName += file.filename().string();
    tempName += ".XXXXXX";
    std::string pattern = (folder / tempName).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');

    int raw = failsAt(io_test_hooks::FailPoint::CreateTemporary)
                  ? -1
                  : ::mkostemp(name.data(), O_CLOEXEC);
    if (raw < 0) {
        return writeFailed(file);
    }
    Fd fd(raw);
    const std::string temporary(name.data());
    auto discard = [&] {
        fd.reset();
        ::unlink(temporary.c_str());
        return writeFailed(file);
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
    if (failsAt(io_test_hooks::FailPoint::Rename) ||
        ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return writeFailed(file);
    }
    syncFolder(folder);
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
    if (::unlink(file.c_str()) == 0 || errno == ENOENT) {
        return IoStatus::success();
    }
    return IoStatus::failure(IoError::WriteFailed, "无法删除文件“" + displayName(file) + "”。");
}

namespace io_test_hooks {

void failNextWrites(FailPoint point, std::size_t bytes) {
    injection().point = point;
    injection().bytes = bytes;
}

}  // namespace io_test_hooks

}  // namespace inkquot
