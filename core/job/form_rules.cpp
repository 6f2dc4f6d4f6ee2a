#include "core/job/form_rules.h"

#include <cmath>
#include <optional>

#include "core/common/number_text.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/press_rules.h"
#include "core/job/control_labels.h"

namespace inkquot {

bool isWholeFoursOfPages(float pages) {
    return std::fmod(roundHalfEven(pages), 4.0f) == 0;
}

float nextFoursOfPages(float pages) {
    return (std::floor(pages / 4.0f) + 1.0f) * 4.0f;
}

std::string startingQuantity(int kind) {
    return controlDef(Ctl::txtshuliang).entries.at(static_cast<std::size_t>(kind)).text;
}

std::optional<EntryRefusal> checkLeaving(Ctl control, int index, const std::string& text) {
    const auto value = parseNumber(text);
    switch (control) {
        case Ctl::txtshuliang:
            if (!value) {
                return EntryRefusal{kNotANumberText, startingQuantity(index)};
            }
            return std::nullopt;
        case Ctl::txtkehuming:
        case Ctl::txtyinjianming:
            if (text.empty()) {
                return EntryRefusal{kEmptyNameText, std::nullopt};
            }
            return std::nullopt;
        case Ctl::txtye:
            if (!value) {
                return EntryRefusal{kNotANumberText, std::string("0")};
            }
            if (!isWholeFoursOfPages(*value)) {
                return EntryRefusal{kPagesNotMultipleOfFourText,
                                    shortestFloatText(nextFoursOfPages(*value))};
            }
            return std::nullopt;
        case Ctl::txttang:
            if (!value) {
                return EntryRefusal{kNotANumberText, std::string("0")};
            }
            return std::nullopt;
        case Ctl::Ncomkai:
            if (!value) {
                return EntryRefusal{kNotANumberText, std::nullopt};
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

namespace {

// A bound as the clerk writes it: "100000000", "0.01".
std::string boundText(double bound) {
    return std::floor(bound) == bound ? std::to_string(static_cast<long long>(bound))
                                      : shortestDoubleText(bound);
}

}  // namespace

std::optional<std::string> outOfRange(Ctl control, int index, const std::string& text) {
    const auto& range = controlDef(control).range;
    const auto value = parseNumberDouble(text);
    if (!range || !value || range->holds(*value)) {
        return std::nullopt;
    }
    if (control == Ctl::txtshuliang && *value == 0) {
        return std::nullopt;
    }
    std::string message = controlLabel(control, index) + "“" + text + "”";
    const std::string between = boundText(range->min) + "到" + boundText(range->max);
    message += range->whole ? "必须是" + between + "之间的整数" : "必须在" + between + "之间";
    return message;
}

std::optional<std::string> firstOutOfRange(const JobForm& form) {
    for (const ControlDef& d : controlCatalogue()) {
        if (!d.range) {
            continue;
        }
        for (int i = 0; i < d.count(); ++i) {
            if (auto message = outOfRange(d.control, i, form.text(d.control, i))) {
                return message;
            }
        }
    }
    return std::nullopt;
}

bool resetYinji(JobForm& form, int group) {
    if (!canResetYinji(form, group)) {
        return false;
    }
    for (int part : partsOfSizeGroup(group)) {
        form.setListIndex(Ctl::Comyinji, part, kPressBakaiFlat);
        form.setListIndex(Ctl::Comyinji, part, kPressDuikaiFlat);
    }
    return true;
}

bool followBookSize(JobForm& form, int item) {
    const int target = item == 0 ? 1 : item == 3 ? 2 : item == 4 ? 3 : -1;
    if (target < 0) {
        return false;
    }
    form.setText(Ctl::Ntxtkaizhi, target, form.text(Ctl::Ntxtkaizhi, 0));
    form.setListIndex(Ctl::Ncomdu, target, form.listIndex(Ctl::Ncomdu, 0));
    if (const auto kai = parseNumberDouble(form.text(Ctl::Ncomkai, 0))) {
        form.setText(Ctl::Ncomkai, target, shortestDoubleText(*kai / 2.0));
    }
    return item == 0;
}

}  // namespace inkquot
