#include "core/common/native_stderr.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace inkquot::native {

#ifdef _WIN32

SilencedStderr::SilencedStderr() {
    std::fflush(stderr);
    saved_ = ::_dup(2);
    if (saved_ < 0) {
        return;
    }
    const int null = ::_open("NUL", _O_WRONLY | _O_BINARY);
    if (null < 0 || ::_dup2(null, 2) != 0) {
        ::_close(saved_);
        saved_ = -1;
    }
    if (null >= 0) {
        ::_close(null);
    }
}

SilencedStderr::~SilencedStderr() {
    if (saved_ >= 0) {
        std::fflush(stderr);
        ::_dup2(saved_, 2);
        ::_close(saved_);
    }
}

#else

SilencedStderr::SilencedStderr() {
    std::fflush(stderr);
    saved_ = ::fcntl(2, F_DUPFD_CLOEXEC, 3);
    if (saved_ < 0) {
        return;
    }
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null < 0 || ::dup2(null, 2) < 0) {
        ::close(saved_);
        saved_ = -1;
    }
    if (null >= 0) {
        ::close(null);
    }
}

SilencedStderr::~SilencedStderr() {
    if (saved_ >= 0) {
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
    }
}

#endif

}  // namespace inkquot::native
