#include "core/job/form_state.h"

#include <stdexcept>

#include "core/common/number_text.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/press_rules.h"
#include "core/job/form_rules.h"

namespace inkquot {

namespace {

std::string reference(Ctl control, int index) {
    std::string s(controlName(control));
    s += '(';
    s += std::to_string(index);
    s += ')';
    return s;
}

void requireKind(Ctl control, bool fits) {
    if (!fits) {
        throw std::logic_error("this access does not fit control " +
                               std::string(controlName(control)));
    }
}

bool isList(ControlKind kind) {
    return kind == ControlKind::TextList || kind == ControlKind::PositionList;
}

}  // namespace

FormState::FormState() {
    const auto& catalogue = controlCatalogue();
    values_.resize(catalogue.size());
    for (const ControlDef& d : catalogue) {
        auto& values = values_[static_cast<std::size_t>(d.control)];
        for (const ControlStart& s : d.entries) {
            Value v;
            v.items = s.items;
            if (d.schemeItems > 0) {
                v.items.assign(static_cast<std::size_t>(d.schemeItems), std::string());
            }
            v.text = s.text;
            v.position = s.position;
            v.check = s.check;
            v.enabled = s.available;
            if (d.kind == ControlKind::PartList) {
                v.ticks.assign(v.items.size(), false);
            }
            values.push_back(std::move(v));
        }
    }
    // The sheet-size lists are usable only while their manual box is ticked,
    // and that box starts greyed.
    for (int j = 0; j < kPartCount; ++j) {
        at(Ctl::Cmbkaizhi, j).enabled = at(Ctl::Chkzhikai, j).check == CheckState::Checked;
    }
    // As the screen does at start: every press list selects its first press.
    for (int j = 0; j < kPartCount; ++j) {
        setListIndex(Ctl::Comyinji, j, 0);
    }
}

const FormState::Value& FormState::at(Ctl control, int index) const {
    const auto c = static_cast<std::size_t>(control);
    if (c >= values_.size() || index < 0 || static_cast<std::size_t>(index) >= values_[c].size()) {
        throw std::out_of_range("no control " + reference(control, index));
    }
    return values_[c][static_cast<std::size_t>(index)];
}

FormState::Value& FormState::at(Ctl control, int index) {
    return const_cast<Value&>(static_cast<const FormState&>(*this).at(control, index));
}

std::string FormState::text(Ctl control, int index) const {
    const Value& v = at(control, index);
    const ControlKind kind = controlDef(control).kind;
    switch (kind) {
        case ControlKind::TextBox:
        case ControlKind::TextList:
            return v.text;
        case ControlKind::PositionList:
        case ControlKind::OptionGroup:
            return v.position >= 0 ? v.items[static_cast<std::size_t>(v.position)] : std::string();
        case ControlKind::CheckBox:
            return controlDef(control).entries[static_cast<std::size_t>(index)].caption;
        case ControlKind::PartList:
            break;
    }
    requireKind(control, false);
    return {};
}

int FormState::listIndex(Ctl control, int index) const {
    const Value& v = at(control, index);
    requireKind(control, isList(controlDef(control).kind));
    return v.position;
}

CheckState FormState::checkState(Ctl control, int index) const {
    const Value& v = at(control, index);
    requireKind(control, controlDef(control).kind == ControlKind::CheckBox);
    return v.check;
}

bool FormState::ticked(Ctl list, int item) const {
    requireKind(list, controlDef(list).kind == ControlKind::PartList);
    const Value& v = at(list, 0);
    if (item < 0 || static_cast<std::size_t>(item) >= v.ticks.size()) {
        throw std::out_of_range("no item " + reference(list, item));
    }
    return v.ticks[static_cast<std::size_t>(item)];
}

int FormState::option(Ctl group) const {
    requireKind(group, controlDef(group).kind == ControlKind::OptionGroup);
    return at(group, 0).position;
}

void FormState::setText(Ctl control, int index, const std::string& text) {
    Value& v = at(control, index);
    const ControlKind kind = controlDef(control).kind;
    requireKind(control, kind == ControlKind::TextBox || isList(kind));
    if (control == Ctl::Ntxtkaizhi && !parseNumber(text)) {
        // The press-sheet 开 is only ever written by the program; a text
        // that is not a number would reach the costing, so the box keeps
        // its number.
        warnings_.emplace_back(kNotANumberText);
        return;
    }
    const std::string before = this->text(control, index);
    touch(control, index);
    if (kind == ControlKind::TextBox) {
        v.text = text;
    } else {
        int found = -1;
        for (std::size_t i = 0; i < v.items.size(); ++i) {
            if (v.items[i] == text) {
                found = static_cast<int>(i);
                break;
            }
        }
        v.position = found;
        v.text = kind == ControlKind::TextList ? text : this->text(control, index);
    }
    if (before == this->text(control, index)) {
        return;
    }
    if (control == Ctl::Ncomkai || control == Ctl::Ntxtkaizhi) {
        resetYinji(index);
    }
}

void FormState::selectPosition(Value& v, int position, Ctl control, int index) {
    if (position < -1 || position >= static_cast<int>(v.items.size())) {
        throw std::out_of_range("no item " + std::to_string(position) + " in " +
                                reference(control, index));
    }
    touch(control, index);
    v.position = position;
    if (controlDef(control).kind == ControlKind::TextList) {
        v.text = position >= 0 ? v.items[static_cast<std::size_t>(position)] : std::string();
    }
}

void FormState::setListIndex(Ctl control, int index, int position) {
    Value& v = at(control, index);
    requireKind(control, isList(controlDef(control).kind));
    const std::string before = text(control, index);
    selectPosition(v, position, control, index);
    if (control == Ctl::Comyinji) {
        runPressRules(index);
    } else if (control == Ctl::Ncomkai && before != text(control, index)) {
        resetYinji(index);
    }
}

void FormState::setCheckState(Ctl control, int index, CheckState state) {
    Value& v = at(control, index);
    requireKind(control, controlDef(control).kind == ControlKind::CheckBox);
    touch(control, index);
    v.check = state;
    if (control == Ctl::Chkzhikai) {
        at(Ctl::Cmbkaizhi, index).enabled = state == CheckState::Checked;
        touch(Ctl::Cmbkaizhi, index);
    }
}

void FormState::setTicked(Ctl list, int item, bool ticked) {
    requireKind(list, controlDef(list).kind == ControlKind::PartList);
    Value& v = at(list, 0);
    if (item < 0 || static_cast<std::size_t>(item) >= v.ticks.size()) {
        throw std::out_of_range("no item " + reference(list, item));
    }
    v.ticks[static_cast<std::size_t>(item)] = ticked;
    touch(list, 0);
}

void FormState::setOption(Ctl group, int chosen) {
    requireKind(group, controlDef(group).kind == ControlKind::OptionGroup);
    Value& v = at(group, 0);
    if (chosen < -1 || chosen >= static_cast<int>(v.items.size())) {
        throw std::out_of_range("no option " + reference(group, chosen));
    }
    touch(group, 0);
    v.position = chosen;
}

void FormState::chooseKai(int group, int position) {
    Value& kai = at(Ctl::Ncomkai, group);
    selectPosition(kai, position, Ctl::Ncomkai, group);
    // A whole string is moved in: GCC 12 at -O3 warns falsely (-Wrestrict) on
    // assigning a one-character literal to a std::string.
    at(Ctl::Ntxtkaizhi, group).text = std::string("2");
    touch(Ctl::Ntxtkaizhi, group);
    resetYinji(group);
}

void FormState::clickPartItem(Ctl list, int item) {
    requireKind(list, controlDef(list).kind == ControlKind::PartList);
    if (item < 0 || static_cast<std::size_t>(item) >= at(list, 0).ticks.size()) {
        throw std::out_of_range("no item " + reference(list, item));
    }
    if (list == Ctl::Lsthua && followBookSize(*this, item)) {
        hints_.emplace_back(kCoverHintText);
    }
}

const std::vector<std::string>& FormState::items(Ctl control, int index) const {
    return at(control, index).items;
}

bool FormState::enabled(Ctl control, int index) const {
    return at(control, index).enabled;
}

bool FormState::switchesOn(Ctl control, int index) const {
    if (controlDef(control).kind == ControlKind::PartList) {
        return ticked(control, index);
    }
    return checkState(control, index) == CheckState::Checked;
}

void FormState::touch(Ctl control, int index) {
    Value& v = at(control, index);
    if (!v.written) {
        v.written = true;
        changes_.push_back({control, index});
    }
}

void FormState::restore(const FormState& origin) {
    for (const ControlRef& r : changes_) {
        at(r.control, r.index) = origin.at(r.control, r.index);
    }
    changes_ = origin.changes_;
    warnings_ = origin.warnings_;
    hints_ = origin.hints_;
}

std::vector<FormState::ControlRef> FormState::takeChanges() {
    for (const ControlRef& r : changes_) {
        at(r.control, r.index).written = false;
    }
    return std::exchange(changes_, {});
}

void FormState::fillSchemeList(Ctl control, const std::vector<std::string>& names) {
    auto& values = values_[static_cast<std::size_t>(control)];
    for (std::size_t i = 0; i < values.size(); ++i) {
        touch(control, static_cast<int>(i));
        Value& v = values[i];
        v.items = names;
        if (v.position >= static_cast<int>(names.size()) || v.position < 0) {
            v.position = names.empty() ? -1 : 0;
        }
    }
}

void FormState::setPaperNames(const std::vector<std::string>& names) {
    fillSchemeList(Ctl::Ncomzhi, names);
}

void FormState::setStickerPaperNames(const std::vector<std::string>& names) {
    fillSchemeList(Ctl::Nzhibu, names);
}

void FormState::runPressRules(int part) {
    Value& press = at(Ctl::Comyinji, part);
    const auto choice = choosePress(*this, part, press.position);
    if (!choice) {
        return;  // the newspaper pages: nothing changes
    }
    press.position = choice->position;
    touch(Ctl::Cmbkaizhi, part);
    Value& sizes = at(Ctl::Cmbkaizhi, part);
    sizes.items = choice->sizes;
    sizes.position = sizes.items.empty() ? -1 : 0;
    sizes.text = sizes.items.empty() ? std::string() : sizes.items.front();
    if (choice->selfTurn) {
        touch(Ctl::Chkzifan, part);
        Value& selfTurn = at(Ctl::Chkzifan, part);
        selfTurn.enabled = *choice->selfTurn;
        selfTurn.check = *choice->selfTurn ? CheckState::Checked : CheckState::Unchecked;
    }
}

void FormState::resetYinji(int group) {
    if (!inkquot::resetYinji(*this, group)) {
        warnings_.emplace_back(kResetYinjiError);
    }
}

}  // namespace inkquot
