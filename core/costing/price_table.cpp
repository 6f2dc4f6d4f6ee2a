#include "core/costing/price_table.h"

#include <algorithm>
#include <cmath>

#include "core/common/number_text.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/cost_book.h"
#include "core/costing/cost_box_bag.h"
#include "core/costing/cost_single_sheet.h"

namespace inkquot {

namespace {

using Quantities = std::array<float, kTableQuantityCount>;
using Rows = std::array<float, kTableRowCount>;

// Books go to the larger runs of a publisher; leaflets and boxes to longer
// ones, and an unmounted box is rarely made in fewer than 3000.
constexpr Quantities kBookQuantities = {1000, 2000, 3000, 5000, 10000, 20000};
constexpr Quantities kSheetQuantities = {1000, 3000, 5000, 10000, 20000, 50000};
constexpr Quantities kFlatBoxQuantities = {3000, 5000, 10000, 20000, 50000, 100000};

// A book row names the whole book including a four-page cover: with a cover
// of its own the inner block is four pages shorter.
constexpr Rows kInnerPagesWithCover = {4, 8, 12, 16, 28, 44, 60};
constexpr Rows kInnerPagesAlone = {8, 12, 16, 20, 32, 48, 64};
constexpr Rows kSheetKai = {2, 4, 8, 16, 32, 64, 128};
// Corrugated boxes are large: halves to sixteenths of a sheet.
constexpr Rows kCorrugatedKai = {2, 3, 4, 6, 8, 12, 16};
constexpr Rows kFlatBoxKai = {4, 6, 8, 16, 32, 64, 128};

// A book is tabled as 16开 pages with an 8开 (two-page spread) cover.
constexpr float kBookPageKai = 16;
constexpr float kBookCoverKai = 8;

constexpr int kCoverItem = 0;
constexpr int kCorrugatedBox = 6;

bool checked(const JobForm& f, Ctl box, int index) {
    return f.checkState(box, index) == CheckState::Checked;
}

void setChecks(JobForm& f, Ctl box, std::initializer_list<int> on, std::initializer_list<int> off) {
    for (int i : on) {
        f.setCheckState(box, i, CheckState::Checked);
    }
    for (int i : off) {
        f.setCheckState(box, i, CheckState::Unchecked);
    }
}

std::string rtrim(std::string s) {
    while (!s.empty() && s.back() == ' ') {
        s.pop_back();
    }
    return s;
}

// Gram weight, paper, colours and press of part j: "157克铜版纸4+4色对开平印机".
std::string paperBlock(const JobForm& f, int j) {
    return f.text(Ctl::Ncomke, j) + "克" + rtrim(f.text(Ctl::Ncomzhi, j)) +
           f.text(Ctl::Ncomyinse, 2 * j) + "+" + f.text(Ctl::Ncomyinse, 2 * j + 1) + "色" +
           f.text(Ctl::Comyinji, j);
}

// The text of a list, or nothing when the list has no selection.
std::string selectedText(const JobForm& f, Ctl list, int index = 0) {
    return f.listIndex(list, index) >= 0 ? f.text(list, index) : std::string();
}

// The caption of the chosen option: the first, the second, or (also when
// none is chosen) the third.
std::string optionCaption(const JobForm& f, Ctl group) {
    const auto& captions = controlDef(group).entries.front().items;
    const int chosen = f.option(group);
    return captions[static_cast<std::size_t>(chosen == 0 ? 0 : chosen == 1 ? 1 : 2)];
}

std::string bookDescription(const JobForm& f) {
    std::string s = "说明：以16开为标准，16开1面为1P。";
    if (f.ticked(Ctl::Lsthua, kCoverItem)) {
        s += "封面用" + paperBlock(f, 0) + "印刷，" + "内页用" + paperBlock(f, 1) + "印刷。";
    } else {
        s += "封面和内页都用" + paperBlock(f, 1) + "印刷。";
    }
    return s + "需要" + selectedText(f, Ctl::Cmbfeilin, 0) + ",采用" +
           selectedText(f, Ctl::Cmbdin) + "方式装订。";
}

std::string sheetDescription(const JobForm& f) {
    return "说明：用" + paperBlock(f, 7) + "印刷，" + "需要" + selectedText(f, Ctl::Cmbfeilin, 2) +
           "。";
}

std::string boxDescription(const JobForm& f) {
    std::string s = "说明：用" + paperBlock(f, 8) + "印刷，" + "需要" +
                    selectedText(f, Ctl::Cmbfeilin, 3) + ",粘" + optionCaption(f, Ctl::optnian);
    if (checked(f, Ctl::Chkhe, kCorrugatedBox)) {
        return s + "，" + "裱" + optionCaption(f, Ctl::optwa) + "瓦楞。";
    }
    return s + "。";
}

// A quantity or row value as the table heads it: whole numbers written out
// in full (100000, never 1e+05).
std::string axisText(float value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15f) {
        return std::to_string(static_cast<long long>(value));
    }
    return shortestFloatText(value);
}

bool allFinite(const CostResult& result) {
    return std::all_of(kCostResultFields.begin(), kCostResultFields.end(),
                       [&](const auto& field) { return std::isfinite(result.*field.member); });
}

}  // namespace

int PriceTableGrid::refusedCount() const {
    return static_cast<int>(std::count(refused.begin(), refused.end(), true));
}

