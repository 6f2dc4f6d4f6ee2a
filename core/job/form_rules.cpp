#include "core/job/form_rules.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "core/common/number_text.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/press_rules.h"

namespace inkquot {

namespace {

// The value of a text that passes the number test, in double precision: the
// cover and inserts take half the book's 开 as a double quotient.
std::optional<double> doubleValue(const std::string& text) {
    if (!parseNumber(text)) {
        return std::nullopt;
    }
    std::string digits;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != ',') {
            digits += c;
        }
    }
    if (!digits.empty() && digits.front() == '+') {
        digits.erase(0, 1);
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

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
    if (const auto kai = doubleValue(form.text(Ctl::Ncomkai, 0))) {
        form.setText(Ctl::Ncomkai, target, shortestDoubleText(*kai / 2.0));
    }
    return item == 0;
}

}  // namespace inkquot
