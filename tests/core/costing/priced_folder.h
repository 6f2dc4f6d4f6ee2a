#pragma once

#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

#include "core/common/program_folder.h"
#include "core/costing/cost_records.h"
#include "core/costing/job_reading.h"
#include "core/costing/part_costing.h"
#include "tests/core/common/temp_folder.h"
#include "tests/core/costing/default_book.h"
#include "tests/core/costing/sample_parts.h"

namespace inkquot::testing {

// A program folder whose working price files hold the built-in scheme.
class PricedFolder {
public:
    PricedFolder() : folder_(temp_.path()) { EXPECT_TRUE(writeDefaultWorkingFiles(folder_).ok()); }

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

// Runs one costing procedure on `form` over the shared folder. The result
// starts with a stale price, which a refusal must not leave behind. With
// `outcome` the caller judges the outcome; without it, the job must be
// costed.
template <typename... Params>
CostResult costWith(CostOutcome* outcome,
                    CostOutcome (*procedure)(const PriceSource&, const JobForm&, CostResult&,
                                             Params...),
                    const JobForm& form, std::type_identity_t<Params>... args) {
    CostResult result;
    result.TotalPrice = 12345;
    const CostOutcome o = procedure(PricedFolder::shared(), form, result, args...);
    if (outcome != nullptr) {
        *outcome = o;
    } else {
        EXPECT_TRUE(o.ok()) << o.refusal;
    }
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
