#pragma once

#include <array>
#include <filesystem>
#include <vector>

#include "core/common/io_status.h"
#include "core/common/program_folder.h"
#include "core/pricedata/price_tables.h"

namespace inkquot {

// One process price item: its unit price and the four factors that scale it
// for other colour counts, sheet sizes or layers (0 where the item has none).
struct GongItem {
    float Danjia = 0;
    float Tag1 = 0;
    float Tag2 = 0;
    float Tag3 = 0;
    float Tag4 = 0;
};

// The working copy of the current scheme's prices, addressed by record number
// exactly like the files (element 0 of each array is unused).
//
// Paper prices already include the paper management fee (a percentage, the
// basic data record jiben_record::PaperManagementFee): zhi[i] is yuan per
// ton, zhibu[i] yuan per 对开 sheet of sticker paper. The record numbers the
// cost rules read are named in price_record_numbers.h.
//
// A table file is never trusted: a stored value that is not a finite number
// (a garbled or hand-edited file) is taken as 0, and so is a paper price whose
// fee-raised value no longer fits a 32-bit float. The book therefore only ever
// holds finite numbers.
struct PriceBook {
    static constexpr int kJibenCount = 18;
    static constexpr int kGongCount = 44;
    static constexpr int kZhiCount = 50;
    static constexpr int kZhibuCount = 10;

    std::array<float, kJibenCount + 1> jiben{};
    std::array<GongItem, kGongCount + 1> gong{};
    std::array<float, kZhiCount + 1> zhi{};
    std::array<float, kZhibuCount + 1> zhibu{};
};

// Builds the book from the bytes of the four tables. Only the numbers are
// read; a short or empty image gives zeros for the records it lacks.
PriceBook priceBookFromImages(const TableImage& jiben, const TableImage& gongjia,
                              const TableImage& zhijia, const TableImage& zhijiabu);

// Raises a stored paper price by the management fee: price × (fee / 100 + 1),
// formed in double and rounded once to a 32-bit float. Non-finite results
// give 0.
float withManagementFee(float storedPrice, float feePercent);

// Reads the four working files of the program folder (fjiben.dat,
// fgongjia.dat, fzhijia.dat, fzhijiabu.dat, in that order) afresh; nothing is
// cached between calls, so an edit saved a moment ago is priced at once. A
// missing working file reads as an empty table (zeros). On a read failure
// `book` is left all zero and the status says which file failed.
IoStatus LoadPriceBook(const ProgramFolder& folder, PriceBook& book);

// The working price files that do not exist yet. A fresh program folder has
// none until a scheme is selected; costing then would price with zeros.
std::vector<std::filesystem::path> missingWorkingFiles(const ProgramFolder& folder);

}  // namespace inkquot
