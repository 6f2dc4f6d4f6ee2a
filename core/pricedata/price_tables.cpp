#include "core/pricedata/price_tables.h"

#include <cmath>
#include <cstring>
#include <optional>

#include "core/common/file_io.h"
#include "core/common/gbk.h"
#include "core/common/le_bytes.h"

namespace inkquot {

namespace {

constexpr TableLayout kJiben{272, 140, 18, "fjiben.dat", "ji.dat"};
constexpr TableLayout kGongjia{508, 266, 44, "fgongjia.dat", "gong.dat"};
constexpr TableLayout kZhijia{136, 74, 50, "fzhijia.dat", "zhi.dat"};
constexpr TableLayout kZhijiabu{136, 74, 10, "fzhijiabu.dat", "zhibu.dat"};

using le::putFloat;
using le::putInt32;

IoStatus putText(std::string& slot, std::size_t pos, std::size_t width, std::string_view text) {
    std::string field;
    IoStatus status = encodeGbkField(text, width, field);
    if (status) {
        slot.replace(pos, width, field);
    }
    return status;
}

IoStatus badRecordNumber(const std::filesystem::path& file, int record) {
    return IoStatus::failure(IoError::WriteFailed, "记录号" + std::to_string(record) + "超出文件“" +
                                                       displayName(file) + "”的范围，未写入。");
}

// Reads the file that a write is about to patch. A missing file is empty; a
// file that exists but cannot be read must not be replaced by one built from
// nothing.
IoStatus readForPatch(const std::filesystem::path& file, std::string& bytes) {
    IoStatus status = readWholeFile(file, bytes);
    if (status.error == IoError::Missing) {
        bytes.clear();
        return IoStatus::success();
    }
    if (!status) {
        return IoStatus::failure(status.error, status.message + "未写入。");
    }
    return status;
}

IoStatus patchSlots(const std::filesystem::path& file, const TableLayout& layout, int firstRecord,
                    const std::vector<std::string>& slots) {
    std::string bytes;
    IoStatus status = readForPatch(file, bytes);
    if (!status) {
        return status;
    }
    const std::size_t end =
        (static_cast<std::size_t>(firstRecord) - 1 + slots.size()) * layout.slotLength;
    if (bytes.size() < end) {
        bytes.resize(end, '\0');
    }
    std::size_t pos = (static_cast<std::size_t>(firstRecord) - 1) * layout.slotLength;
    for (const auto& slot : slots) {
        bytes.replace(pos, layout.slotLength, slot);
        pos += layout.slotLength;
    }
    return writeFileAtomically(file, bytes);
}

template <typename Rec, typename Encode>
IoStatus writeOne(const std::filesystem::path& file, const TableLayout& layout, int record,
                  const Rec& rec, Encode encode) {
    if (record < 1 || record > layout.recordCount) {
        return badRecordNumber(file, record);
    }
    Rec numbered = rec;
    numbered.Bianhao = record;
    std::string slot;
    IoStatus status = encode(numbered, slot);
    if (!status) {
        return status;
    }
    return patchSlots(file, layout, record, {slot});
}

template <typename Rec, typename Encode>
IoStatus writeAll(const std::filesystem::path& file, const TableLayout& layout,
                  const std::vector<Rec>& recs, Encode encode) {
    if (recs.size() > static_cast<std::size_t>(layout.recordCount)) {
        return badRecordNumber(file, static_cast<int>(recs.size()));
    }
    std::vector<std::string> slots;
    slots.reserve(recs.size());
    for (std::size_t i = 0; i < recs.size(); ++i) {
        Rec numbered = recs[i];
        numbered.Bianhao = static_cast<std::int32_t>(i + 1);
        std::string slot;
        IoStatus status = encode(numbered, slot);
        if (!status) {
            return status;
        }
        slots.push_back(std::move(slot));
    }
    return patchSlots(file, layout, 1, slots);
}

// Records 1..N of `table`, each filled by `decode(view, n, record)` from the
// image read with the slot length of `table` (a copy only when it was loaded
// as another table).
template <typename Rec, typename Decode>
std::vector<Rec> recordsOf(const TableImage& image, PriceTable table, Decode decode) {
    std::optional<TableImage> holder;
    if (image.table() != table) {
        holder.emplace(table, image.bytes());
    }
    const TableImage& view = holder ? *holder : image;
    const int count = layoutOf(table).recordCount;
    std::vector<Rec> out(static_cast<std::size_t>(count));
    for (int n = 1; n <= count; ++n) {
        decode(view, n, out[static_cast<std::size_t>(n - 1)]);
    }
    return out;
}

}  // namespace

const TableLayout& layoutOf(PriceTable table) {
    switch (table) {
        case PriceTable::Jiben:
            return kJiben;
        case PriceTable::Gongjia:
            return kGongjia;
        case PriceTable::Zhijia:
            return kZhijia;
        case PriceTable::Zhijiabu:
            return kZhijiabu;
    }
    return kJiben;
}

TableImage::TableImage(PriceTable table, std::string bytes)
    : table_(table), bytes_(std::move(bytes)) {}

IoStatus TableImage::load(const std::filesystem::path& file, PriceTable table, TableImage& out) {
    const TableLayout& layout = layoutOf(table);
    out.table_ = table;
    return readFilePrefix(file, layout.slotLength * static_cast<std::size_t>(layout.recordCount),
                          out.bytes_, true);
}

std::int32_t TableImage::int32At(int record, std::size_t offset) const {
    if (record < 1) {
        return 0;
    }
    const std::size_t pos = (static_cast<std::size_t>(record) - 1) * layoutOf(table_).slotLength;
    return le::readInt32(bytes_, pos + offset);
}

float TableImage::floatAt(int record, std::size_t offset) const {
    if (record < 1) {
        return 0.0f;
    }
    const std::size_t pos = (static_cast<std::size_t>(record) - 1) * layoutOf(table_).slotLength;
    const float v = le::readFloat(bytes_, pos + offset);
    return std::isfinite(v) ? v : 0.0f;
}

std::string TableImage::textAt(int record, std::size_t offset, std::size_t width) const {
    std::string field(width, ' ');
    if (record >= 1) {
        const std::size_t pos =
            (static_cast<std::size_t>(record) - 1) * layoutOf(table_).slotLength + offset;
        if (pos < bytes_.size()) {
            std::size_t n = std::min(width, bytes_.size() - pos);
            field.replace(0, n, bytes_, pos, n);
        }
    }
    return decodeGbkField(field);
}

namespace {

void decodeJiben(const TableImage& view, int n, JibenRec& r) {
    namespace f = jiben_field;
    r.Bianhao = view.int32At(n, f::Bianhao);
    r.Mingcheng = view.textAt(n, f::Mingcheng, f::MingchengWidth);
    r.Shuju = view.floatAt(n, f::Shuju);
    r.Danwei = view.textAt(n, f::Danwei, f::DanweiWidth);
    r.Shuoming = view.textAt(n, f::Shuoming, f::ShuomingWidth);
}

void decodeGongjia(const TableImage& view, int n, GongjiaRec& r) {
    namespace f = gongjia_field;
    r.Bianhao = view.int32At(n, f::Bianhao);
    r.Mingcheng = view.textAt(n, f::Mingcheng, f::MingchengWidth);
    r.Danjia = view.floatAt(n, f::Danjia);
    r.Danwei = view.textAt(n, f::Danwei, f::DanweiWidth);
    r.Tag1 = view.floatAt(n, f::Tag1);
    r.Tag2 = view.floatAt(n, f::Tag2);
    r.Tag3 = view.floatAt(n, f::Tag3);
    r.Tag4 = view.floatAt(n, f::Tag4);
    r.Shuoming = view.textAt(n, f::Shuoming, f::ShuomingWidth);
}

void decodeZhijia(const TableImage& view, int n, ZhijiaRec& r) {
    namespace f = zhijia_field;
    r.Bianhao = view.int32At(n, f::Bianhao);
    r.Mingcheng = view.textAt(n, f::Mingcheng, f::MingchengWidth);
    r.Jiage = view.floatAt(n, f::Jiage);
    r.Danwei = view.textAt(n, f::Danwei, f::DanweiWidth);
    r.Shuoming = view.textAt(n, f::Shuoming, f::ShuomingWidth);
    r.Neizhi = view.int32At(n, f::Neizhi);
}

}  // namespace

std::vector<JibenRec> jibenTableOf(const TableImage& image) {
    return recordsOf<JibenRec>(image, PriceTable::Jiben, decodeJiben);
}

std::vector<GongjiaRec> gongjiaTableOf(const TableImage& image) {
    return recordsOf<GongjiaRec>(image, PriceTable::Gongjia, decodeGongjia);
}

std::vector<ZhijiaRec> zhijiaTableOf(const TableImage& image) {
    const PriceTable table =
        image.table() == PriceTable::Zhijiabu ? PriceTable::Zhijiabu : PriceTable::Zhijia;
    return recordsOf<ZhijiaRec>(image, table, decodeZhijia);
}

namespace {

template <typename Rec, typename Decode>
IoStatus readTable(const std::filesystem::path& file, PriceTable table, std::vector<Rec>& out,
                   Decode decode) {
    TableImage image;
    IoStatus status = TableImage::load(file, table, image);
    out = status ? decode(image) : decode(TableImage(table, {}));
    return status;
}

}  // namespace

IoStatus readJibenTable(const std::filesystem::path& file, std::vector<JibenRec>& out) {
    return readTable(file, PriceTable::Jiben, out, jibenTableOf);
}

IoStatus readGongjiaTable(const std::filesystem::path& file, std::vector<GongjiaRec>& out) {
    return readTable(file, PriceTable::Gongjia, out, gongjiaTableOf);
}

IoStatus readZhijiaTable(const std::filesystem::path& file, std::vector<ZhijiaRec>& out) {
    return readTable(file, PriceTable::Zhijia, out, zhijiaTableOf);
}

IoStatus readZhijiabuTable(const std::filesystem::path& file, std::vector<ZhijiabuRec>& out) {
    return readTable(file, PriceTable::Zhijiabu, out, zhijiaTableOf);
}

IoStatus encodeSlot(const JibenRec& rec, std::string& slot) {
    namespace f = jiben_field;
    std::string s(kJiben.slotLength, '\0');
    putInt32(s, f::Bianhao, rec.Bianhao);
    IoStatus status = putText(s, f::Mingcheng, f::MingchengWidth, rec.Mingcheng);
    putFloat(s, f::Shuju, rec.Shuju);
    if (status) {
        status = putText(s, f::Danwei, f::DanweiWidth, rec.Danwei);
    }
    if (status) {
        status = putText(s, f::Shuoming, f::ShuomingWidth, rec.Shuoming);
    }
    if (status) {
        slot = std::move(s);
    }
    return status;
}

IoStatus encodeSlot(const GongjiaRec& rec, std::string& slot) {
    namespace f = gongjia_field;
    std::string s(kGongjia.slotLength, '\0');
    putInt32(s, f::Bianhao, rec.Bianhao);
    IoStatus status = putText(s, f::Mingcheng, f::MingchengWidth, rec.Mingcheng);
    putFloat(s, f::Danjia, rec.Danjia);
    if (status) {
        status = putText(s, f::Danwei, f::DanweiWidth, rec.Danwei);
    }
    putFloat(s, f::Tag1, rec.Tag1);
    putFloat(s, f::Tag2, rec.Tag2);
    putFloat(s, f::Tag3, rec.Tag3);
    putFloat(s, f::Tag4, rec.Tag4);
    if (status) {
        status = putText(s, f::Shuoming, f::ShuomingWidth, rec.Shuoming);
    }
    if (status) {
        slot = std::move(s);
    }
    return status;
}

IoStatus encodeSlot(const ZhijiaRec& rec, PriceTable table, std::string& slot) {
    namespace f = zhijia_field;
    std::string s(layoutOf(table).slotLength, '\0');
    putInt32(s, f::Bianhao, rec.Bianhao);
    IoStatus status = putText(s, f::Mingcheng, f::MingchengWidth, rec.Mingcheng);
    putFloat(s, f::Jiage, rec.Jiage);
    if (status) {
        status = putText(s, f::Danwei, f::DanweiWidth, rec.Danwei);
    }
    if (status) {
        status = putText(s, f::Shuoming, f::ShuomingWidth, rec.Shuoming);
    }
    putInt32(s, f::Neizhi, rec.Neizhi);
    if (status) {
        slot = std::move(s);
    }
    return status;
}

IoStatus writeRecord(const std::filesystem::path& file, int record, const JibenRec& rec) {
    return writeOne(file, kJiben, record, rec,
                    [](const JibenRec& r, std::string& s) { return encodeSlot(r, s); });
}

IoStatus writeRecord(const std::filesystem::path& file, int record, const GongjiaRec& rec) {
    return writeOne(file, kGongjia, record, rec,
                    [](const GongjiaRec& r, std::string& s) { return encodeSlot(r, s); });
}

IoStatus writeRecord(const std::filesystem::path& file, PriceTable table, int record,
                     const ZhijiaRec& rec) {
    return writeOne(
        file, layoutOf(table), record, rec,
        [table](const ZhijiaRec& r, std::string& s) { return encodeSlot(r, table, s); });
}

IoStatus writeTable(const std::filesystem::path& file, const std::vector<JibenRec>& recs) {
    return writeAll(file, kJiben, recs,
                    [](const JibenRec& r, std::string& s) { return encodeSlot(r, s); });
}

IoStatus writeTable(const std::filesystem::path& file, const std::vector<GongjiaRec>& recs) {
    return writeAll(file, kGongjia, recs,
                    [](const GongjiaRec& r, std::string& s) { return encodeSlot(r, s); });
}

IoStatus writeTable(const std::filesystem::path& file, PriceTable table,
                    const std::vector<ZhijiaRec>& recs) {
    return writeAll(file, layoutOf(table), recs, [table](const ZhijiaRec& r, std::string& s) {
        return encodeSlot(r, table, s);
    });
}

}  // namespace inkquot
