#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "core/common/program_folder.h"
#include "core/costing/cost_records.h"
#include "core/costing/part_costing.h"
#include "core/pricedata/default_scheme.h"
#include "core/pricedata/price_tables.h"
#include "tests/core/common/temp_folder.h"
#include "tests/core/costing/default_book.h"

namespace inkquot::testing {

// A program folder whose working price files hold the built-in scheme.
class PricedFolder {
public:
    PricedFolder() : folder_(temp_.path()) {
        EXPECT_TRUE(writeTable(folder_.file("fjiben.dat"), defaultJibenTable()).ok());
        EXPECT_TRUE(writeTable(folder_.file("fgongjia.dat"), defaultGongjiaTable()).ok());
        EXPECT_TRUE(
            writeTable(folder_.file("fzhijia.dat"), PriceTable::Zhijia, defaultZhijiaTable()).ok());
        EXPECT_TRUE(
            writeTable(folder_.file("fzhijiabu.dat"), PriceTable::Zhijiabu, defaultZhijiabuTable())
                .ok());
    }

    const ProgramFolder& folder() const { return folder_; }

    // One folder for the whole test run: writing the tables flushes each file
    // to disk, which is slow, and the costing only reads them.
    static const ProgramFolder& shared() {
        static const PricedFolder folder;
        return folder.folder();
    }

private:
    testing_support::TempFolder temp_;
    ProgramFolder folder_;
};

// The result of a job made of exactly these parts, in this order, priced
// with the built-in scheme: what a procedure must produce when it costs the
// right parts the right number of times.
inline CostResult resultOfParts(const std::vector<PartSpec>& parts, float quantity,
                                float bindingCost = 0) {
    const PriceBook book = defaultPriceBook();
    CostResult result;
    for (const PartSpec& spec : parts) {
        AddPartCost(costPartWithBook(book, spec).cost, result);
    }
    result.BindingCost = bindingCost;
    FinishCostResult(result, quantity);
    return result;
}

inline void expectSameResult(const CostResult& actual, const CostResult& expected) {
    for (const auto& field : kCostResultFields) {
        EXPECT_FLOAT_EQ(actual.*field.member, expected.*field.member) << field.name;
    }
}

inline void expectAllZero(const CostResult& result) {
    for (const auto& field : kCostResultFields) {
        EXPECT_EQ(result.*field.member, 0.0f) << field.name;
    }
}

}  // namespace inkquot::testing
