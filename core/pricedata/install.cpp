#include "core/pricedata/install.h"

#include <algorithm>
#include <system_error>

#include "core/common/file_io.h"
#include "core/common/gbk.h"
#include "core/pricedata/default_scheme.h"
#include "core/pricedata/scheme_list.h"
#include "core/records/user_file.h"

namespace inkquot {

namespace {

IoStatus makeFolder(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec || !std::filesystem::is_directory(path, ec)) {
        return IoStatus::failure(IoError::WriteFailed,
                                 "无法建立文件夹“" + displayName(path) + "”。");
    }
    return IoStatus::success();
}

IoStatus installSchemeList(const ProgramFolder& folder) {
    const auto file = folder.schemeList();
    std::string bytes;
    IoStatus status = readWholeFile(file, bytes);
    if (status.error == IoError::Missing) {
        return rewriteSchemeList(file, {kDefaultSchemeName});
    }
    if (!status) {
        return status;
    }
    auto names = parseSchemeList(bytes);
    if (std::find(names.begin(), names.end(), kDefaultSchemeName) != names.end()) {
        return IoStatus::success();
    }
    // The built-in scheme goes first; the shop's own lines stay as they are.
    std::string line;
    status = encodeGbk(std::string("\"") + kDefaultSchemeName + "\"\r\n", line);
    if (!status) {
        return status;
    }
    return writeFileAtomically(file, line + bytes);
}

}  // namespace

IoStatus installProgramFolder(const ProgramFolder& folder) {
    IoStatus status = makeFolder(folder.schemeFolder());
    if (!status) {
        return status;
    }
    for (auto write :
         {WriteDefaultJiben, WriteDefaultGongjia, WriteDefaultZhijia, WriteDefaultZhijiabu}) {
        status = write(folder);
        if (!status) {
            return status;
        }
    }
    status = installSchemeList(folder);
    if (!status) {
        return status;
    }
    return ensureUserFile(folder.file("users.dat"));
}

}  // namespace inkquot
