#include "core/pricedata/scheme_ops.h"

#include <algorithm>
#include <array>

#include "core/common/file_io.h"
#include "core/pricedata/default_scheme.h"
#include "core/pricedata/scheme_list.h"

namespace inkquot {

namespace {

constexpr std::array<PriceTable, 4> kSelectOrder = {PriceTable::Jiben, PriceTable::Gongjia,
                                                    PriceTable::Zhijia, PriceTable::Zhijiabu};
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

}  // namespace

std::filesystem::path workingFile(const ProgramFolder& folder, PriceTable table) {
    return folder.file(layoutOf(table).workingFile);
}

std::filesystem::path storedFile(const ProgramFolder& folder, std::string_view scheme,
                                 PriceTable table) {
    return folder.schemeFile(scheme, layoutOf(table).schemeSuffix);
}

IoStatus selectScheme(const ProgramFolder& folder, std::string_view scheme) {
    IoStatus status = checkSchemeName(scheme);
    if (!status) {
        return status;
    }
    std::array<std::string, 4> bytes;
    for (std::size_t i = 0; i < kSelectOrder.size(); ++i) {
        status = readTableFile(storedFile(folder, scheme, kSelectOrder[i]), bytes[i], scheme);
        if (!status) {
            return status;
        }
    }
    for (std::size_t i = 0; i < kSelectOrder.size(); ++i) {
        // A working file that already holds the scheme's bytes stays as it
        // is: every start selects the first scheme, and rewriting four files
        // with a flush to disk each is most of what a start waits for.
        std::string current;
        const auto working = workingFile(folder, kSelectOrder[i]);
        if (readWholeFile(working, current) && current == bytes[i]) {
            continue;
        }
        status = writeFileAtomically(working, bytes[i]);
        if (!status) {
            return status;
        }
    }
    return IoStatus::success();
}

IoStatus exportScheme(const ProgramFolder& folder, std::string_view scheme) {
    IoStatus status = checkSchemeName(scheme);
    if (!status) {
        return status;
    }
    std::vector<std::string> names;
    status = readSchemeList(folder.schemeList(), names);
    if (!status) {
        return status;
    }
    if (std::find(names.begin(), names.end(), scheme) != names.end()) {
        return IoStatus::failure(IoError::BadText, "方案名已存在!");
    }
    std::array<std::string, 4> bytes;
    for (std::size_t i = 0; i < kExportOrder.size(); ++i) {
        status = readTableFile(workingFile(folder, kExportOrder[i]), bytes[i], {});
        if (!status) {
            return status;
        }
    }
    for (std::size_t i = 0; i < kExportOrder.size(); ++i) {
        status = writeFileAtomically(storedFile(folder, scheme, kExportOrder[i]), bytes[i]);
        if (!status) {
            return status;
        }
    }
    return appendSchemeName(folder.schemeList(), scheme);
}

IoStatus deleteScheme(const ProgramFolder& folder, std::string_view scheme,
                      std::vector<std::string>& remaining) {
    if (scheme == kDefaultSchemeName) {
        return IoStatus::failure(IoError::BadText, "系统默认方案，不能删除！");
    }
    IoStatus status = checkSchemeName(scheme);
    if (!status) {
        return status;
    }
    std::vector<std::string> names;
    status = readSchemeList(folder.schemeList(), names);
    if (!status) {
        return status;
    }
    remaining = names;
    // A name listed twice would otherwise stay listed without its files.
    std::erase(remaining, std::string(scheme));
    if (remaining.size() != names.size()) {
        status = rewriteSchemeList(folder.schemeList(), remaining);
        if (!status) {
            remaining = names;
            return status;
        }
    }
    for (PriceTable table : kSelectOrder) {
        status = removeFile(storedFile(folder, scheme, table));
        if (!status) {
            return status;
        }
    }
    return IoStatus::success();
}

}  // namespace inkquot
