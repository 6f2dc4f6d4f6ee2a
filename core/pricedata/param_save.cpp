#include "core/pricedata/param_save.h"

#include <functional>
#include <string>

#include "core/common/file_io.h"
#include "core/pricedata/scheme_ops.h"

namespace inkquot {

namespace {

IoStatus noScheme() {
    return IoStatus::failure(IoError::WriteFailed, "没有选定的价格方案，未写入。");
}

IoStatus saveThrough(const ProgramFolder& folder, std::string_view scheme, PriceTable table,
                     const std::function<IoStatus(const std::filesystem::path&)>& write) {
    if (!isValidSchemeName(scheme)) {
        return noScheme();
    }
    const auto working = workingFile(folder, table);
    const auto stored = storedFile(folder, scheme, table);

    std::string previous;
    IoStatus status = readWholeFile(working, previous);
    const bool existed = status.ok();
    if (!status && status.error != IoError::Missing) {
        return IoStatus::failure(status.error, status.message + "未写入。");
    }
    status = write(working);
    if (!status) {
        return status;
    }
    status = copyFileAtomically(working, stored);
    if (status) {
        return status;
    }
    // The stored file is as it was; the working file must be too, or pricing
    // would use an edit that the next selection of the scheme silently drops.
    const IoStatus undo = existed ? writeFileAtomically(working, previous) : removeFile(working);
    if (!undo) {
        status.message += "工作文件“" + displayName(working) + "”已改动，未能恢复原样。";
    }
    return status;
}

}  // namespace

IoStatus saveJibenRecord(const ProgramFolder& folder, std::string_view scheme, int record,
                         const JibenRec& rec) {
    return saveThrough(folder, scheme, PriceTable::Jiben, [&](const std::filesystem::path& file) {
        return writeRecord(file, record, rec);
    });
}

IoStatus saveGongjiaRecord(const ProgramFolder& folder, std::string_view scheme, int record,
                           const GongjiaRec& rec) {
    return saveThrough(folder, scheme, PriceTable::Gongjia, [&](const std::filesystem::path& file) {
        return writeRecord(file, record, rec);
    });
}

IoStatus savePaperRecord(const ProgramFolder& folder, std::string_view scheme, PriceTable table,
                         int record, const ZhijiaRec& rec) {
    if (table != PriceTable::Zhijia && table != PriceTable::Zhijiabu) {
        return IoStatus::failure(IoError::WriteFailed, "不是纸价表，未写入。");
    }
    return saveThrough(folder, scheme, table, [&](const std::filesystem::path& file) {
        return writeRecord(file, table, record, rec);
    });
}

IoStatus copyWorkingToScheme(const ProgramFolder& folder, std::string_view scheme,
                             PriceTable table) {
    if (!isValidSchemeName(scheme)) {
        return noScheme();
    }
    return copyFileAtomically(workingFile(folder, table), storedFile(folder, scheme, table));
}

}  // namespace inkquot
