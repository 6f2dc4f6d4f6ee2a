#include "core/pricedata/param_save.h"

#include <string>

#include "core/common/file_io.h"
#include "core/common/file_switch.h"
#include "core/common/program_folder_lock.h"
#include "core/pricedata/scheme_ops.h"

namespace inkquot {

namespace {

IoStatus noScheme() {
    return IoStatus::failure(IoError::WriteFailed, "没有选定的价格方案，未写入。");
}

// The record goes into the working file and the working file's new bytes over
// the scheme's stored file, both in one all-or-nothing change: pricing must
// never use an edit that the next selection of the scheme would silently
// drop, nor the other way round.
template <typename Rec, typename Encode>
IoStatus saveThrough(const ProgramFolder& folder, std::string_view scheme, PriceTable table,
                     int record, const Rec& rec, Encode encode) {
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    if (!isValidSchemeName(scheme)) {
        return noScheme();
    }
    const TableLayout& layout = layoutOf(table);
    const auto working = workingFile(folder, table);
    if (record < 1 || record > layout.recordCount) {
        return IoStatus::failure(IoError::WriteFailed, "记录号" + std::to_string(record) +
                                                           "超出文件“" + displayName(working) +
                                                           "”的范围，未写入。");
    }
    std::string bytes;
    IoStatus status = readWholeFile(working, bytes);
    if (!status && status.error != IoError::Missing) {
        return IoStatus::failure(status.error, status.message + "未写入。");
    }
    Rec numbered = rec;
    numbered.Bianhao = record;
    std::string slot;
    status = encode(numbered, slot);
    if (!status) {
        return status;
    }
    const std::size_t pos = static_cast<std::size_t>(record - 1) * layout.slotLength;
    if (bytes.size() < pos + layout.slotLength) {
        bytes.resize(pos + layout.slotLength, '\0');
    }
    bytes.replace(pos, layout.slotLength, slot);

    FileSwitch change(folder);
    change.replace(working, bytes);
    change.replace(storedFile(folder, scheme, table), std::move(bytes));
    return change.commit("这次改动未保存，所有文件都未改动。");
}

}  // namespace

IoStatus saveJibenRecord(const ProgramFolder& folder, std::string_view scheme, int record,
                         const JibenRec& rec) {
    return saveThrough(folder, scheme, PriceTable::Jiben, record, rec,
                       [](const JibenRec& r, std::string& s) { return encodeSlot(r, s); });
}

IoStatus saveGongjiaRecord(const ProgramFolder& folder, std::string_view scheme, int record,
                           const GongjiaRec& rec) {
    return saveThrough(folder, scheme, PriceTable::Gongjia, record, rec,
                       [](const GongjiaRec& r, std::string& s) { return encodeSlot(r, s); });
}

IoStatus savePaperRecord(const ProgramFolder& folder, std::string_view scheme, PriceTable table,
                         int record, const ZhijiaRec& rec) {
    if (table != PriceTable::Zhijia && table != PriceTable::Zhijiabu) {
        return IoStatus::failure(IoError::WriteFailed, "不是纸价表，未写入。");
    }
    return saveThrough(
        folder, scheme, table, record, rec,
        [table](const ZhijiaRec& r, std::string& s) { return encodeSlot(r, table, s); });
}

IoStatus copyWorkingToScheme(const ProgramFolder& folder, std::string_view scheme,
                             PriceTable table) {
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    if (!isValidSchemeName(scheme)) {
        return noScheme();
    }
    return copyFileAtomically(workingFile(folder, table), storedFile(folder, scheme, table));
}

}  // namespace inkquot
