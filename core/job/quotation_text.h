#pragma once

#include <string>
#include <string_view>

#include "core/job/priced_job.h"

namespace inkquot {

// The prompt for the heading of a quotation and its proposed answer.
inline constexpr std::string_view kQuotationTitlePrompt = "请输入打印标题";
inline constexpr std::string_view kQuotationTitleProposal = "XXX印务有限公司报价单";

// The addressee line of a quotation: "致", the customer, "：".
std::string quotationAddressee(const PricedJob& job);

// The letter of a quotation: the job name and quantity, the prices and the
// breakdown of the priced job.
// Prepress is film plus imposition, "其它费" every finishing item including
// folding, each kept as a 32-bit float before it is shown. The quantity is
// shown grouped without decimals, the unit price with 4 decimals and every
// other amount with 2.
std::string quotationLetter(const PricedJob& job);

}  // namespace inkquot
