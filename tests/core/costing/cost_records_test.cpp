#include "core/costing/cost_records.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/costing/binding_costing.h"
#include "tests/core/costing/default_book.h"

namespace inkquot {
namespace {

// The name tables must follow the declared order of the records: readers
// and writers that go by name rely on it.
template <typename Record, std::size_t N>
void expectDeclarationOrder(const std::array<FloatField<Record>, N>& fields) {
    Record r{};
    const float* first = &(r.*fields[0].member);
    std::set<std::string> names;
    for (std::size_t i = 0; i < N; ++i) {
        EXPECT_EQ(&(r.*fields[i].member), first + i) << fields[i].name;
        EXPECT_TRUE(names.insert(fields[i].name).second) << fields[i].name;
    }
    EXPECT_EQ(sizeof(Record), N * sizeof(float));
}

TEST(CostRecords, FieldTablesFollowTheRecords) {
    expectDeclarationOrder(kPartSpecFields);
    expectDeclarationOrder(kPartCostFields);
    expectDeclarationOrder(kCostResultFields);
    EXPECT_STREQ(kPartSpecFields[34].name, "dieBoardDifficulty");
    EXPECT_STREQ(kCostResultFields[14].name, "BindingCost");
}

TEST(CostRecords, AddPartCostAddsTheThirteenItemsByName) {
    CostResult result;
    result.UnitPrice = 7;
    result.TotalPrice = 8;
    result.BindingCost = 9;
    PartCost part;
    float v = 1;
    for (const auto& field : kPartCostFields) {
        part.*field.member = v++;
    }
    AddPartCost(part, result);
    AddPartCost(part, result);
    v = 1;
    for (const auto& field : kPartCostFields) {
        for (const auto& target : kCostResultFields) {
            if (std::string(target.name) == field.name) {
                EXPECT_EQ(result.*target.member, 2 * v) << field.name;
            }
        }
        ++v;
    }
    EXPECT_EQ(result.UnitPrice, 7);
    EXPECT_EQ(result.TotalPrice, 8);
    EXPECT_EQ(result.BindingCost, 9);
    ClearCostResult(result);
    for (const auto& field : kCostResultFields) {
        EXPECT_EQ(result.*field.member, 0) << field.name;
    }
}

TEST(CostRecords, FinishingSumsInDoubleAndRoundsOnce) {
    const struct {
        const char* name;
        float film;
        float others;  // each of the thirteen other items
        float quantity;
        float total;
        float unit;
    } rows[] = {
        {"example", 800, 0, 1000, 800, 0.8f},
        // 2^24 + 13 ones: a float running sum would stay at 2^24.
        {"one rounding", 16777216, 1, 1000, 16777228, 16777.228f},
        {"zero quantity", 10, 1, 0, 23, 0},
        {"negative quantity", 10, 1, -2, 23, -11.5f},
        {"unit overflows", 3e38f, 0, 1e-3f, 3e38f, 0},
    };
    for (const auto& r : rows) {
        CostResult result;
        for (const auto& field : kCostResultFields) {
            result.*field.member = r.others;
        }
        result.FilmCost = r.film;
        result.UnitPrice = 99;
        FinishCostResult(result, r.quantity);
        EXPECT_EQ(result.TotalPrice, r.total) << r.name;
        EXPECT_FLOAT_EQ(result.UnitPrice, r.unit) << r.name;
    }
}

struct BindingCase {
    float copies;
    float kai;
    float pages;
    float form;
    float expected;
};

class Binding : public ::testing::TestWithParam<BindingCase> {};

TEST_P(Binding, ChargesCopiesAndSignatures) {
    const BindingCase& c = GetParam();
    const BindingOutcome outcome =
        costBindingWithBook(testing::defaultPriceBook(), 1, c.copies, c.kai, c.pages, c.form);
    EXPECT_EQ(outcome.status, BindingStatus::Costed);
    EXPECT_FLOAT_EQ(outcome.BindingCost, c.expected);
}

// 骑马订 of a 16开 book of 96 pages: (24 × 0.02 + 0.1) per copy.
INSTANTIATE_TEST_SUITE_P(
    Forms, Binding,
    ::testing::Values(BindingCase{2000, 16, 96, 1, 1160},  // 24 signatures
                      BindingCase{2000, 16, 98, 1, 1160},  // 98 pages: still 24
                      BindingCase{2000, 16, 99.9f, 1, 1160}, BindingCase{2000, 16, 100, 1, 1200},
                      BindingCase{300, 16, 96, 1, 580},  // charged as 1000 copies
                      BindingCase{2000, 8, 96, 1, 1740}, BindingCase{2000, 17, 96, 1, 928},
                      BindingCase{2000, 32, 96, 1, 928}, BindingCase{2000, 33, 96, 1, 696},
                      BindingCase{2000, 64, 96, 1, 696}, BindingCase{2000, 65, 96, 1, 464},
                      BindingCase{2000, 16, 96, 2, 3440}, BindingCase{2000, 16, 96, 3, 7440},
                      BindingCase{2000, 16, 96, 4, 2960}, BindingCase{2000, 16, 96, 5, 2960},
                      BindingCase{2000, 16, 96, 6, 2960}, BindingCase{2000, 16, 96, 7, 0},
                      BindingCase{2000, 16, 96, 0, 0}, BindingCase{2000, 16, 96, 1.5f, 0}));

TEST(Binding, OnlyABindFlagOfOneBinds) {
    const PriceBook book = testing::defaultPriceBook();
    for (float flag : {0.0f, 2.0f, 0.5f}) {
        CostResult result;
        result.BindingCost = 5;
        EXPECT_EQ(CostBinding(book, result, flag, 2000, 16, 96, 1), BindingStatus::NotBound);
        EXPECT_EQ(result.BindingCost, 5);
    }
    CostResult result;
    EXPECT_EQ(CostBinding(book, result, 1, 2000, 16, 96, 1), BindingStatus::Costed);
    EXPECT_FLOAT_EQ(result.BindingCost, 1160);
}

TEST(Binding, ImpossibleInputsCostNothing) {
    const PriceBook book = testing::defaultPriceBook();
    const float inf = std::numeric_limits<float>::infinity();
    CostResult result;
    result.BindingCost = 5;
    EXPECT_EQ(CostBinding(book, result, 1, inf, 16, 96, 1), BindingStatus::NonFiniteInput);
    EXPECT_EQ(result.BindingCost, 0);
    EXPECT_EQ(CostBinding(book, result, 1, 3e38f, 16, 3e38f, 1), BindingStatus::ResultOutOfRange);
    EXPECT_EQ(result.BindingCost, 0);
}

}  // namespace
}  // namespace inkquot
