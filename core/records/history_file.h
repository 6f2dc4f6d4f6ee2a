#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/io_status.h"
#include "core/common/le_bytes.h"

namespace inkquot {

// One saved quotation of the history file frecord.dat. Texts are UTF-8 in
// memory and keep the padding spaces of their field when read.
struct JiluRec {
    double Riqi = 0;          // day saved, counted from 30 December 1899
    std::string Kehuming;     // customer name, 60 bytes
    std::string Yinjianming;  // job name, 40 bytes
    float Shuliang = 0;       // quantity
    std::string Guige;        // size, e.g. 大度16开, 20 bytes
    std::string Yaoqiu;       // processing requirements, 300 bytes
    float Danjia = 0;         // unit price
    float Zongjia = 0;        // total price
};

// Each record sits in an 860-byte slot; its data fill the first 440 bytes and
// the rest is zero filler. The last slot may end right after its data.
inline constexpr std::size_t kHistorySlotLength = 860;
inline constexpr std::size_t kJiluDataLength = 440;
inline constexpr const char* kHistoryFileName = "frecord.dat";

// The data bytes of one record (the first 440 bytes of its slot) decoded.
JiluRec decodeJilu(std::string_view data);

// Raw fields of a record's data bytes, for searching without decoding. The
// day saved leads the record.
inline double savedDayOf(std::string_view data) {
    return le::readDouble(data, 0);
}
std::string_view customerFieldOf(std::string_view data);
// The customer field without its trailing padding (blanks or zeros): the
// customer as the history names it, still in GBK.
std::string_view customerBytesOf(std::string_view data);
std::string_view jobNameFieldOf(std::string_view data);
float totalPriceOf(std::string_view data);

// Whole records read together: `count` slots one after the other, the last
// perhaps without its filler.
struct HistoryPiece {
    std::string_view bytes;
    std::size_t count = 0;

    std::string_view data(std::size_t i) const {
        return bytes.substr(i * kHistorySlotLength, kJiluDataLength);
    }
};

// Reads a history file of any size piece by piece, in file order, holding one
// piece (880 KB, kept for the next reading) in memory. `visit`
// gets the data bytes of every whole record; a torn tail is ignored. After
// each piece `keepGoing` (when given) learns the bytes read so far and the
// file size; when it answers false the reading stops there and `stopped` is
// set. A missing file is an empty history.
using HistoryVisitor = std::function<void(std::string_view data)>;
using HistoryProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;
IoStatus forEachHistoryRecord(const std::filesystem::path& file, const HistoryVisitor& visit,
                              const HistoryProgress& keepGoing = {}, bool* stopped = nullptr);

// The same reading, a piece of whole records at a time.
using HistoryPieceVisitor = std::function<void(const HistoryPiece& piece)>;
IoStatus forEachHistoryPiece(const std::filesystem::path& file, const HistoryPieceVisitor& visit,
                             const HistoryProgress& keepGoing = {}, bool* stopped = nullptr);

// The number of whole records in a history file; a missing file has none.
IoStatus countHistoryRecords(const std::filesystem::path& file, std::uint64_t& count);

// Decodes the records of a history file image. Only whole records count: a
// torn tail (fewer than 440 data bytes in the last slot) is ignored.
std::vector<JiluRec> parseHistory(std::string_view bytes);

// Reads every whole record in file order into memory; a missing file is an
// empty history. Only for histories known to be small.
IoStatus readHistory(const std::filesystem::path& file, std::vector<JiluRec>& out);

// Encodes a record into its slot. Refuses a text that GBK cannot hold; a
// longer text is cut to its field without splitting a character.
IoStatus encodeJiluSlot(const JiluRec& rec, std::string& slot);

// Adds a record after the last whole one (a torn tail is replaced), so a
// failure leaves the history as it was: written at the end of the file and
// flushed, or cut back when that fails; where a torn tail must go, the file
// is copied piece by piece to a temporary file with the new record at its
// end and renamed into place.
IoStatus appendHistory(const std::filesystem::path& file, const JiluRec& rec);

// Keeps only the records saved after the cut-off day, in their order; the
// new file replaces the old one in a single rename, so the history is never
// missing. The file is streamed, never held in memory. Returns the number of records dropped in
// `dropped` when given.
IoStatus deleteHistoryUpTo(const std::filesystem::path& file, double cutoffDay,
                           std::size_t* dropped = nullptr);

// The first half of a rewrite that switches the history together with
// another file: the whole records that `keep` accepts, in their order, then
// `extraSlot` (a whole slot, or nothing), go to a flushed temporary file
// beside the history, named in `staged`; the rename is left to the caller.
// `dropped` gets the number of records left out.
IoStatus stageHistoryRewrite(const std::filesystem::path& file,
                             const std::function<bool(std::string_view data)>& keep,
                             std::string_view extraSlot, std::filesystem::path& staged,
                             std::size_t* dropped = nullptr);

// Removes the whole history.
IoStatus deleteAllHistory(const std::filesystem::path& file);

}  // namespace inkquot
