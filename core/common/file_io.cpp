#include "core/common/file_io.h"

#include <algorithm>
#include <cctype>
#include <random>
#include <utility>

namespace inkquot {

namespace {

using native::Fault;

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
    native::setLastFault(point == io_test_hooks::FailPoint::CreateTemporary   ? Fault::NoPermission
                         : point == io_test_hooks::FailPoint::WriteAfterBytes ? Fault::NoSpace
                                                                              : Fault::Io);
    return true;
}

// A file that could not be opened for reading: missing, or unreadable (on
// Windows often because another program holds it, which is said).
IoStatus openFailed(const std::filesystem::path& file) {
    if (native::lastFault() == Fault::Missing) {
        return IoStatus::failure(IoError::Missing, "找不到文件“" + displayName(file) + "”。");
    }
    const std::string held =
        native::lastFault() == Fault::InUse ? "（" + faultReason(Fault::InUse) + "）" : "";
    return IoStatus::failure(IoError::ReadFailed,
                             "无法读取文件“" + displayName(file) + "”" + held + "。");
}

// Reads up to `limit` bytes (all when the file is shorter); returns false on
// a read error. `more` tells whether bytes remain after the limit.
bool readUpTo(native::File& file, std::size_t limit, std::string& out, bool& more) {
    out.clear();
    more = false;
    out.resize(std::min<std::uint64_t>(file.size(), limit));
    std::size_t got = 0;
    // One read normally fills the buffer; the loop covers short reads and a
    // file that grew since the size was asked.
    for (;;) {
        if (got == out.size()) {
            if (got >= limit) {
                char probe;
                const std::int64_t n = file.read(&probe, 1);
                more = n > 0;
                return n >= 0;
            }
            out.resize(std::min(limit, std::max<std::size_t>(out.size() * 2, 4096)));
        }
        const std::int64_t n = file.read(out.data() + got, out.size() - got);
        if (n < 0) {
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

PrefixRead readPrefixInto(native::File& file, std::size_t limit, char* buffer, std::size_t& got) {
    got = 0;
    std::int64_t n = file.readAt(buffer, limit + 1, 0);
    if (n == static_cast<std::int64_t>(limit)) {
        got = limit;
        return PrefixRead::Done;
    }
    if (!file.isRegular()) {
        return PrefixRead::NotRegular;
    }
    if (n < 0) {
        return PrefixRead::Failed;
    }
    got = std::min(static_cast<std::size_t>(n), limit);
    // A short read of a regular file: read on until its end or the limit.
    while (got < limit && n > 0) {
        n = file.readAt(buffer + got, limit - got, got);
        if (n < 0) {
            got = 0;
            return PrefixRead::Failed;
        }
        got += static_cast<std::size_t>(n);
    }
    return PrefixRead::Done;
}

IoStatus writeFailed(const std::filesystem::path& file, Fault fault = Fault::None) {
    const std::string reason = faultReason(fault);
    return IoStatus::failure(IoError::WriteFailed,
                             "无法写入文件“" + displayName(file) + "”" +
                                 (reason.empty() ? "" : "（" + reason + "）") + "，原文件未改动。",
                             reason);
}

IoStatus notDurable(const std::filesystem::path& file) {
    const std::string reason = faultReason(native::lastFault());
    return IoStatus::failure(IoError::NotDurable,
                             "文件“" + displayName(file) + "”已改动，但未能同步到磁盘" +
                                 (reason.empty() ? "" : "（" + reason + "）") +
                                 "：断电后这次改动可能丢失。",
                             reason);
}

// Writes the bytes at the file's position, honouring an injected failure
// that stops the file after a number of bytes (counted from `written`, what
// the file already holds), as a full disk would.
bool writeCounted(native::File& file, std::string_view bytes, std::size_t written) {
    const bool injected = failsAt(io_test_hooks::FailPoint::WriteAfterBytes) &&
                          written + bytes.size() > injection().bytes;
    if (!injected) {
        return file.writeAll(bytes);
    }
    const std::size_t allowed = injection().bytes - std::min(written, injection().bytes);
    file.writeAll(bytes.substr(0, allowed));
    native::setLastFault(Fault::NoSpace);
    return false;
}

}  // namespace

std::string faultReason(Fault fault) {
    switch (fault) {
        case Fault::NoSpace:
            return "磁盘空间不足";
        case Fault::Quota:
            return "超出磁盘配额";
        case Fault::NoPermission:
            return "没有写入权限";
        case Fault::ReadOnly:
            return "磁盘或文件夹是只读的";
        case Fault::Missing:
            return "文件夹不存在";
        case Fault::NameTooLong:
            return "文件名过长";
        case Fault::Io:
            return "磁盘读写错误";
        case Fault::InUse:
            return "文件被其他程序占用";
        default:
            return {};
    }
}

std::string reasonOfLastFault() {
    const std::string reason = faultReason(native::lastFault());
    return reason.empty() ? reason : "（" + reason + "）";
}

std::string displayName(const std::filesystem::path& file) {
    auto u8 = file.u8string();
    return std::string(u8.begin(), u8.end());
}

std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(
        std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

IoStatus notRegularFile(const std::filesystem::path& file) {
    return IoStatus::failure(
        IoError::NotRegular,
        "“" + displayName(file) + "”不是普通文件（可能是文件夹或设备），无法读取。");
}

IoStatus readFilePrefix(const char* file, std::size_t maxBytes, char* buffer, std::size_t& got,
                        bool missingIsEmpty) {
    got = 0;
    const std::filesystem::path path = pathFromUtf8(file);
    native::File f = native::File::openForReading(path);
    if (!f.valid()) {
        if (missingIsEmpty && native::lastFault() == Fault::Missing) {
            return IoStatus::success();
        }
        return openFailed(path);
    }
    switch (readPrefixInto(f, maxBytes, buffer, got)) {
        case PrefixRead::Done:
            return IoStatus::success();
        case PrefixRead::NotRegular:
            return notRegularFile(path);
        case PrefixRead::Failed:
            break;
    }
    return IoStatus::failure(IoError::ReadFailed, "无法读取文件“" + displayName(path) + "”。");
}

IoStatus readFilePrefix(const std::filesystem::path& file, std::size_t maxBytes, std::string& out,
                        bool missingIsEmpty) {
    out.resize(maxBytes + 1);
    std::size_t got = 0;
    IoStatus status =
        readFilePrefix(displayName(file).c_str(), maxBytes, out.data(), got, missingIsEmpty);
    out.resize(got);
    return status;
}

IoStatus readWholeFile(const std::filesystem::path& file, std::string& out, std::size_t maxBytes) {
    out.clear();
    native::File f = native::File::openForReading(file);
    if (!f.valid()) {
        return openFailed(file);
    }
    if (!f.isRegular()) {
        return notRegularFile(file);
    }
    bool more = false;
    if (!readUpTo(f, maxBytes, out, more)) {
        return IoStatus::failure(IoError::ReadFailed, "无法读取文件“" + displayName(file) + "”。");
    }
    if (more) {
        out.clear();
        return IoStatus::failure(IoError::TooLarge, "文件“" + displayName(file) + "”过大。");
    }
    return IoStatus::success();
}

IoStatus appendToFile(const std::filesystem::path& file, std::uint64_t expectedSize,
                      std::string_view bytes) {
    native::File f = native::File::openForWriting(file);
    if (!f.valid()) {
        if (native::lastFault() == Fault::Missing) {
            return IoStatus::failure(IoError::Missing, "找不到文件“" + displayName(file) + "”。");
        }
        return writeFailed(file);
    }
    if (!f.isRegular() || f.size() != expectedSize) {
        return writeFailed(file);
    }
    if (!f.seek(expectedSize) || !writeCounted(f, bytes, 0) ||
        failsAt(io_test_hooks::FailPoint::Sync) || !f.sync()) {
        // What did reach the file goes again; the old contents never moved.
        if (f.truncate(expectedSize)) {
            f.sync();
        }
        return writeFailed(file);
    }
    if (!f.close()) {
        return writeFailed(file);
    }
    return IoStatus::success();
}

IoStatus cutFileBack(const std::filesystem::path& file, std::uint64_t size) {
    native::File f = native::File::openForWriting(file);
    if (!f.valid() || !f.truncate(size) || !f.sync() || !f.close()) {
        return writeFailed(file);
    }
    return IoStatus::success();
}

std::filesystem::path temporaryPathFor(const std::filesystem::path& file) {
    static std::mt19937 random{std::random_device{}()};
    static constexpr char kLetters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    // Appended piece by piece: GCC 12 at -O3 reports a false overlap on the
    // one-expression form.
    std::u8string name = u8".";
    name += file.filename().u8string();
    name += u8'.';
    for (int i = 0; i < 6; ++i) {
        name += static_cast<char8_t>(kLetters[pick(random)]);
    }
    return file.parent_path() / name;
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

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target_(std::move(target)) {
    if (failsAt(io_test_hooks::FailPoint::CreateTemporary)) {
        fail();
        return;
    }
    // A fresh name is drawn until one is free (another writer may be at work
    // in the same folder).
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary_ = temporaryPathFor(target_);
        file_ = native::File::createNew(temporary_, target_);
        if (file_.valid() || native::lastFault() != Fault::Exists) {
            break;
        }
    }
    if (!file_.valid()) {
        temporary_.clear();
        fail();
    }
}

AtomicFileWriter::~AtomicFileWriter() {
    discard();
}

void AtomicFileWriter::fail() {
    fault_ = native::lastFault();
    failed_ = true;
    discard();
}

void AtomicFileWriter::discard() {
    file_ = native::File();
    if (!temporary_.empty()) {
        native::removeFile(temporary_);
        temporary_.clear();
    }
}

bool AtomicFileWriter::write(std::string_view bytes) {
    if (failed_) {
        return false;
    }
    if (!writeCounted(file_, bytes, written_)) {
        fail();
        return false;
    }
    written_ += bytes.size();
    return true;
}

IoStatus AtomicFileWriter::stage(std::filesystem::path& staged) {
    staged.clear();
    if (!failed_ && (failsAt(io_test_hooks::FailPoint::Sync) || !file_.sync() || !file_.close())) {
        fail();
    }
    if (failed_) {
        return writeFailed(target_, fault_);
    }
    staged = std::exchange(temporary_, {});
    return IoStatus::success();
}

IoStatus AtomicFileWriter::commit() {
    std::filesystem::path staged;
    if (IoStatus status = stage(staged); !status) {
        return status;
    }
    if (failsAt(io_test_hooks::FailPoint::Rename) || !native::replaceFile(staged, target_)) {
        fault_ = native::lastFault();
        failed_ = true;
        native::removeFile(staged);
        return writeFailed(target_, fault_);
    }
    // Until the folder is on disk the rename itself may be lost.
    if (!syncFolder(target_.parent_path())) {
        return notDurable(target_);
    }
    return IoStatus::success();
}

IoStatus stageFile(const std::filesystem::path& file, std::string_view bytes,
                   std::filesystem::path& staged) {
    AtomicFileWriter writer(file);
    writer.write(bytes);
    return writer.stage(staged);
}

IoStatus writeFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    AtomicFileWriter writer(file);
    writer.write(bytes);
    return writer.commit();
}

bool renameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    return !failsAt(io_test_hooks::FailPoint::Rename) && native::replaceFile(from, to);
}

bool unlinkFile(const std::filesystem::path& file) {
    return !failsAt(io_test_hooks::FailPoint::Remove) && native::removeFile(file);
}

bool syncFolder(const std::filesystem::path& folder) {
    return !failsAt(io_test_hooks::FailPoint::FolderSync) && native::syncFolder(folder);
}

IoStatus copyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::string bytes;
    IoStatus status = readWholeFile(from, bytes);
    if (!status) {
        return status;
    }
    return writeFileAtomically(to, bytes);
}

IoStatus createFolders(const std::filesystem::path& folder) {
    std::filesystem::path path;
    for (const auto& part : folder) {
        path /= part;
        if (native::isFolder(path)) {
            continue;
        }
        if (native::pathExists(path)) {
            return IoStatus::failure(IoError::WriteFailed, "无法建立文件夹“" + displayName(path) +
                                                               "”：那里已有一个同名的文件。");
        }
        if (!native::makeFolder(path) && native::lastFault() != Fault::Exists) {
            const std::string reason = faultReason(native::lastFault());
            return IoStatus::failure(IoError::WriteFailed,
                                     "无法建立文件夹“" + displayName(path) + "”" +
                                         (reason.empty() ? "" : "（" + reason + "）") + "。",
                                     reason);
        }
    }
    return IoStatus::success();
}

IoStatus removeFile(const std::filesystem::path& file) {
    if (!unlinkFile(file)) {
        return IoStatus::failure(
            IoError::WriteFailed,
            "无法删除文件“" + displayName(file) + "”" + reasonOfLastFault() + "。",
            faultReason(native::lastFault()));
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
