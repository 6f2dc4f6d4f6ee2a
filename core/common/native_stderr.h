#pragma once

// Keeps a library's own messages off the standard error stream. Some
// libraries print English lines of their own when a call fails ("[ERROR]
// ..."); the program reports every failure itself, in one Chinese line, so
// while such a library works its output goes to the null device.

namespace inkquot::native {

// While the object lives, whatever the process writes to the standard error
// stream is dropped; the stream is back as it was when the object goes.
// Where there is no such stream (a Windows program without a console),
// nothing changes.
class SilencedStderr {
public:
    SilencedStderr();
    ~SilencedStderr();
    SilencedStderr(const SilencedStderr&) = delete;
    SilencedStderr& operator=(const SilencedStderr&) = delete;

private:
    int saved_ = -1;  // a copy of the stream's descriptor, to put back
};

}  // namespace inkquot::native
