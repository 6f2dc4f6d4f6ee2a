#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/io_status.h"

namespace inkquot {

// The four tables of a price scheme. Each is a file of fixed-length slots;
// record n (from 1) starts at (n - 1) * slotLength, its fields packed at the
// start of the slot, the rest of the slot filler.
enum class PriceTable { Jiben, Gongjia, Zhijia, Zhijiabu };

struct TableLayout {
    std::size_t slotLength;
    std::size_t dataLength;
    int recordCount;
    const char* workingFile;   // in the program folder, e.g. "fjiben.dat"
    const char* schemeSuffix;  // after the scheme name in jgfa, e.g. "ji.dat"
};

const TableLayout& layoutOf(PriceTable table);
constexpr std::array<PriceTable, 4> kAllPriceTables = {PriceTable::Jiben, PriceTable::Gongjia,
                                                       PriceTable::Zhijia, PriceTable::Zhijiabu};

// Texts are UTF-8 in memory and keep the padding spaces of their field.
struct JibenRec {
    std::int32_t Bianhao = 0;
    std::string Mingcheng;  // 20 bytes
    float Shuju = 0;
    std::string Danwei;    // 12 bytes
    std::string Shuoming;  // 100 bytes
};

struct GongjiaRec {
    std::int32_t Bianhao = 0;
    std::string Mingcheng;  // 30 bytes
    float Danjia = 0;
    std::string Danwei;  // 12 bytes
    float Tag1 = 0;
    float Tag2 = 0;
    float Tag3 = 0;
    float Tag4 = 0;
    std::string Shuoming;  // 200 bytes
};

// Paper and sticker paper share one layout.
struct ZhijiaRec {
    std::int32_t Bianhao = 0;
    std::string Mingcheng;  // 20 bytes
    float Jiage = 0;
    std::string Danwei;    // 12 bytes
    std::string Shuoming;  // 30 bytes
    std::int32_t Neizhi = 0;
};
using ZhijiabuRec = ZhijiaRec;

// The bytes of one table file as read from disk. Slots beyond the end of a
// short, empty or missing file read as zero numbers and blank texts.
class TableImage {
public:
    TableImage() = default;
    TableImage(PriceTable table, std::string bytes);

    // Reads the file's slots 1..N in one go (bytes beyond them are not
    // needed); a missing file is an empty image.
    static IoStatus load(const std::filesystem::path& file, PriceTable table, TableImage& out);

    PriceTable table() const { return table_; }
    const std::string& bytes() const { return bytes_; }

    // Fields of record `record` (from 1) at a byte offset within its data.
    // Bytes beyond the end of the image read as zero (numbers) or spaces
    // (texts). A stored NaN or infinity reads as 0, so a garbled file can
    // never put a non-finite price into a computation.
    std::int32_t int32At(int record, std::size_t offset) const;
    float floatAt(int record, std::size_t offset) const;
    // Decodes a GBK field to UTF-8, keeping its padding spaces; zero bytes
    // read as spaces.
    std::string textAt(int record, std::size_t offset, std::size_t width) const;

private:
    PriceTable table_ = PriceTable::Jiben;
    std::string bytes_;
};

// Field offsets within a record's data, for TableImage's accessors.
namespace jiben_field {
inline constexpr std::size_t Bianhao = 0, Mingcheng = 4, Shuju = 24, Danwei = 28, Shuoming = 40;
inline constexpr std::size_t MingchengWidth = 20, DanweiWidth = 12, ShuomingWidth = 100;
}  // namespace jiben_field
namespace gongjia_field {
inline constexpr std::size_t Bianhao = 0, Mingcheng = 4, Danjia = 34, Danwei = 38, Tag1 = 50,
                             Tag2 = 54, Tag3 = 58, Tag4 = 62, Shuoming = 66;
inline constexpr std::size_t MingchengWidth = 30, DanweiWidth = 12, ShuomingWidth = 200;
}  // namespace gongjia_field
namespace zhijia_field {
inline constexpr std::size_t Bianhao = 0, Mingcheng = 4, Jiage = 24, Danwei = 28, Shuoming = 40,
                             Neizhi = 70;
inline constexpr std::size_t MingchengWidth = 20, DanweiWidth = 12, ShuomingWidth = 30;
}  // namespace zhijia_field

// Decoding records 1..N of a table from its bytes (element 0 is record 1).
// Any bytes decode: a short image gives zeros and blanks.
std::vector<JibenRec> jibenTableOf(const TableImage& image);
std::vector<GongjiaRec> gongjiaTableOf(const TableImage& image);
std::vector<ZhijiaRec> zhijiaTableOf(const TableImage& image);  // paper or sticker paper

// Whole-table readers, records 1..N in order (element 0 is record 1), prices
// exactly as stored (no management fee). A missing file reads as empty.
IoStatus readJibenTable(const std::filesystem::path& file, std::vector<JibenRec>& out);
IoStatus readGongjiaTable(const std::filesystem::path& file, std::vector<GongjiaRec>& out);
IoStatus readZhijiaTable(const std::filesystem::path& file, std::vector<ZhijiaRec>& out);
IoStatus readZhijiabuTable(const std::filesystem::path& file, std::vector<ZhijiabuRec>& out);

// Encoding one record into its slot (data, then zero filler). Fails when a
// text cannot be written in GBK; a text longer than its field is cut without
// splitting a double-byte character.
IoStatus encodeSlot(const JibenRec& rec, std::string& slot);
IoStatus encodeSlot(const GongjiaRec& rec, std::string& slot);
IoStatus encodeSlot(const ZhijiaRec& rec, PriceTable table, std::string& slot);

// Writes record n (from 1) into its slot, replacing the file atomically; the
// file is created when missing and grows with zero slots when shorter.
IoStatus writeRecord(const std::filesystem::path& file, int record, const JibenRec& rec);
IoStatus writeRecord(const std::filesystem::path& file, int record, const GongjiaRec& rec);
IoStatus writeRecord(const std::filesystem::path& file, PriceTable table, int record,
                     const ZhijiaRec& rec);

// Writes records 1..N of a whole table in one atomic replacement; slots
// beyond N that an older, longer file holds are kept.
IoStatus writeTable(const std::filesystem::path& file, const std::vector<JibenRec>& recs);
IoStatus writeTable(const std::filesystem::path& file, const std::vector<GongjiaRec>& recs);
IoStatus writeTable(const std::filesystem::path& file, PriceTable table,
                    const std::vector<ZhijiaRec>& recs);

}  // namespace inkquot
