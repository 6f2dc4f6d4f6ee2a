#pragma once

// The few file operations whose system calls differ between Linux and
// Windows, behind one interface. Paths are std::filesystem paths (UTF-8 in
// the program, UTF-16 at every Windows call); files are always binary, so a
// stored file has the same bytes on both systems.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace inkquot::native {

// Why the last call failed, as far as a clerk can act on it.
enum class Fault {
    None,
    Missing,       // no such file or folder
    Exists,        // a file of that name is already there
    NoSpace,       // the disk is full
    Quota,         // the user's disk quota is used up
    NoPermission,  // access denied
    ReadOnly,      // a read-only disk or folder
    NameTooLong,
    InUse,  // another program holds the file (Windows sharing violation)
    Io,     // the disk reported a read or write error
    Other,
};

// The fault that a C library error number (errno) stands for.
Fault faultOfErrno(int error);
// The fault of this thread's last failed call of this interface.
Fault lastFault();
// Sets it, for the failure injection of the writers' tests.
void setLastFault(Fault fault);

// An open file, closed when it leaves scope.
class File {
public:
    File() = default;
    ~File();
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Opens for reading without waiting: a FIFO in place of a data file
    // would otherwise block until some other program writes to it.
    static File openForReading(const std::filesystem::path& file);
    // Opens an existing file for writing, keeping its contents.
    static File openForWriting(const std::filesystem::path& file);
    // Creates a file that must not exist yet (Fault::Exists when it does),
    // with the permissions of `likeFile` when that exists.
    static File createNew(const std::filesystem::path& file, const std::filesystem::path& likeFile);

    bool valid() const;
    // A plain file, not a folder, FIFO or device.
    bool isRegular() const;
    // The size in bytes; 0 when it cannot be told.
    std::uint64_t size() const;
    // The number of bytes read (0 at the end), or -1 on an error.
    std::int64_t read(char* buffer, std::size_t count);
    std::int64_t readAt(char* buffer, std::size_t count, std::uint64_t offset);
    // Writes every byte; false on an error.
    bool writeAll(std::string_view bytes);
    bool seek(std::uint64_t offset);
    bool truncate(std::uint64_t size);
    // Flushes the contents to the disk.
    bool sync();
    // Closes, reporting a failure of the last write-back.
    bool close();
    // Tells the system the file is read once from start to end.
    void adviseSequential();

private:
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

// Renames `from` over `to`, replacing it in one step. On Windows a rename
// refused because another program holds either file briefly (as virus
// scanners do) is retried for a short while.
bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to);
// A second name for an existing file (a hard link); Fault::Exists when the
// name is taken.
bool linkFile(const std::filesystem::path& existing, const std::filesystem::path& link);
// Removes a file; one that is already gone counts as removed.
bool removeFile(const std::filesystem::path& file);
// Flushes a folder's entries (renames, removals) to the disk. Windows writes
// them through with the rename itself.
bool syncFolder(const std::filesystem::path& folder);
// Makes one folder whose parent exists; Fault::Exists when something stands
// there already.
bool makeFolder(const std::filesystem::path& folder);
// Whether a folder stands at `path`.
bool isFolder(const std::filesystem::path& path);
// Whether anything (file, folder, link) stands at `path`.
bool pathExists(const std::filesystem::path& path);
// Whether a plain file (not a link, folder or device) stands at `path`.
bool isPlainFile(const std::filesystem::path& path);
// Whether this process may create and change files in `folder` or change
// `file`.
bool isWritable(const std::filesystem::path& path);
// The disk that holds `folder`: whether it can only be read, and the bytes
// this user may still write on it. False when the system cannot tell.
struct DiskState {
    bool readOnly = false;
    std::uint64_t freeBytes = 0;
};
bool diskState(const std::filesystem::path& folder, DiskState& state);

}  // namespace inkquot::native
