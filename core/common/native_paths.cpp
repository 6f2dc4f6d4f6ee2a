#include "core/common/native_paths.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace inkquot::native {

#ifdef _WIN32

namespace {

std::string utf8Of(const std::filesystem::path& path) {
    const auto u8 = path.u8string();
    return std::string(u8.begin(), u8.end());
}

}  // namespace

std::filesystem::path executablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            return std::filesystem::path(std::wstring(buffer.data(), n));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::optional<std::string> environmentVariable(const char* name) {
    const std::wstring wideName = std::filesystem::path(name).wstring();
    const wchar_t* value = ::_wgetenv(wideName.c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return utf8Of(std::filesystem::path(value));
}

std::optional<std::string> systemUserDataFolder() {
    return environmentVariable("APPDATA");
}

std::vector<std::string> utf8Arguments(int argc, char* argv[]) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
    }
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) {
        args.push_back(utf8Of(std::filesystem::path(wide[i])));
    }
    ::LocalFree(wide);
    return args;
}

void useBinaryStandardStreams() {
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

bool standardInputIsFolder() {
    // The command shell refuses to hand a program a folder as its input.
    return false;
}

#else

std::filesystem::path executablePath() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe;
}

std::optional<std::string> environmentVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<std::string> systemUserDataFolder() {
    return std::nullopt;
}

std::vector<std::string> utf8Arguments(int argc, char* argv[]) {
    return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
}

void useBinaryStandardStreams() {}

bool standardInputIsFolder() {
    struct stat st {};
    return ::fstat(STDIN_FILENO, &st) == 0 && S_ISDIR(st.st_mode);
}

#endif

}  // namespace inkquot::native
