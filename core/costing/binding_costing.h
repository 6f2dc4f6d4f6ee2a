#pragma once

#include "core/costing/cost_records.h"
#include "core/costing/price_book.h"

namespace inkquot {

enum class BindingStatus {
    Costed,
    NotBound,          // bindFlag is not 1: nothing is charged
    NonFiniteInput,    // one of the five values is an infinity or NaN
    ResultOutOfRange,  // the cost exceeds the float range
};

struct BindingOutcome {
    BindingStatus status = BindingStatus::Costed;
    float BindingCost = 0;
    double signatures = 0;    // pages / 4, rounded down
    float chargedCopies = 0;  // the copies, at least the binding minimum
};

// Binding of a book: a price per copy plus a price per signature (贴, four
// pages), scaled by the size of the book and charged for at least the
// binding minimum of the basic data (装订起点计费数) copies. bindingForm:
// 1 骑马订, 2 锁线胶订, 3 精装, 4..6 其它装订形式一..三; any other form costs 0.
// Every status but Costed comes with a cost of 0.
BindingOutcome costBindingWithBook(const PriceBook& book, float bindFlag, float copies, float kai,
                                   float pages, float bindingForm);

// Writes result.BindingCost from the book that the job's last CostPart
// loaded; when bindFlag is not 1 the result is left untouched.
BindingStatus CostBinding(const PriceBook& book, CostResult& result, float bindFlag, float copies,
                          float kai, float pages, float bindingForm);

}  // namespace inkquot
