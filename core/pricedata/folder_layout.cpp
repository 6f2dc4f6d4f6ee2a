#include "core/pricedata/folder_layout.h"

#include <system_error>

#include "core/common/file_io.h"
#include "core/common/program_folder_lock.h"
#include "core/pricedata/default_scheme.h"
#include "core/pricedata/scheme_list.h"
#include "core/pricedata/scheme_ops.h"
#include "core/records/user_file.h"

namespace inkquot {

namespace {

bool fileExists(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::exists(file, ec);
}

}  // namespace

IoStatus completeProgramFolder(const ProgramFolder& folder) {
    if (IoStatus made = createFolders(folder.schemeFolder()); !made) {
        return made;
    }
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    struct Table {
        PriceTable table;
        IoStatus (*write)(const ProgramFolder&);
    };
    const Table tables[] = {{PriceTable::Jiben, WriteDefaultJiben},
                            {PriceTable::Gongjia, WriteDefaultGongjia},
                            {PriceTable::Zhijia, WriteDefaultZhijia},
                            {PriceTable::Zhijiabu, WriteDefaultZhijiabu}};
    for (const Table& t : tables) {
        const auto stored = storedFile(folder, kDefaultSchemeName, t.table);
        if (!fileExists(stored)) {
            if (IoStatus status = t.write(folder); !status) {
                return status;
            }
        }
        const auto working = workingFile(folder, t.table);
        if (!fileExists(working)) {
            if (IoStatus status = copyFileAtomically(stored, working); !status) {
                return status;
            }
        }
    }
    if (!fileExists(folder.schemeList())) {
        if (IoStatus status = rewriteSchemeList(folder.schemeList(), {kDefaultSchemeName});
            !status) {
            return status;
        }
    }
    return ensureUserFile(folder.file("users.dat"));
}

}  // namespace inkquot
