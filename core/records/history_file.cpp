#include "core/records/history_file.h"

#include "core/common/file_io.h"
#include "core/common/gbk.h"
#include "core/common/le_bytes.h"

namespace inkquot {

namespace {

struct TextField {
    std::size_t offset;
    std::size_t width;
};

constexpr std::size_t kRiqi = 0;
constexpr TextField kKehuming{8, 60};
constexpr TextField kYinjianming{68, 40};
constexpr std::size_t kShuliang = 108;
constexpr TextField kGuige{112, 20};
constexpr TextField kYaoqiu{132, 300};
constexpr std::size_t kDanjia = 432;
constexpr std::size_t kZongjia = 436;

// The history never comes near this; a larger file is refused, not read.
constexpr std::size_t kMaxHistoryBytes = 512u * 1024u * 1024u;

std::size_t wholeRecords(std::size_t bytes) {
    std::size_t n = bytes / kHistorySlotLength;
    if (bytes % kHistorySlotLength >= kJiluDataLength) {
        ++n;
    }
    return n;
}

std::string textAt(std::string_view slot, TextField f) {
    return decodeGbkField(slot.substr(f.offset, f.width));
}

IoStatus putText(std::string& slot, TextField f, std::string_view text, const char* what) {
    std::string field;
    IoStatus status = encodeGbkField(text, f.width, field);
    if (!status) {
        return IoStatus::failure(IoError::BadText,
                                 std::string(what) + "含有无法保存的字符：" + status.message);
    }
    slot.replace(f.offset, f.width, field);
    return status;
}

// The bytes of the whole records, each padded to its full slot.
std::string wholeSlots(std::string_view bytes) {
    const std::size_t n = wholeRecords(bytes.size());
    std::string out(bytes.substr(0, std::min(bytes.size(), n * kHistorySlotLength)));
    out.resize(n * kHistorySlotLength, '\0');
    return out;
}

IoStatus readImage(const std::filesystem::path& file, std::string& bytes) {
    return readFilePrefix(file, kMaxHistoryBytes, bytes, true);
}

}  // namespace

std::vector<JiluRec> parseHistory(std::string_view bytes) {
    std::vector<JiluRec> out;
    const std::size_t n = wholeRecords(bytes.size());
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view slot = bytes.substr(i * kHistorySlotLength, kJiluDataLength);
        JiluRec r;
        r.Riqi = le::readDouble(slot, kRiqi);
        r.Kehuming = textAt(slot, kKehuming);
        r.Yinjianming = textAt(slot, kYinjianming);
        r.Shuliang = le::readFloat(slot, kShuliang);
        r.Guige = textAt(slot, kGuige);
        r.Yaoqiu = textAt(slot, kYaoqiu);
        r.Danjia = le::readFloat(slot, kDanjia);
        r.Zongjia = le::readFloat(slot, kZongjia);
        out.push_back(std::move(r));
    }
    return out;
}

IoStatus readHistory(const std::filesystem::path& file, std::vector<JiluRec>& out) {
    std::string bytes;
    IoStatus status = readImage(file, bytes);
    out = status ? parseHistory(bytes) : std::vector<JiluRec>{};
    return status;
}

IoStatus encodeJiluSlot(const JiluRec& rec, std::string& slot) {
    std::string s(kHistorySlotLength, '\0');
    le::putDouble(s, kRiqi, rec.Riqi);
    le::putFloat(s, kShuliang, rec.Shuliang);
    le::putFloat(s, kDanjia, rec.Danjia);
    le::putFloat(s, kZongjia, rec.Zongjia);
    IoStatus status = putText(s, kKehuming, rec.Kehuming, "客户名称");
    if (status) {
        status = putText(s, kYinjianming, rec.Yinjianming, "印件名称");
    }
    if (status) {
        status = putText(s, kGuige, rec.Guige, "规格");
    }
    if (status) {
        status = putText(s, kYaoqiu, rec.Yaoqiu, "加工要求");
    }
    if (status) {
        slot = std::move(s);
    }
    return status;
}

IoStatus appendHistory(const std::filesystem::path& file, const JiluRec& rec) {
    std::string slot;
    IoStatus status = encodeJiluSlot(rec, slot);
    if (!status) {
        return status;
    }
    std::string bytes;
    status = readImage(file, bytes);
    if (!status) {
        return status;
    }
    std::string image = wholeSlots(bytes);
    image += slot;
    return writeFileAtomically(file, image);
}

IoStatus deleteHistoryUpTo(const std::filesystem::path& file, double cutoffDay,
                           std::size_t* dropped) {
    std::string bytes;
    IoStatus status = readImage(file, bytes);
    if (!status) {
        return status;
    }
    const std::size_t n = wholeRecords(bytes.size());
    std::string kept;
    std::size_t gone = 0;
    for (std::size_t i = 0; i < n; ++i) {
        std::string slot = bytes.substr(i * kHistorySlotLength, kHistorySlotLength);
        slot.resize(kHistorySlotLength, '\0');
        if (le::readDouble(slot, kRiqi) > cutoffDay) {
            kept += slot;
        } else {
            ++gone;
        }
    }
    status = writeFileAtomically(file, kept);
    if (status && dropped != nullptr) {
        *dropped = gone;
    }
    return status;
}

IoStatus deleteAllHistory(const std::filesystem::path& file) {
    return removeFile(file);
}

}  // namespace inkquot
