#include "core/costing/price_book.h"

#include <cmath>
#include <cstddef>
#include <string>

#include "core/common/file_io.h"
#include "core/common/file_switch.h"
#include "core/costing/price_record_numbers.h"
#include "core/costing/stored_float.h"

namespace inkquot {

namespace {

float finiteOrZero(float v) {
    return std::isfinite(v) ? v : 0.0f;
}

// A stored NaN or infinity already reads as 0.
float readFloat(const TableImage& image, int record, std::size_t offset) {
    return image.floatAt(record, offset);
}

}  // namespace

float withManagementFee(float storedPrice, float feePercent) {
    const double raised =
        (static_cast<double>(feePercent) / 100.0 + 1.0) * static_cast<double>(storedPrice);
    return finiteOrZero(storedFloat(raised));
}

PriceBook priceBookFromImages(const TableImage& jiben, const TableImage& gongjia,
                              const TableImage& zhijia, const TableImage& zhijiabu) {
    PriceBook book;
    for (int i = 1; i <= PriceBook::kJibenCount; ++i) {
        book.jiben[i] = readFloat(jiben, i, jiben_field::Shuju);
    }
    for (int k = 1; k <= PriceBook::kGongCount; ++k) {
        GongItem& item = book.gong[k];
        item.Danjia = readFloat(gongjia, k, gongjia_field::Danjia);
        item.Tag1 = readFloat(gongjia, k, gongjia_field::Tag1);
        item.Tag2 = readFloat(gongjia, k, gongjia_field::Tag2);
        item.Tag3 = readFloat(gongjia, k, gongjia_field::Tag3);
        item.Tag4 = readFloat(gongjia, k, gongjia_field::Tag4);
    }
    const float fee = book.jiben[jiben_record::PaperManagementFee];
    for (int i = 1; i <= PriceBook::kZhiCount; ++i) {
        book.zhi[i] = withManagementFee(readFloat(zhijia, i, zhijia_field::Jiage), fee);
    }
    for (int i = 1; i <= PriceBook::kZhibuCount; ++i) {
        book.zhibu[i] = withManagementFee(readFloat(zhijiabu, i, zhijia_field::Jiage), fee);
    }
    return book;
}

IoStatus LoadPriceBook(const ProgramFolder& folder, PriceBook& book) {
    book = PriceBook{};
    // A scheme operation interrupted by a crash is undone before the working
    // files are read, so a price never comes from a mixture of two schemes.
    if (IoStatus recovered = recoverSwitch(folder); !recovered) {
        return recovered;
    }
    std::array<TableImage, 4> images;
    for (std::size_t t = 0; t < kAllPriceTables.size(); ++t) {
        const PriceTable table = kAllPriceTables[t];
        // One open, one read, one close per file: every part costing does this.
        IoStatus status =
            TableImage::load(folder.file(layoutOf(table).workingFile), table, images[t]);
        if (!status) {
            return status;
        }
    }
    book = priceBookFromImages(images[0], images[1], images[2], images[3]);
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
