#pragma once

// Where this process stands on its system: its executable, its environment
// and the folder where the system keeps each user's program data.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace inkquot::native {

// The running executable's own file; empty when the system cannot tell.
std::filesystem::path executablePath();

// An environment variable as UTF-8 text; nullopt when it is not set.
std::optional<std::string> environmentVariable(const char* name);

// The folder the system names for per-user program data where it names one
// (Windows: %APPDATA%); nullopt elsewhere, where the XDG rule of the
// environment applies.
std::optional<std::string> systemUserDataFolder();

// The command line's arguments after the program's name, as UTF-8 (Windows
// hands a program its arguments in UTF-16; argv there holds the ANSI code
// page's lossy copy).
std::vector<std::string> utf8Arguments(int argc, char* argv[]);

// Makes standard input, output and error binary, so that answers carry the
// same bytes on every system (no line ends turned into CR LF).
void useBinaryStandardStreams();

// Whether standard input is a folder (`inkquot-cli price < jobs/`): the shell
// opens it, but no byte can be read from it.
bool standardInputIsFolder();

}  // namespace inkquot::native
