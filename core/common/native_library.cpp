#include "core/common/native_library.h"

#include <filesystem>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace inkquot::native {

Library::Library(Library&& other) noexcept {
    *this = std::move(other);
}

Library& Library::operator=(Library&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
}

#ifdef _WIN32

namespace {

std::string systemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message;
    if (n > 0 && text != nullptr) {
        std::wstring wide(text, n);
        while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r')) {
            wide.pop_back();
        }
        const auto u8 = std::filesystem::path(wide).u8string();
        message.assign(u8.begin(), u8.end());
    }
    ::LocalFree(text);
    return message.empty() ? "Windows error " + std::to_string(error) : message;
}

}  // namespace

Library::~Library() {
    if (handle_ != nullptr) {
        ::FreeLibrary(static_cast<HMODULE>(handle_));
    }
}

Library Library::open(const char* file, std::string& reason) {
    Library lib;
    const std::filesystem::path name(
        std::u8string_view(reinterpret_cast<const char8_t*>(file)));
    lib.handle_ = ::LoadLibraryW(name.wstring().c_str());
    if (lib.handle_ == nullptr) {
        reason = systemMessage(::GetLastError());
    }
    return lib;
}

void* Library::symbol(const char* name, std::string& reason) const {
    void* address =
        reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle_), name));
    if (address == nullptr) {
        reason = systemMessage(::GetLastError());
    }
    return address;
}

#else

namespace {

std::string loaderMessage() {
    const char* text = dlerror();
    return text != nullptr ? text : std::string();
}

}  // namespace

Library::~Library() {
    if (handle_ != nullptr) {
        dlclose(handle_);
    }
}

Library Library::open(const char* file, std::string& reason) {
    Library lib;
    lib.handle_ = dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (lib.handle_ == nullptr) {
        reason = loaderMessage();
    }
    return lib;
}

void* Library::symbol(const char* name, std::string& reason) const {
    dlerror();
    void* address = dlsym(handle_, name);
    if (address == nullptr) {
        reason = loaderMessage();
    }
    return address;
}

#endif

}  // namespace inkquot::native
