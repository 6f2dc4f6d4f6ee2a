#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/io_status.h"
#include "core/common/native_file.h"

namespace inkquot {

// No file the program keeps comes near this size; a larger one is refused
// rather than read into memory.
inline constexpr std::size_t kMaxFileBytes = 64 * 1024 * 1024;

// The path of a file as the user reads it (UTF-8), for messages.
std::string displayName(const std::filesystem::path& file);
// A path from its UTF-8 text (the program's texts are UTF-8 whatever the
// system's own encoding of file names).
std::filesystem::path pathFromUtf8(std::string_view utf8);

// Reads a whole file. Missing, unreadable and longer than maxBytes are told
// apart; on failure `out` is empty.
IoStatus readWholeFile(const std::filesystem::path& file, std::string& out,
                       std::size_t maxBytes = kMaxFileBytes);

// Reads at most the first maxBytes of a file in one go (a file shorter than
// that gives all its bytes); for the short prefixes of the data tables, as
// room for all of them is taken at once. A missing file gives no bytes and success when
// missingIsEmpty is set, IoError::Missing otherwise.
IoStatus readFilePrefix(const std::filesystem::path& file, std::size_t maxBytes, std::string& out,
                        bool missingIsEmpty);
// The same into the caller's `buffer`, which has room for maxBytes + 1 bytes
// (the extra byte tells a file that holds more from one that ends at the
// limit); `got` bytes were read.
IoStatus readFilePrefix(const char* file, std::size_t maxBytes, char* buffer, std::size_t& got,
                        bool missingIsEmpty);

// Every reader refuses at once, with IoError::NotRegular and a message naming
// it, a folder, FIFO or device that stands where a data file belongs.
IoStatus notRegularFile(const std::filesystem::path& file);

// Replaces a file as a whole: the bytes go to a temporary file in the same
// folder, which is flushed to disk and then renamed over the target, and the
// folder is flushed after the rename. On a failure before the rename the
// temporary file is removed, the old file is left byte for byte as it was
// and the status is IoError::WriteFailed with a message naming the file. When
// only the folder flush fails the new file is in place but may not survive a
// power cut: IoError::NotDurable, and the message says so.
IoStatus writeFileAtomically(const std::filesystem::path& file, std::string_view bytes);

// Writes a file that is too large to hold in memory piece by piece, with the
// same guarantee as writeFileAtomically: the pieces go to a temporary file in
// the target's folder, and only commit() renames it over the target. A writer
// destroyed without a successful commit removes its temporary file and leaves
// the target as it was.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(std::filesystem::path target);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // False once any step has failed; later writes are ignored.
    bool write(std::string_view bytes);
    IoStatus commit();
    // Ends the writing as commit() does but leaves the rename to the caller
    // (a switch of several files): the flushed file keeps its temporary name,
    // given in `staged`, and the writer no longer removes it.
    IoStatus stage(std::filesystem::path& staged);
    // Why the step that failed failed, as the system said.
    native::Fault fault() const { return fault_; }

private:
    void fail();
    void discard();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    native::File file_;
    std::size_t written_ = 0;
    bool failed_ = false;
    native::Fault fault_ = native::Fault::None;  // why the failed step failed
};
// Adds `bytes` at the end of an existing regular file whose size is
// `expectedSize` and flushes them to disk. On any failure the file is cut
// back to that size, so it holds what it held before. Missing when the file
// does not exist; WriteFailed, changing nothing, when its size is not the
// expected one.
IoStatus appendToFile(const std::filesystem::path& file, std::uint64_t expectedSize,
                      std::string_view bytes);
// Cuts a file back to `size` bytes and flushes it: the undo of an append
// whose companion write failed.
IoStatus cutFileBack(const std::filesystem::path& file, std::uint64_t size);

// The temporary files of the writers are named "." + target name + "." and
// six random letters or digits, beside their target ("fjiben.dat" is written
// as ".fjiben.dat.a1B2c3" first). temporaryPathFor draws a new such name;
// every writer and every second name of a file takes its names from it.
std::filesystem::path temporaryPathFor(const std::filesystem::path& file);
bool isTemporaryNameOf(std::string_view name, std::string_view target);

// The clerk's words for why a write failed ("磁盘空间不足"), empty when the
// system's answer tells nothing the clerk can act on.
std::string faultReason(native::Fault fault);
// The reason of this thread's last failed file call in brackets, ready to
// follow a file name in a message ("（磁盘空间不足）"); empty when unknown.
std::string reasonOfLastFault();

// The first half of an atomic replacement: writes the bytes to a new
// temporary file beside `file` and flushes it to disk, leaving the rename to
// the caller. On failure nothing is left behind.
IoStatus stageFile(const std::filesystem::path& file, std::string_view bytes,
                   std::filesystem::path& staged);

// Single steps for callers that switch several files together. Each honours
// the failure injection below; unlinkFile counts a missing file as removed.
bool renameFile(const std::filesystem::path& from, const std::filesystem::path& to);
bool unlinkFile(const std::filesystem::path& file);
bool syncFolder(const std::filesystem::path& folder);

// Copies a whole file over another the same way (the source is read first;
// a missing source is IoError::Missing).
IoStatus copyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to);

// Makes a folder and the folders above it that are missing. A failure names
// the folder that could not be made (the first missing one on the way down)
// and why.
IoStatus createFolders(const std::filesystem::path& folder);

// Removes a file and flushes its folder; a file that is already gone counts
// as removed. A failed flush is IoError::NotDurable.
IoStatus removeFile(const std::filesystem::path& file);

// Failure injection for tests of the writers: from now on every call of the
// chosen step fails (after the first `skip` of them have succeeded), until
// reset with FailPoint::None.
namespace io_test_hooks {

enum class FailPoint {
    None,
    CreateTemporary,  // the temporary file cannot be created
    WriteAfterBytes,  // writing stops with an error after `bytes` bytes
    Sync,             // the flush to disk fails
    Rename,           // the final rename fails
    Remove,           // a file cannot be removed
    FolderSync,       // the flush of a folder after a rename or removal fails
};

void failNextWrites(FailPoint point, std::size_t bytes = 0, std::size_t skip = 0);

}  // namespace io_test_hooks

}  // namespace inkquot
