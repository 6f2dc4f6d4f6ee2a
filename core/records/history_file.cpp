#include "core/records/history_file.h"

#include <algorithm>
#include <cerrno>

#include "core/common/file_io.h"
#include "core/common/gbk.h"
#include "core/common/le_bytes.h"

namespace inkquot {

namespace {

struct TextField {
    std::size_t offset;
    std::size_t width;
};

constexpr std::size_t kRiqi = 0;  // savedDayOf reads it
constexpr TextField kKehuming{8, 60};
constexpr TextField kYinjianming{68, 40};
constexpr std::size_t kShuliang = 108;
constexpr TextField kGuige{112, 20};
constexpr TextField kYaoqiu{132, 300};
constexpr std::size_t kDanjia = 432;
constexpr std::size_t kZongjia = 436;

// Pieces of whole slots: big enough that the reads cost no more than the
// bare copy of the file, small enough to keep memory flat.
constexpr std::size_t kPieceSlots = 1024;

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

// Reads until `out` is full or the file ends; false on a read error.
bool fill(native::File& file, std::string& out, std::size_t& got) {
    got = 0;
    while (got < out.size()) {
        const std::int64_t n = file.read(out.data() + got, out.size() - got);
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

// The buffer a reading fills piece by piece. It stays with the thread for
// the next reading: a fresh one would be zeroed and faulted in page by page
// on every query, which costs about as much as a tenth of the reading
// itself. A reading started inside another one gets a buffer of its own.
class PieceBuffer {
public:
    PieceBuffer() : kept_(!keptInUse()) {
        if (kept_) {
            keptInUse() = true;
        }
        std::string& b = bytes();
        if (b.size() != kPieceSlots * kHistorySlotLength) {
            b.assign(kPieceSlots * kHistorySlotLength, '\0');
        }
    }
    ~PieceBuffer() {
        if (kept_) {
            keptInUse() = false;
        }
    }
    PieceBuffer(const PieceBuffer&) = delete;
    PieceBuffer& operator=(const PieceBuffer&) = delete;

    std::string& bytes() { return kept_ ? kept() : own_; }

private:
    static std::string& kept() {
        thread_local std::string buffer;
        return buffer;
    }
    static bool& keptInUse() {
        thread_local bool inUse = false;
        return inUse;
    }

    bool kept_;
    std::string own_;
};

IoStatus readFailed(const std::filesystem::path& file) {
    return IoStatus::failure(IoError::ReadFailed, "无法读取文件“" + displayName(file) + "”。");
}

}  // namespace

JiluRec decodeJilu(std::string_view data) {
    JiluRec r;
    r.Riqi = le::readDouble(data, kRiqi);
    r.Kehuming = textAt(data, kKehuming);
    r.Yinjianming = textAt(data, kYinjianming);
    r.Shuliang = le::readFloat(data, kShuliang);
    r.Guige = textAt(data, kGuige);
    r.Yaoqiu = textAt(data, kYaoqiu);
    r.Danjia = le::readFloat(data, kDanjia);
    r.Zongjia = le::readFloat(data, kZongjia);
    return r;
}

std::string_view customerFieldOf(std::string_view data) {
    return data.substr(kKehuming.offset, kKehuming.width);
}

std::string_view customerBytesOf(std::string_view data) {
    std::string_view customer = customerFieldOf(data);
    while (!customer.empty() && (customer.back() == ' ' || customer.back() == '\0')) {
        customer.remove_suffix(1);
    }
    return customer;
}

std::string_view jobNameFieldOf(std::string_view data) {
    return data.substr(kYinjianming.offset, kYinjianming.width);
}

float totalPriceOf(std::string_view data) {
    return le::readFloat(data, kZongjia);
}

IoStatus forEachHistoryPiece(const std::filesystem::path& file, const HistoryPieceVisitor& visit,
                             const HistoryProgress& keepGoing, bool* stopped) {
    if (stopped != nullptr) {
        *stopped = false;
    }
    native::File in = native::File::openForReading(file);
    if (!in.valid()) {
        return native::lastFault() == native::Fault::Missing ? IoStatus::success()
                                                             : readFailed(file);
    }
    // A folder, FIFO or device in its place is no history.
    if (!in.isRegular()) {
        return notRegularFile(file);
    }
    const std::uint64_t total = in.size();
    in.adviseSequential();

    PieceBuffer buffer;
    std::string& piece = buffer.bytes();
    std::uint64_t done = 0;
    for (;;) {
        std::size_t got = 0;
        if (!fill(in, piece, got)) {
            return readFailed(file);
        }
        done += got;
        if (const std::size_t n = wholeRecords(got); n > 0) {
            visit(HistoryPiece{std::string_view(piece).substr(0, got), n});
        }
        // A short piece is the end of the file (its torn tail, if any, is
        // not a record).
        if (got < piece.size()) {
            return IoStatus::success();
        }
        if (keepGoing && !keepGoing(done, std::max(total, done))) {
            if (stopped != nullptr) {
                *stopped = true;
            }
            return IoStatus::success();
        }
    }
}

IoStatus forEachHistoryRecord(const std::filesystem::path& file, const HistoryVisitor& visit,
                              const HistoryProgress& keepGoing, bool* stopped) {
    return forEachHistoryPiece(
        file,
        [&](const HistoryPiece& piece) {
            for (std::size_t i = 0; i < piece.count; ++i) {
                visit(piece.data(i));
            }
        },
        keepGoing, stopped);
}

IoStatus countHistoryRecords(const std::filesystem::path& file, std::uint64_t& count) {
    count = 0;
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(file, ec);
    if (ec) {
        return ec == std::errc::no_such_file_or_directory ? IoStatus::success() : readFailed(file);
    }
    count = bytes / kHistorySlotLength + (bytes % kHistorySlotLength >= kJiluDataLength ? 1 : 0);
    return IoStatus::success();
}

std::vector<JiluRec> parseHistory(std::string_view bytes) {
    std::vector<JiluRec> out;
    const std::size_t n = wholeRecords(bytes.size());
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        out.push_back(decodeJilu(bytes.substr(i * kHistorySlotLength, kJiluDataLength)));
    }
    return out;
}

IoStatus readHistory(const std::filesystem::path& file, std::vector<JiluRec>& out) {
    out.clear();
    IoStatus status =
        forEachHistoryRecord(file, [&](std::string_view data) { out.push_back(decodeJilu(data)); });
    if (!status) {
        out.clear();
    }
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

namespace {

// Copies the whole records that `keep` accepts into `writer`, each as a full
// slot with zero filler, then the extra slot when given. A failed write is
// kept by the writer, whose commit or stage reports it.
IoStatus writeRewrite(const std::filesystem::path& file,
                      const std::function<bool(std::string_view data)>& keep,
                      std::string_view extraSlot, AtomicFileWriter& writer, std::size_t& gone) {
    std::string out;
    out.reserve(kPieceSlots * kHistorySlotLength);
    gone = 0;
    bool writing = true;
    const IoStatus read = forEachHistoryRecord(file, [&](std::string_view data) {
        if (!keep(data)) {
            ++gone;
            return;
        }
        out.append(data);
        out.append(kHistorySlotLength - kJiluDataLength, '\0');
        if (out.size() >= kPieceSlots * kHistorySlotLength) {
            writing = writing && writer.write(out);
            out.clear();
        }
    });
    if (read && writing) {
        out.append(extraSlot);
        writer.write(out);
    }
    return read;
}

// The new history replaces the old one in a single rename.
IoStatus rewriteHistory(const std::filesystem::path& file,
                        const std::function<bool(std::string_view data)>& keep,
                        std::string_view extraSlot, std::size_t* dropped) {
    AtomicFileWriter writer(file);
    std::size_t gone = 0;
    const IoStatus read = writeRewrite(file, keep, extraSlot, writer, gone);
    if (!read) {
        return read;
    }
    const IoStatus status = writer.commit();  // reports a failed write and discards
    if (status && dropped != nullptr) {
        *dropped = gone;
    }
    return status;
}

}  // namespace

IoStatus stageHistoryRewrite(const std::filesystem::path& file,
                             const std::function<bool(std::string_view data)>& keep,
                             std::string_view extraSlot, std::filesystem::path& staged,
                             std::size_t* dropped) {
    staged.clear();
    AtomicFileWriter writer(file);
    std::size_t gone = 0;
    const IoStatus read = writeRewrite(file, keep, extraSlot, writer, gone);
    if (!read) {
        return read;
    }
    const IoStatus status = writer.stage(staged);
    if (status && dropped != nullptr) {
        *dropped = gone;
    }
    return status;
}

IoStatus appendHistory(const std::filesystem::path& file, const JiluRec& rec) {
    std::string slot;
    IoStatus status = encodeJiluSlot(rec, slot);
    if (!status) {
        return status;
    }
    // The new slot goes after the last whole record. When the file ends with
    // whole records (the last one perhaps without its filler), it is written
    // there in place: the old records are not touched, and a failure cuts
    // the file back. A save that a crash tears is a torn tail, which every
    // reader ignores. A torn tail already there, a new history or a file
    // this program may not write goes through a copy instead, which
    // replaces the file in one rename, as saving always did.
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    const std::uint64_t tail = ec ? 0 : size % kHistorySlotLength;
    if (!ec && size > 0 && (tail == 0 || tail >= kJiluDataLength) && native::isWritable(file)) {
        const std::string filler(tail == 0 ? 0 : kHistorySlotLength - tail, '\0');
        status = appendToFile(file, size, filler + slot);
        if (status || status.error != IoError::Missing) {
            return status;
        }
    }
    return rewriteHistory(
        file, [](std::string_view) { return true; }, slot, nullptr);
}

IoStatus deleteHistoryUpTo(const std::filesystem::path& file, double cutoffDay,
                           std::size_t* dropped) {
    return rewriteHistory(
        file, [cutoffDay](std::string_view data) { return savedDayOf(data) > cutoffDay; }, {},
        dropped);
}

IoStatus deleteAllHistory(const std::filesystem::path& file) {
    return removeFile(file);
}

}  // namespace inkquot
