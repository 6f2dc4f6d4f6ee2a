#include "core/common/program_folder.h"

#include <system_error>

#include "core/common/native_paths.h"

namespace inkquot {

namespace {

std::filesystem::path fromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

ProgramFolder::ProgramFolder(std::filesystem::path root) : root_(std::move(root)) {}

std::filesystem::path ProgramFolder::file(std::string_view utf8Name) const {
    return root_ / fromUtf8(utf8Name);
}

std::string ProgramFolder::fileText(std::string_view utf8Name) const {
    const auto root = (root_ / "").u8string();
    std::string path(root.begin(), root.end());
    path += utf8Name;
    return path;
}

std::filesystem::path ProgramFolder::schemeFolder() const { return root_ / "jgfa"; }

std::filesystem::path ProgramFolder::schemeList() const { return schemeFolder() / "fangan.inf"; }

std::filesystem::path ProgramFolder::schemeFile(std::string_view utf8SchemeName,
                                                std::string_view suffix) const {
    std::string name(utf8SchemeName);
    name += suffix;
    return schemeFolder() / fromUtf8(name);
}

bool isValidSchemeName(std::string_view utf8Name) {
    if (utf8Name.empty() || utf8Name == "." || utf8Name == "..") {
        return false;
    }
    for (unsigned char c : utf8Name) {
        if (c < 0x20 || c == 0x7f || c == '/' || c == '\\' || c == '"' || c == ':') {
            return false;
        }
    }
    return true;
}

std::filesystem::path executableFolder() {
    const auto exe = native::executablePath();
    if (exe.empty()) {
        std::error_code ec;
        return std::filesystem::current_path(ec);
    }
    return exe.parent_path();
}

}  // namespace inkquot
