#pragma once

#include <string>

namespace inkquot {

// The outcome of a file operation. A failure carries a message in Chinese
// that names the file, ready to be shown to the user.
enum class IoError {
    None,
    Missing,      // the file does not exist where it must
    ReadFailed,   // it exists but cannot be read
    TooLarge,     // larger than any file of its kind can be
    WriteFailed,  // open, write, flush or rename failed; the old file is intact
    BadText,      // a text that the file's code page cannot hold, or a refused name
    NotRegular,   // a folder, FIFO or device stands where a data file belongs
    NotDurable,   // the change is made but its folder could not be synced to disk
    Busy,         // another process held the program folder; nothing was changed
};

struct IoStatus {
    IoError error = IoError::None;
    std::string message;
    // Why, in the clerk's words ("磁盘空间不足"), as the message says it;
    // empty when the system told nothing the clerk can act on.
    std::string cause;

    bool ok() const { return error == IoError::None; }
    explicit operator bool() const { return ok(); }

    static IoStatus success() { return {}; }
    static IoStatus failure(IoError e, std::string msg, std::string why = {}) {
        return {e, std::move(msg), std::move(why)};
    }
};

}  // namespace inkquot
