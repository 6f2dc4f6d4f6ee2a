#include "core/pricedata/scheme_ops.h"

#include <algorithm>
#include <array>

#include "core/common/file_io.h"
#include "core/common/file_switch.h"
#include "core/common/program_folder_lock.h"
#include "core/pricedata/default_scheme.h"
#include "core/pricedata/scheme_list.h"
#include "core/pricedata/table_damage.h"

namespace inkquot {

namespace {

constexpr std::array<PriceTable, 4> kExportOrder = {PriceTable::Jiben, PriceTable::Zhijia,
                                                    PriceTable::Zhijiabu, PriceTable::Gongjia};

// Every stored table is far below this; a larger one is not a table.
constexpr std::size_t kMaxTableBytes = 16 * 1024 * 1024;

IoStatus readTableFile(const std::filesystem::path& file, std::string& bytes,
                       std::string_view scheme) {
    IoStatus status = readWholeFile(file, bytes, kMaxTableBytes);
    if (status.error == IoError::Missing) {
        status.message = scheme.empty() ? "找不到工作数据文件“" + displayName(file) + "”。"
                                        : "价格方案“" + std::string(scheme) + "”缺少文件“" +
                                              displayName(file) + "”。";
    }
    return status;
}

// Refuses a scheme name that cannot name files, then reads the scheme list.
IoStatus checkedNameAndList(const ProgramFolder& folder, std::string_view scheme,
                            std::vector<std::string>& names) {
    const IoStatus status = checkSchemeName(scheme);
    if (!status) {
        return status;
    }
    return readSchemeList(folder.schemeList(), names);
}

}  // namespace

std::filesystem::path workingFile(const ProgramFolder& folder, PriceTable table) {
    return folder.file(layoutOf(table).workingFile);
}

std::filesystem::path storedFile(const ProgramFolder& folder, std::string_view scheme,
                                 PriceTable table) {
    return folder.schemeFile(scheme, layoutOf(table).schemeSuffix);
}

IoStatus readStoredScheme(const ProgramFolder& folder, std::string_view scheme,
                          std::array<TableImage, 4>& tables) {
    IoStatus status = checkSchemeName(scheme);
    if (!status) {
        return status;
    }
    for (std::size_t i = 0; i < kAllPriceTables.size(); ++i) {
        std::string bytes;
        status = readTableFile(storedFile(folder, scheme, kAllPriceTables[i]), bytes, scheme);
        if (!status) {
            return status;
        }
        tables[i] = TableImage(kAllPriceTables[i], std::move(bytes));
    }
    return IoStatus::success();
}

IoStatus selectScheme(const ProgramFolder& folder, std::string_view scheme,
                      std::vector<std::string>* damage) {
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    std::array<TableImage, 4> tables;
    if (IoStatus status = readStoredScheme(folder, scheme, tables); !status) {
        return status;
    }
    FileSwitch change(folder);
    for (std::size_t i = 0; i < kAllPriceTables.size(); ++i) {
        if (damage != nullptr) {
            const auto file = storedFile(folder, scheme, kAllPriceTables[i]);
            for (auto& p : tableDamage(tables[i], displayName(file.filename()))) {
                damage->push_back(std::move(p));
            }
        }
        // A working file that already holds the scheme's bytes stays as it
        // is: every start selects the first scheme, and rewriting four files
        // with a flush to disk each is most of what a start waits for.
        std::string current;
        const auto working = workingFile(folder, kAllPriceTables[i]);
        if (readWholeFile(working, current) && current == tables[i].bytes()) {
            continue;
        }
        change.replace(working, tables[i].bytes());
    }
    return change.commit("价格方案“" + std::string(scheme) + "”未选用，所有文件都未改动。");
}

IoStatus checkListedScheme(const ProgramFolder& folder, std::string_view scheme) {
    std::vector<std::string> names;
    IoStatus status = checkedNameAndList(folder, scheme, names);
    if (!status) {
        return status;
    }
    if (std::find(names.begin(), names.end(), scheme) == names.end()) {
        return IoStatus::failure(IoError::BadText,
                                 "价格方案“" + std::string(scheme) + "”不在方案列表中。");
    }
    return IoStatus::success();
}

IoStatus exportScheme(const ProgramFolder& folder, std::string_view scheme) {
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    std::vector<std::string> names;
    IoStatus status = checkedNameAndList(folder, scheme, names);
    if (!status) {
        return status;
    }
    if (std::find(names.begin(), names.end(), scheme) != names.end()) {
        return IoStatus::failure(IoError::BadText, "方案名已存在!");
    }
    std::string list;
    status = schemeListWithName(folder.schemeList(), scheme, list);
    if (!status) {
        return status;
    }
    FileSwitch change(folder);
    for (const PriceTable table : kExportOrder) {
        std::string bytes;
        status = readTableFile(workingFile(folder, table), bytes, {});
        if (!status) {
            return status;
        }
        change.replace(storedFile(folder, scheme, table), std::move(bytes));
    }
    change.replace(folder.schemeList(), std::move(list));
    return change.commit("价格方案“" + std::string(scheme) + "”未导出，所有文件都未改动。");
}

IoStatus deleteScheme(const ProgramFolder& folder, std::string_view scheme,
                      std::vector<std::string>& remaining) {
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    if (scheme == kDefaultSchemeName) {
        return IoStatus::failure(IoError::BadText, "系统默认方案，不能删除！");
    }
    std::vector<std::string> names;
    IoStatus status = checkedNameAndList(folder, scheme, names);
    if (!status) {
        return status;
    }
    std::vector<std::string> kept = names;
    // A name listed twice would otherwise stay listed without its files.
    std::erase(kept, std::string(scheme));
    FileSwitch change(folder);
    if (kept.size() != names.size()) {
        std::string list;
        status = schemeListBytes(kept, list);
        if (!status) {
            return status;
        }
        change.replace(folder.schemeList(), std::move(list));
    }
    for (PriceTable table : kAllPriceTables) {
        change.remove(storedFile(folder, scheme, table));
    }
    status = change.commit("价格方案“" + std::string(scheme) + "”未删除，所有文件都未改动。");
    remaining = status ? kept : names;
    return status;
}

}  // namespace inkquot
