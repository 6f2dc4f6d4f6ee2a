#pragma once

// A shared library opened while the program runs (a .so on Linux, a DLL on
// Windows), for a library only some commands need.

#include <string>

namespace inkquot::native {

class Library {
public:
    Library() = default;
    ~Library();
    Library(Library&& other) noexcept;
    Library& operator=(Library&& other) noexcept;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // Opens the library by its file name (as the system's loader looks it
    // up). On failure `reason` holds the loader's own words.
    static Library open(const char* file, std::string& reason);

    bool loaded() const { return handle_ != nullptr; }
    // The address of a function, null with `reason` set when it is missing.
    void* symbol(const char* name, std::string& reason) const;
    // Keeps the library loaded for the rest of the process.
    void keep() { handle_ = nullptr; }

private:
    void* handle_ = nullptr;
};

}  // namespace inkquot::native
