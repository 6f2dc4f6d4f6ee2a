#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/clock.h"
#include "core/common/program_folder.h"
#include "core/costing/cost_records.h"
#include "core/costing/job_form.h"

namespace inkquot {

// A price table: the unit price of the job on the screen over six
// quantities, seven sizes and both paper series, as a shop hands it to a
// customer who has not decided on a run length yet.
inline constexpr int kTableQuantityCount = 6;
inline constexpr int kTableRowCount = 7;
inline constexpr int kTableSeriesCount = 2;
inline constexpr int kTableCellCount = kTableSeriesCount * kTableRowCount * kTableQuantityCount;

// The price labels are numbered series first: block s (0 大度, 1 正度),
// row i, quantity column j.
constexpr int labdanjiaIndex(int series, int row, int column) {
    return series * kTableRowCount * kTableQuantityCount + row * kTableQuantityCount + column;
}

// The half-sheet areas of the two blocks: 大度 then 正度.
inline constexpr std::array<float, kTableSeriesCount> kTableSeriesAreas = {0.53f, 0.43f};

// What a cell shows when the costing refuses the job at that size and run
// length (a page count that does not fit, a value out of range): the cell
// carries no price, and its unit price counts as 0.
inline constexpr std::string_view kRefusedCellText = "-";

// The prompt for the heading of the table and its proposed answer.
inline constexpr std::string_view kTableTitlePrompt = "请输入报价表标题";
inline constexpr std::string_view kTableTitleProposal = "XXX印务有限公司价格表";

struct PriceTableGrid {
    int kind = -1;
    std::string lablei;  // "画册类", "单张类", "纸盒类-裱瓦楞" or "纸盒类-不裱瓦楞"
    std::string labshuoming;  // the description sentence under the heading
    std::array<float, kTableQuantityCount> quantities{};
    // Inner pages for books, 开 for the other kinds.
    std::array<float, kTableRowCount> rows{};
    std::array<std::string, kTableQuantityCount> labshu;  // quantities as text
    // Row labels, the same for both blocks (labddu and labzdu).
    std::array<std::string, kTableRowCount> labddu;
    std::array<float, kTableCellCount> unitPrices{};  // 0 for a refused cell
    std::array<std::string, kTableCellCount> labdanjia;
    std::array<bool, kTableCellCount> refused{};
    // The message of the first refused cell in costing order; empty when
    // every cell was priced.
    std::string refusal;

    int refusedCount() const;
};

// Price tables exist for books, single sheets and boxes; newspapers and
// stickers have none.
bool offersPriceTable(int kind);

// Puts the job into the standard form of a table: the parts and finishing
// that every price in the table includes are ticked, the rest cleared, and
// the spot colours of the main part set to "0". Goes through the form's
// setters, so the screen's own change rules run. Nothing for other kinds.
void forcePriceTableSettings(JobForm& form, int kind);

// The sentence that explains what the prices include, starting with four
// spaces: paper, weight, colours and press of the main part, film, binding,
// gluing and corrugated layers as the form has them.
std::string priceTableDescription(const JobForm& form, int kind);

// "2026年12月": the month a table was made, shown beside it.
std::string tableMonthText(CivilDate date);

// "生成价格表" without its dialogs: for a book, single sheet or box on
// `form`, forces the table settings, composes the labels and costs the 84
// cells (series, then quantity, then row), reloading the price tables for
// every part costing as a pricing run does. `result` is left holding the
// last cell (正度, largest quantity, last row), all zero when that cell was
// refused. For other kinds (or no kind) nothing changes and nothing is
// returned.
std::optional<PriceTableGrid> generatePriceTable(const ProgramFolder& folder, JobForm& form,
                                                 CostResult& result);

}  // namespace inkquot
