#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/io_status.h"

namespace inkquot {

// No file the program keeps comes near this size; a larger one is refused
// rather than read into memory.
inline constexpr std::size_t kMaxFileBytes = 64 * 1024 * 1024;

// The path of a file as the user reads it (UTF-8), for messages.
std::string displayName(const std::filesystem::path& file);

// Reads a whole file. Missing, unreadable and longer than maxBytes are told
// apart; on failure `out` is empty.
IoStatus readWholeFile(const std::filesystem::path& file, std::string& out,
                       std::size_t maxBytes = kMaxFileBytes);

// Reads at most the first maxBytes of a file in one go (a file shorter than
// that gives all its bytes). A missing file gives no bytes and success when
// missingIsEmpty is set, IoError::Missing otherwise.
IoStatus readFilePrefix(const std::filesystem::path& file, std::size_t maxBytes, std::string& out,
                        bool missingIsEmpty);

// Replaces a file as a whole: the bytes go to a temporary file in the same
// folder, which is flushed to disk and then renamed over the target. On any
// failure the temporary file is removed, the old file is left byte for byte
// as it was and the status is IoError::WriteFailed with a message naming the
// file.
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

private:
    void discard();

    std::filesystem::path target_;
    std::string temporary_;
    int fd_ = -1;
    std::size_t written_ = 0;
    bool failed_ = false;
};

// Copies a whole file over another the same way (the source is read first;
// a missing source is IoError::Missing).
IoStatus copyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to);

// Removes a file; a file that is already gone counts as removed.
IoStatus removeFile(const std::filesystem::path& file);

// Failure injection for tests of the writers: from now on every atomic write
// fails at the chosen step, until reset with FailPoint::None.
namespace io_test_hooks {

enum class FailPoint {
    None,
    CreateTemporary,  // the temporary file cannot be created
    WriteAfterBytes,  // writing stops with an error after `bytes` bytes
    Sync,             // the flush to disk fails
    Rename,           // the final rename fails
};

void failNextWrites(FailPoint point, std::size_t bytes = 0);

}  // namespace io_test_hooks

}  // namespace inkquot