bool offersPriceTable(int kind) {
    return kind == kBook || kind == kSingleSheet || kind == kBoxBag;
}

void forcePriceTableSettings(JobForm& f, int kind) {
    switch (kind) {
        case kBook:
            // The cover stays as the clerk left it: it decides the rows.
            f.setTicked(Ctl::Lsthua, 1, true);
            for (int item : {2, 3, 4}) {
                f.setTicked(Ctl::Lsthua, item, false);
            }
            setChecks(f, Ctl::Chkhua, {0, 1, 5}, {2, 3, 4});
            f.setText(Ctl::Ncomzhuanse, 1, "0");
            break;
        case kSingleSheet:
            setChecks(f, Ctl::Chkdan, {0, 1, 2}, {3, 4, 5});
            f.setText(Ctl::Ncomzhuanse, 7, "0");
            break;
        case kBoxBag:
            // 裱瓦楞 stays as the clerk left it: it decides the rows.
            f.setTicked(Ctl::lsthe, 0, true);
            f.setTicked(Ctl::lsthe, 1, false);
            setChecks(f, Ctl::Chkhe, {0, 1, 5, 7}, {2, 3, 4});
            f.setText(Ctl::Ncomzhuanse, 8, "0");
            break;
        default:
            break;
    }
}

std::string priceTableDescription(const JobForm& f, int kind) {
    const std::string indent(4, ' ');
    switch (kind) {
        case kBook:
            return indent + bookDescription(f);
        case kSingleSheet:
            return indent + sheetDescription(f);
        case kBoxBag:
            return indent + boxDescription(f);
        default:
            return {};
    }
}

std::string tableMonthText(CivilDate date) {
    return std::to_string(date.year) + "年" + std::to_string(date.month) + "月";
}

std::optional<PriceTableGrid> generatePriceTable(const ProgramFolder& folder, JobForm& form,
                                                 CostResult& result) {
    const PriceSource prices(folder);
    const int kind = form.listIndex(Ctl::comleibie);
    if (!offersPriceTable(kind)) {
        return std::nullopt;
    }
    forcePriceTableSettings(form, kind);

    PriceTableGrid g;
    g.kind = kind;
    g.labshuoming = priceTableDescription(form, kind);

    const bool cover = kind == kBook && form.ticked(Ctl::Lsthua, kCoverItem);
    const bool corrugated = kind == kBoxBag && checked(form, Ctl::Chkhe, kCorrugatedBox);
    std::string rowUnit = "开";
    float rowLabelOffset = 0;
    switch (kind) {
        case kBook:
            g.lablei = "画册类";
            g.quantities = kBookQuantities;
            g.rows = cover ? kInnerPagesWithCover : kInnerPagesAlone;
            // A whole string is moved in: GCC 12 at -O3 warns falsely (-Wrestrict) on
            // assigning a one-character literal to a std::string.
            rowUnit = std::string("P");
            rowLabelOffset = cover ? 4.0f : 0.0f;
            break;
        case kSingleSheet:
            g.lablei = "单张类";
            g.quantities = kSheetQuantities;
            g.rows = kSheetKai;
            break;
        default:
            g.lablei = corrugated ? "纸盒类-裱瓦楞" : "纸盒类-不裱瓦楞";
            g.quantities = corrugated ? kSheetQuantities : kFlatBoxQuantities;
            g.rows = corrugated ? kCorrugatedKai : kFlatBoxKai;
            break;
    }
    for (int j = 0; j < kTableQuantityCount; ++j) {
        g.labshu[j] = axisText(g.quantities[j]);
    }
    for (int i = 0; i < kTableRowCount; ++i) {
        g.labddu[i] = axisText(g.rows[i] + rowLabelOffset) + rowUnit;
    }

    for (int s = 0; s < kTableSeriesCount; ++s) {
        const float area = kTableSeriesAreas[s];
        for (int j = 0; j < kTableQuantityCount; ++j) {
            const float quantity = g.quantities[j];
            for (int i = 0; i < kTableRowCount; ++i) {
                const float row = g.rows[i];
                CostOutcome outcome;
                switch (kind) {
                    case kBook:
                        outcome = CostBook(prices, form, result, quantity, kBookPageKai, area,
                                           kBookCoverKai, area, row);
                        break;
                    case kSingleSheet:
                        outcome = CostSingleSheet(prices, form, result, quantity, row, area);
                        break;
                    default:
                        outcome = CostBoxBag(prices, form, result, quantity, row, area);
                        break;
                }
                if (outcome.ok() && !allFinite(result)) {
                    outcome = CostOutcome::refused("计算结果超出数值范围，请检查价格参数。");
                }
                const int cell = labdanjiaIndex(s, i, j);
                if (outcome.ok()) {
                    g.unitPrices[cell] = result.UnitPrice;
                    g.labdanjia[cell] = groupedFixed(result.UnitPrice, 4);
                } else {
                    // A refused cell never shows the price of the cell before.
                    ClearCostResult(result);
                    g.refused[cell] = true;
                    g.unitPrices[cell] = 0;
                    // A whole string is moved in: GCC 12 at -O3 warns falsely (-Wrestrict) on
                    // assigning a one-character literal to a std::string.
                    g.labdanjia[cell] = std::string(kRefusedCellText);
                    if (g.refusal.empty()) {
                        g.refusal = outcome.refusal;
                    }
                }
            }
        }
    }
    return g;
}

}  // namespace inkquot
