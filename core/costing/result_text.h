#pragma once

#include <string>

#include "core/costing/cost_records.h"
#include "core/costing/job_form.h"

namespace inkquot {

// The fourteen lines shown after a pricing run, each ended by CR LF: the
// customer and job of kind k, quantity, unit price and total, then the
// breakdown. Prepress is film plus imposition; "其它费" gathers every
// finishing item, folding included, which has no line of its own.
std::string composeResultText(const JobForm& form, int kind, const CostResult& result);

// The two sums the result text and the quotation show, each added in double
// and kept as a 32-bit float: prepress (film and imposition) and "其它费".
float prepressCost(const CostResult& result);
float otherCost(const CostResult& result);
// An amount of money as shown: two decimals, grouped ("12,345.60").
std::string amountText(float v);

// The size saved with a quotation: series, 开 and "开" of the kind's own size
// group, e.g. "大度16开" (a book's whole-book size, never its cover's).
std::string composeGuige(const JobForm& form, int kind);

// What the job asks for, piece by piece (papers and colours of each part,
// film, finishing, binding), e.g.
// "封面大度8开157克铜版纸4+0色印刷；内页一48页，128克铜版纸4+4色印刷；骑马订装订；".
std::string composeProcessing(const JobForm& form, int kind);

// The description as stored: its first 150 characters.
std::string composeYaoqiu(const JobForm& form, int kind);

// The first `count` characters of a UTF-8 text.
std::string firstCharacters(const std::string& utf8, std::size_t count);

}  // namespace inkquot
