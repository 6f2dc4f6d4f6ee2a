#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/common/io_status.h"
#include "core/common/program_folder.h"
#include "core/costing/cost_records.h"
#include "core/costing/price_book.h"
#include "core/job/form_state.h"

namespace inkquot {

// What a scheme's column says when its tables cannot be priced from.
inline constexpr std::string_view kDamagedSchemeText = "方案数据损坏";

// Reads the four tables of a stored scheme into a price book, as selecting
// the scheme would put them to work, without writing anything. Refused, the
// message starting with kDamagedSchemeText and saying why, when a table is
// missing, cannot be read or is damaged (short, or a number no price can be).
IoStatus loadSchemeBook(const ProgramFolder& folder, std::string_view scheme, PriceBook& book);

// A job priced under one stored scheme. `problem` is empty when the job was
// priced; otherwise it says why not (a damaged scheme, or the costing's own
// refusal) and the result is all zero.
struct SchemePrice {
    std::string scheme;
    std::string problem;
    bool damaged = false;
    CostResult result;
};

// Prices `job` from the stored tables of `scheme`, exactly as a pricing run
// would after selecting it, while the scheme in use and every file stay as
// they are. The job keeps its paper choices by list position: a scheme that
// lists other papers prices its own paper at that position.
SchemePrice priceUnderScheme(const ProgramFolder& folder, std::string_view scheme,
                             const FormState& job);

// The job under every scheme of the scheme list, in the list's order. A
// damaged scheme is one column that says so; the others are still priced.
// Fails only when the list itself cannot be read.
IoStatus priceUnderEveryScheme(const ProgramFolder& folder, const FormState& job,
                               std::vector<SchemePrice>& prices);

}  // namespace inkquot
