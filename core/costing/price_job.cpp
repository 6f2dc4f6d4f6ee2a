#include "core/costing/price_job.h"

#include <cmath>
#include <optional>

#include "core/common/number_text.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/cost_book.h"
#include "core/costing/cost_box_bag.h"
#include "core/costing/cost_newspaper.h"
#include "core/costing/cost_single_sheet.h"
#include "core/costing/cost_sticker.h"

namespace inkquot {

namespace {

std::string reference(Ctl control, int index) {
    return std::string(controlName(control)) + "(" + std::to_string(index) + ")";
}

// The label of a control without its colon and padding: "计价数量".
std::string labelOf(Ctl control, int index) {
    std::string label = controlDef(control).entries.at(static_cast<std::size_t>(index)).caption;
    const std::string colon = "：";
    if (label.size() >= colon.size() &&
        label.compare(label.size() - colon.size(), colon.size(), colon) == 0) {
        label.resize(label.size() - colon.size());
    }
    std::string out;
    for (char c : label) {
        if (c != ' ') {
            out += c;
        }
    }
    return out;
}

// Reads the arguments of a costing procedure; the first problem is kept.
class ArgumentReader {
public:
    explicit ArgumentReader(const JobForm& form) : form_(form) {}

    float number(Ctl control, int index, const std::string& what) {
        const std::string text = form_.text(control, index);
        const auto value = parseNumber(text);
        if (!value) {
            refuse(what + "（" + reference(control, index) + "）“" + text +
                   "”不是有效的数字，请重新输入。");
            return 0;
        }
        return *value;
    }

    float area(int group) {
        const int position = form_.listIndex(Ctl::Ncomdu, group);
        if (position != 0 && position != 1) {
            refuse(labelOf(Ctl::Ncomkai, group) + "（" + reference(Ctl::Ncomdu, group) +
                   "）没有选择纸张规格（大度或正度）。");
            return 0;
        }
        return halfSheetAreaOfSeries(position);
    }

    float kai(int group) {
        return number(Ctl::Ncomkai, group, labelOf(Ctl::Ncomkai, group) + "的开数");
    }

    void refuse(std::string message) {
        if (refusal_.empty()) {
            refusal_ = std::move(message);
        }
    }
    const std::string& refusal() const { return refusal_; }

private:
    const JobForm& form_;
    std::string refusal_;
};

bool allFinite(const CostResult& result) {
    for (const auto& field : kCostResultFields) {
        if (!std::isfinite(result.*field.member)) {
            return false;
        }
    }
    return true;
}

}  // namespace

float halfSheetAreaOfSeries(int position) {
    return static_cast<float>((1.0 - position) / 10.0 + 0.43);
}

PriceOutcome priceJob(const PriceSource& prices, const JobForm& form, CostResult& result) {
    const int kind = form.listIndex(Ctl::comleibie);
    if (kind < 0 || kind >= kJobKindCount) {
        return {"请选择印件类别。", {}};
    }

    ArgumentReader args(form);
    const float quantity = args.number(Ctl::txtshuliang, kind, "计价数量");
    if (!args.refusal().empty()) {
        return {args.refusal(), {}};
    }
    if (quantity == 0) {
        return {std::string(kZeroQuantityMessage), {}};
    }

    const int group = sizeGroupOfKind(kind);
    const float kai = args.kai(group);
    const float area = args.area(group);
    float coverKai = 0;
    float coverArea = 0;
    float pages = 0;
    if (kind == kBook) {
        coverKai = args.kai(1);
        coverArea = args.area(1);
        pages = args.number(Ctl::txtye, 0, "内页一的页数");
    }
    if (!args.refusal().empty()) {
        return {args.refusal(), {}};
    }

    CostResult costed;
    CostOutcome outcome;
    if (kind == kBook) {
        outcome = CostBook(prices, form, costed, quantity, kai, area, coverKai, coverArea, pages);
    } else if (kind == kSticker) {
        // The sticker procedure takes the area before the 开.
        outcome = CostSticker(prices, form, costed, quantity, area, kai);
    } else {
        using Procedure =
            CostOutcome (*)(const PriceSource&, const JobForm&, CostResult&, float, float, float);
        const Procedure procedure = kind == kNewspaper     ? CostNewspaper
                                    : kind == kSingleSheet ? CostSingleSheet
                                                           : CostBoxBag;
        outcome = procedure(prices, form, costed, quantity, kai, area);
    }
    if (outcome.ok() && !allFinite(costed)) {
        outcome = CostOutcome::refused("计算结果超出数值范围，请检查数量、开数和价格参数。");
    }
    if (!outcome.ok()) {
        ClearCostResult(result);
        return {outcome.refusal, {}};
    }
    result = costed;
    return {{}, std::move(outcome.figures)};
}

}  // namespace inkquot
