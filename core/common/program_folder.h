#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace inkquot {

// The folder the program runs from: the executable's folder in the program,
// a temporary folder in tests. Every path the program touches is formed here,
// so nothing depends on the current directory.
class ProgramFolder {
public:
    explicit ProgramFolder(std::filesystem::path root);

    const std::filesystem::path& root() const { return root_; }

    // A file directly in the program folder (working tables, history, users.dat).
    std::filesystem::path file(std::string_view utf8Name) const;
    // The same path as plain text, formed without taking it apart into its
    // components: for the reads that every part costing repeats.
    std::string fileText(std::string_view utf8Name) const;

    // The folder of the stored price schemes and its list of scheme names.
    std::filesystem::path schemeFolder() const;
    std::filesystem::path schemeList() const;

    // A stored scheme file: the scheme name directly followed by the suffix
    // ("系统默认" + "ji.dat"). The name must have passed isValidSchemeName.
    std::filesystem::path schemeFile(std::string_view utf8SchemeName,
                                     std::string_view suffix) const;

private:
    std::filesystem::path root_;
};

// A scheme name becomes the start of four file names: it must be non-empty,
// hold no path separator, no control character, no double quote (the scheme
// list quotes names) and must not be "." or "..".
bool isValidSchemeName(std::string_view utf8Name);

// The folder of the running executable (Linux: /proc/self/exe).
std::filesystem::path executableFolder();

}  // namespace inkquot
