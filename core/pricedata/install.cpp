#include "core/pricedata/install.h"

#include <algorithm>

#include "core/common/file_io.h"
#include "core/common/gbk.h"
#include "core/common/program_folder_lock.h"
#include "core/pricedata/default_scheme.h"
#include "core/pricedata/scheme_list.h"
#include "core/records/user_file.h"

namespace inkquot {

namespace {

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
    IoStatus status = createFolders(folder.schemeFolder());
    if (!status) {
        return status;
    }
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
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
