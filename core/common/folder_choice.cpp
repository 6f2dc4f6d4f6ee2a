#include "core/common/folder_choice.h"

#include <system_error>

#include "core/common/file_io.h"
#include "core/common/native_paths.h"
#include "core/common/program_folder.h"

namespace inkquot {

namespace {

using native::environmentVariable;

std::filesystem::path fromUtf8(const std::string& utf8) {
    return pathFromUtf8(utf8);
}

bool isWritableFolder(const std::filesystem::path& folder) {
    return native::isWritable(folder);
}

// A folder the user named: used as it is, or refused with a message.
FolderChoice namedFolder(const std::filesystem::path& folder, FolderSource source,
                         const std::string& namedBy) {
    FolderChoice choice{folder, source, {}};
    std::error_code ec;
    if (!std::filesystem::exists(folder, ec)) {
        choice.problem = namedBy + "指定的程序文件夹“" + displayName(folder) + "”不存在。";
    } else if (!std::filesystem::is_directory(folder, ec)) {
        choice.problem = namedBy + "指定的“" + displayName(folder) + "”不是文件夹。";
    }
    return choice;
}

// The XDG base directory rule: $XDG_DATA_HOME when it is an absolute path,
// otherwise $HOME/.local/share.
std::optional<std::filesystem::path> perUserFolder(const FolderHints& hints) {
    if (hints.systemUserData && !hints.systemUserData->empty()) {
        const auto base = fromUtf8(*hints.systemUserData);
        if (base.is_absolute()) {
            return base / "inkquot";
        }
    }
    if (hints.xdgDataHome && !hints.xdgDataHome->empty()) {
        const auto base = fromUtf8(*hints.xdgDataHome);
        if (base.is_absolute()) {
            return base / "inkquot";
        }
    }
    if (hints.home && !hints.home->empty()) {
        return fromUtf8(*hints.home) / ".local" / "share" / "inkquot";
    }
    return std::nullopt;
}

}  // namespace

FolderHints folderHintsFromEnvironment(std::optional<std::filesystem::path> commandLine) {
    return {std::move(commandLine),          environmentVariable("INKQUOT_HOME"),
            environmentVariable("XDG_DATA_HOME"), environmentVariable("HOME"),
            executableFolder(),               native::systemUserDataFolder()};
}

bool isPortableFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(folder / "jgfa", ec) && isWritableFolder(folder);
}

FolderChoice chooseProgramFolder(const FolderHints& hints) {
    if (hints.commandLine) {
        return namedFolder(*hints.commandLine, FolderSource::CommandLine, "--dir ");
    }
    if (hints.inkquotHome && !hints.inkquotHome->empty()) {
        return namedFolder(fromUtf8(*hints.inkquotHome), FolderSource::Environment,
                           "INKQUOT_HOME ");
    }
    if (isPortableFolder(hints.executableFolder)) {
        return {hints.executableFolder, FolderSource::Portable, {}};
    }
    const auto folder = perUserFolder(hints);
    if (!folder) {
        return {
            {}, FolderSource::PerUser, "无法确定用户数据文件夹：HOME 与 XDG_DATA_HOME 都未设置。"};
    }
    FolderChoice choice{*folder, FolderSource::PerUser, {}};
    std::error_code ec;
    std::filesystem::create_directories(*folder, ec);
    if (!std::filesystem::is_directory(*folder, ec)) {
        choice.problem = "无法建立程序文件夹“" + displayName(*folder) + "”。";
    } else if (!isWritableFolder(*folder)) {
        choice.problem = "程序文件夹“" + displayName(*folder) + "”不能写入。";
    }
    return choice;
}

}  // namespace inkquot
