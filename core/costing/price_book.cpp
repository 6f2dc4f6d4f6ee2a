#include "core/costing/price_book.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/common/file_io.h"
#include "core/common/file_switch.h"
#include "core/common/le_bytes.h"
#include "core/costing/price_record_numbers.h"
#include "core/costing/stored_float.h"

namespace inkquot {

namespace {

float finiteOrZero(float v) {
    return std::isfinite(v) ? v : 0.0f;
}

// A number cut by the end of the bytes: the bytes that are there, zeros
// after them.
[[gnu::noinline]] float cutNumber(std::string_view bytes, std::size_t pos) {
    return finiteOrZero(le::readFloat(bytes, pos));
}

// The number at `offset` within record `record` (from 1) of a table's bytes,
// each record `slot` bytes long. Bytes past the end read as zero; a stored
// NaN or infinity reads as 0.
inline float storedNumber(std::string_view bytes, std::size_t slot, int record,
                          std::size_t offset) {
    const std::size_t pos = static_cast<std::size_t>(record - 1) * slot + offset;
    if constexpr (std::endian::native == std::endian::little) {
        if (pos + sizeof(float) <= bytes.size()) {
            float v;
            std::memcpy(&v, bytes.data() + pos, sizeof v);
            return finiteOrZero(v);
        }
    }
    return cutNumber(bytes, pos);
}

// Only the numbers the costing reads are taken from each table: the basic
// data's values, the process prices with their factors, the paper prices.
void takeJiben(std::string_view bytes, PriceBook& book) {
    const std::size_t slot = layoutOf(PriceTable::Jiben).slotLength;
    for (int i = 1; i <= PriceBook::kJibenCount; ++i) {
        book.jiben[i] = storedNumber(bytes, slot, i, jiben_field::Shuju);
    }
}

void takeGongjia(std::string_view bytes, PriceBook& book) {
    namespace f = gongjia_field;
    const std::size_t slot = layoutOf(PriceTable::Gongjia).slotLength;
    for (int k = 1; k <= PriceBook::kGongCount; ++k) {
        GongItem& item = book.gong[k];
        item.Danjia = storedNumber(bytes, slot, k, f::Danjia);
        item.Tag1 = storedNumber(bytes, slot, k, f::Tag1);
        item.Tag2 = storedNumber(bytes, slot, k, f::Tag2);
        item.Tag3 = storedNumber(bytes, slot, k, f::Tag3);
        item.Tag4 = storedNumber(bytes, slot, k, f::Tag4);
    }
}

// Paper prices come raised by the management fee of the basic data, which
// is therefore taken first.
template <std::size_t N>
void takePaperPrices(std::string_view bytes, PriceTable table, float fee,
                     std::array<float, N>& prices) {
    const std::size_t slot = layoutOf(table).slotLength;
    for (std::size_t i = 1; i < N; ++i) {
        prices[i] = withManagementFee(
            storedNumber(bytes, slot, static_cast<int>(i), zhijia_field::Jiage), fee);
    }
}

void takeTable(PriceTable table, std::string_view bytes, PriceBook& book) {
    const float fee = book.jiben[jiben_record::PaperManagementFee];
    switch (table) {
        case PriceTable::Jiben:
            takeJiben(bytes, book);
            break;
        case PriceTable::Gongjia:
            takeGongjia(bytes, book);
            break;
        case PriceTable::Zhijia:
            takePaperPrices(bytes, table, fee, book.zhi);
            break;
        case PriceTable::Zhijiabu:
            takePaperPrices(bytes, table, fee, book.zhibu);
            break;
    }
}

// Room for the largest table's records (the process prices: 508 records of
// 44 bytes) and one byte more.
constexpr std::size_t kLargestTableBytes = 508 * 44;

}  // namespace

float withManagementFee(float storedPrice, float feePercent) {
    const double raised =
        (static_cast<double>(feePercent) / 100.0 + 1.0) * static_cast<double>(storedPrice);
    return finiteOrZero(storedFloat(raised));
}

PriceBook priceBookFromImages(const TableImage& jiben, const TableImage& gongjia,
                              const TableImage& zhijia, const TableImage& zhijiabu) {
    PriceBook book;
    takeTable(PriceTable::Jiben, jiben.bytes(), book);
    takeTable(PriceTable::Gongjia, gongjia.bytes(), book);
    takeTable(PriceTable::Zhijia, zhijia.bytes(), book);
    takeTable(PriceTable::Zhijiabu, zhijiabu.bytes(), book);
    return book;
}

IoStatus LoadPriceBook(const ProgramFolder& folder, PriceBook& book) {
    book = PriceBook{};
    // A scheme operation interrupted by a crash is undone before the working
    // files are read, so a price never comes from a mixture of two schemes.
    if (IoStatus recovered = recoverSwitch(folder); !recovered) {
        return recovered;
    }
    // The tables are read in order into one buffer, each taken into the book
    // before the next is read (the basic data comes first: the paper prices
    // need its fee).
    std::array<char, kLargestTableBytes + 1> buffer;
    PriceBook loaded;
    std::string path = folder.fileText("");
    const std::size_t folderLength = path.size();
    for (const PriceTable table : kAllPriceTables) {
        const TableLayout& layout = layoutOf(table);
        const std::size_t limit = layout.slotLength * static_cast<std::size_t>(layout.recordCount);
        if (limit > kLargestTableBytes) {
            throw std::logic_error("LoadPriceBook: a table larger than its buffer");
        }
        // One open, one read, one close per file: every part costing does this.
        path.resize(folderLength);
        path += layout.workingFile;
        std::size_t got = 0;
        IoStatus status = readFilePrefix(path.c_str(), limit, buffer.data(), got, true);
        if (!status) {
            return status;
        }
        takeTable(table, std::string_view(buffer.data(), got), loaded);
    }
    book = loaded;
    return IoStatus::success();
}

std::vector<std::filesystem::path> missingWorkingFiles(const ProgramFolder& folder) {
    std::vector<std::filesystem::path> missing;
    for (const PriceTable table : kAllPriceTables) {
        std::filesystem::path file = folder.file(layoutOf(table).workingFile);
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) {
            missing.push_back(std::move(file));
        }
    }
    return missing;
}

}  // namespace inkquot
