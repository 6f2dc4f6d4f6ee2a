#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace inkquot {

// Where a program folder came from, in order of precedence.
enum class FolderSource {
    CommandLine,  // --dir FOLDER
    Environment,  // INKQUOT_HOME
    Portable,     // the executable's own folder: a portable copy
    PerUser,      // %APPDATA%\inkquot on Windows; elsewhere $XDG_DATA_HOME/inkquot,
                  // normally ~/.local/share/inkquot
};

// What the choice is made from. Empty optionals are unset variables.
struct FolderHints {
    std::optional<std::filesystem::path> commandLine;
    std::optional<std::string> inkquotHome;
    std::optional<std::string> xdgDataHome;
    std::optional<std::string> home;
    std::filesystem::path executableFolder;
    // The system's own per-user data folder where it names one (Windows:
    // %APPDATA%); it comes before the XDG rule.
    std::optional<std::string> systemUserData = std::nullopt;
};

struct FolderChoice {
    std::filesystem::path root;
    FolderSource source = FolderSource::PerUser;
    // Empty when the folder can be used; otherwise one line that names the
    // folder, ready to be shown.
    std::string problem;

    bool ok() const { return problem.empty(); }
};

// The hints of this process: its environment and executable folder.
FolderHints folderHintsFromEnvironment(std::optional<std::filesystem::path> commandLine);

// A portable copy is an executable whose folder already holds jgfa/ and can
// be written: the program then keeps its data beside itself, as the build's
// app/ folder does. An installed executable (bin/ without jgfa/, or not
// writable) never is one.
bool isPortableFolder(const std::filesystem::path& folder);

// Chooses the program folder. A folder named by --dir or INKQUOT_HOME must
// exist; it is never created in a place the user did not mean. The per-user
// folder is created (with its parents) when missing and must be writable.
// Nothing but that folder is created or written.
FolderChoice chooseProgramFolder(const FolderHints& hints);

}  // namespace inkquot
