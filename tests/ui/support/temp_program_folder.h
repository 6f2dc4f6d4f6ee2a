#pragma once

#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/program_folder.h"

// A program folder in a temporary directory, removed with the test. An
// installed one holds jgfa/ with fangan.inf listing "系统默认" and its four
// tables, the working tables and users.dat with the initial password.
class TempProgramFolder {
public:
    enum class Layout { Installed, Empty };

    explicit TempProgramFolder(Layout layout = Layout::Installed);

    inkquot::ProgramFolder folder() const { return inkquot::ProgramFolder(root()); }
    std::filesystem::path root() const;
    std::filesystem::path file(std::string_view utf8Name) const;
    std::filesystem::path schemeFile(std::string_view utf8Scheme, std::string_view suffix) const;

    // Stores a scheme: the built-in tables with paper 1 and sticker paper 1
    // renamed `firstPaper`, so that a test can tell whose tables are current;
    // listed at the end of fangan.inf when `listed`.
    void addScheme(std::string_view name, std::string_view firstPaper, bool listed = true);

    // The names of fangan.inf in order.
    QStringList schemeList() const;
    // The name of paper 1 in the working fzhijia.dat (padding removed).
    QString workingFirstPaper() const;
    QString workingFirstStickerPaper() const;

    static std::string readBytes(const std::filesystem::path& file);
    static void writeBytes(const std::filesystem::path& file, std::string_view bytes);

private:
    QTemporaryDir dir_;
};
