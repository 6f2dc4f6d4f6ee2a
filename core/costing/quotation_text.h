#pragma once

#include <string>
#include <string_view>

#include "core/costing/cost_records.h"
#include "core/costing/job_form.h"

namespace inkquot {

// The prompt for the heading of a quotation and its proposed answer.
inline constexpr std::string_view kQuotationTitlePrompt = "请输入打印标题";
inline constexpr std::string_view kQuotationTitleProposal = "XXX印务有限公司报价单";

// The addressee line of a quotation: "致", the customer of kind k, "：".
std::string quotationAddressee(const JobForm& form, int kind);

// The letter of a quotation: the job and quantity of kind k as the entry
// boxes hold them now, the prices and the breakdown of the last costing.
// Prepress is film plus imposition, "其它费" every finishing item including
// folding, each kept as a 32-bit float before it is shown. The quantity is
// shown grouped without decimals, the unit price with 4 decimals and every
// other amount with 2.
std::string quotationLetter(const JobForm& form, int kind, const CostResult& result);

}  // namespace inkquot
