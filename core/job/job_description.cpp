#include "core/job/job_description.h"

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "core/common/number_text.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/job_reading.h"
#include "core/costing/press_rules.h"
#include "core/job/control_labels.h"
#include "core/job/form_rules.h"
#include "core/job/job_copy.h"
#include "core/job/job_file.h"
#include "core/job/paper_lists.h"

namespace inkquot {

namespace {

using nlohmann::json;

// Controls whose value the description gives directly instead of in an
// object keyed by index.
bool isSingle(const ControlDef& d) {
    return d.count() == 1 && d.kind != ControlKind::PartList && d.control != Ctl::comleibie;
}

// The description as the JSON library holds it.
using Tree = const json*;

bool isObject(Tree v) {
    return v->is_object();
}
bool isText(Tree v) {
    return v->is_string();
}
bool isWhole(Tree v) {
    return v->is_number_integer();
}
std::int64_t wholeOf(Tree v) {
    return v->get<std::int64_t>();
}
std::string textOf(Tree v) {
    return v->get<std::string>();
}
Tree member(Tree v, const char* key) {
    const auto found = v->find(key);
    return found == v->end() ? nullptr : &*found;
}
template <typename F>
void forEachMember(Tree v, F&& f) {
    for (const auto& [key, value] : v->items()) {
        f(std::string_view(key), &value);
    }
}

// One value of the description, located and type-checked.
struct Entry {
    const ControlDef* def;
    int index;
    Tree value;

    // What the pricing page calls the box: "内页一的页数".
    std::string label() const { return controlLabel(def->control, index); }
};

class Reader {
public:
    Reader(std::string where, FormState& form) : where_(std::move(where)), form_(form) {}

    [[noreturn]] void refuse(const std::string& message) const {
        throw JobRefused(where_ + ": " + message);
    }

    void read(Tree job);

private:
    void collect(Tree controls);
    static std::optional<int> indexOf(std::string_view key);
    int itemCount(const Entry& e) const;

    std::string textOf(const Entry& e) const;
    int positionOf(const Entry& e, int min) const;
    bool flagOf(const Entry& e) const;
    float numberOf(const Entry& e, const std::string& text) const;
    void refuseOutOfRange(const Entry& e, const std::string& text) const;

    void apply(ApplyStep step, const Entry& e);
    void applySizeText(const Entry& e);
    void applyPress(const Entry& e);
    void applySheetSize(const Entry& e);
    void applySelfTurn(const Entry& e);
    void applyOther(const Entry& e);

    std::string where_;
    FormState& form_;
    std::vector<Entry> entries_;
};

// A name or value in quotation marks for a message. A control character in
// it is shown as \u00XX: written as itself it would break the message's
// line, and a zero byte would cut the message short.
std::string quotedText(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string q = "“";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            q += "\\u00";
            q += kHex[byte >> 4];
            q += kHex[byte & 0xf];
        } else {
            q += c;
        }
    }
    q += "”";
    return q;
}

// A line break, a tab or another character that no entry box can show.
bool holdsControlCharacter(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            return true;
        }
    }
    return false;
}

std::optional<int> Reader::indexOf(std::string_view key) {
    if (key.empty() || key.size() > 4 || (key.size() > 1 && key[0] == '0')) {
        return std::nullopt;
    }
    int n = 0;
    for (char c : key) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        n = n * 10 + (c - '0');
    }
    return n;
}

void Reader::read(Tree job) {
    if (!isObject(job)) {
        refuse("印件描述必须是一个JSON对象");
    }
    // A job file carries its format version; a newer format is refused
    // before anything in it is taken for a field of this one.
    if (const Tree version = member(job, kJobFileVersionField)) {
        checkJobFileVersion(*version, where_);
    }
    forEachMember(job, [this](std::string_view key, Tree) {
        if (key != "kind" && key != "controls" && key != kJobFileVersionField) {
            refuse("字段" + quotedText(key) + "不是印件描述的字段（只有“kind”和“controls”）");
        }
    });
    const Tree kind = member(job, "kind");
    if (!kind) {
        refuse("缺少字段“kind”（印件类别）");
    }
    if (!isWhole(kind) || wholeOf(kind) < 0 || wholeOf(kind) >= kJobKindCount) {
        refuse("字段“kind”（印件类别）必须是0到4的整数");
    }
    if (const Tree controls = member(job, "controls")) {
        collect(controls);
    }

    // Each step of the one order in which a job arrives on the form; within
    // a step, the order of the description.
    for (const ApplyStep step : kApplySteps) {
        if (step == ApplyStep::Kind) {
            form_.setListIndex(Ctl::comleibie, 0, static_cast<int>(wholeOf(kind)));
            continue;
        }
        for (const Entry& e : entries_) {
            if (applyStepOf(e.def->control) == step) {
                apply(step, e);
            }
        }
    }
}

void Reader::apply(ApplyStep step, const Entry& e) {
    switch (step) {
        case ApplyStep::SizeEntries:
            applySizeText(e);
            return;
        case ApplyStep::Presses:
            applyPress(e);
            return;
        case ApplyStep::SheetSizes:
            applySheetSize(e);
            return;
        case ApplyStep::SelfTurn:
            applySelfTurn(e);
            return;
        case ApplyStep::Kind:
        case ApplyStep::Rest:
            applyOther(e);
            return;
    }
}

void Reader::collect(Tree controls) {
    if (!isObject(controls)) {
        refuse("字段“controls”必须是以控件名称为键的对象");
    }
    forEachMember(controls, [this](std::string_view name, Tree value) {
        const ControlDef* def = findControl(name);
        const auto what = [name] { return "控件" + quotedText(name); };
        if (def == nullptr) {
            refuse("计价页面上没有名为" + quotedText(name) + "的控件");
        }
        if (def->control == Ctl::comleibie) {
            refuse("印件类别由字段“kind”给出，不能写作控件“comleibie”");
        }
        if (isSingle(*def)) {
            entries_.push_back({def, 0, value});
            return;
        }
        if (!isObject(value)) {
            refuse(what() + "必须是以序号（“0”到“" + std::to_string(def->count() - 1) +
                   "”）为键的对象");
        }
        // A part list is one control whose items carry the ticks.
        const int count = def->kind == ControlKind::PartList
                              ? static_cast<int>(def->entries.front().items.size())
                              : def->count();
        forEachMember(value, [&](std::string_view key, Tree item) {
            const auto index = indexOf(key);
            if (!index || *index >= count) {
                refuse(what() + "没有序号" + quotedText(key) + "（序号为“0”到“" +
                       std::to_string(count - 1) + "”）");
            }
            entries_.push_back({def, *index, item});
        });
    });
}

int Reader::itemCount(const Entry& e) const {
    return static_cast<int>(form_.items(e.def->control, e.index).size());
}

std::string Reader::textOf(const Entry& e) const {
    if (!isText(e.value)) {
        refuse(e.label() + "必须是文字（JSON字符串）");
    }
    std::string text = inkquot::textOf(e.value);
    if (holdsControlCharacter(text)) {
        refuse(e.label() + "含有换行等控制字符，计价页面无法显示");
    }
    return text;
}

int Reader::positionOf(const Entry& e, int min) const {
    const int count = e.def->kind == ControlKind::OptionGroup
                          ? static_cast<int>(e.def->entries.front().items.size())
                          : itemCount(e);
    const auto range = [&] { return std::to_string(min) + "到" + std::to_string(count - 1); };
    if (!isWhole(e.value)) {
        refuse(e.label() + "必须是" + range() + "的整数");
    }
    const auto v = wholeOf(e.value);
    if (v < min || v >= count) {
        refuse(e.label() + "不能选择位置" + std::to_string(v) + "（可选" + range() + "）");
    }
    return static_cast<int>(v);
}

bool Reader::flagOf(const Entry& e) const {
    if (!isWhole(e.value) || (wholeOf(e.value) != 0 && wholeOf(e.value) != 1)) {
        refuse(e.label() + "必须是0或1");
    }
    return wholeOf(e.value) == 1;
}

float Reader::numberOf(const Entry& e, const std::string& text) const {
    const auto v = parseNumber(text);
    if (!v) {
        refuse(e.label() + quotedText(text) + "不是有效的数字");
    }
    return *v;
}

void Reader::refuseOutOfRange(const Entry& e, const std::string& text) const {
    if (const auto message = outOfRange(e.def->control, e.index, text)) {
        refuse(*message);
    }
}

void Reader::applySizeText(const Entry& e) {
    if (e.def->control == Ctl::Ncomdu) {
        form_.setListIndex(Ctl::Ncomdu, e.index, positionOf(e, -1));
        return;
    }
    const std::string text = textOf(e);
    const float v = numberOf(e, text);
    if (e.def->control == Ctl::Ntxtkaizhi && !(v > 0)) {
        refuse(e.label() + quotedText(text) + "必须大于零");
    }
    refuseOutOfRange(e, text);
    form_.setText(e.def->control, e.index, text);
}

void Reader::applyPress(const Entry& e) {
    const int position = positionOf(e, 0);
    form_.setListIndex(Ctl::Comyinji, e.index, position);
    if (form_.listIndex(Ctl::Comyinji, e.index) != position) {
        const auto& items = e.def->entries[static_cast<std::size_t>(e.index)].items;
        refuse(std::string(partName(e.index)) + "的开数和上机纸张不能用“" +
               items[static_cast<std::size_t>(position)] + "”印刷，请选择其他印机");
    }
}

void Reader::applySheetSize(const Entry& e) {
    const std::string text = textOf(e);
    const auto& offered = form_.items(Ctl::Cmbkaizhi, e.index);
    for (const std::string& size : offered) {
        if (size == text) {
            form_.setText(Ctl::Cmbkaizhi, e.index, text);
            return;
        }
    }
    // What the list holds already is a value the screen shows (the blank of
    // a list the press rules left empty).
    if (text == form_.text(Ctl::Cmbkaizhi, e.index)) {
        return;
    }
    std::string sizes;
    for (const std::string& size : offered) {
        sizes += (sizes.empty() ? "" : "、") + size;
    }
    refuse(std::string(partName(e.index)) + "的印机不提供开纸大小" + quotedText(text) +
           (sizes.empty() ? std::string("（没有可选的开纸大小）") : "（可选：" + sizes + "）"));
}

void Reader::applySelfTurn(const Entry& e) {
    const bool tick = flagOf(e);
    // A box kept unavailable cannot be ticked by the clerk, but the tick it
    // already holds is the screen's own value.
    const bool holdsTick = form_.checkState(Ctl::Chkzifan, e.index) == CheckState::Checked;
    if (tick && !holdsTick && !form_.enabled(Ctl::Chkzifan, e.index)) {
        refuse(std::string(partName(e.index)) + "不能选择自翻版印刷");
    }
    form_.setCheckState(Ctl::Chkzifan, e.index, tick ? CheckState::Checked : CheckState::Unchecked);
}

void Reader::applyOther(const Entry& e) {
    const Ctl c = e.def->control;
    switch (e.def->kind) {
        case ControlKind::TextBox:
        case ControlKind::TextList: {
            const std::string text = textOf(e);
            if (c == Ctl::txtkehuming || c == Ctl::txtyinjianming) {
                if (text.empty()) {
                    refuse(e.label() + "不能为空");
                }
            } else {
                const float v = numberOf(e, text);
                if (c == Ctl::txtye && !isWholeFoursOfPages(v)) {
                    refuse(e.label() + quotedText(text) + "必须是4的倍数");
                }
                refuseOutOfRange(e, text);
            }
            form_.setText(c, e.index, text);
            return;
        }
        case ControlKind::PositionList:
            form_.setListIndex(c, e.index, positionOf(e, -1));
            return;
        case ControlKind::CheckBox: {
            const bool tick = flagOf(e);
            const auto& start = e.def->entries[static_cast<std::size_t>(e.index)];
            if (tick && !start.available && form_.checkState(c, e.index) != CheckState::Checked) {
                refuse(e.label() + "在计价页面上不可用");
            }
            form_.setCheckState(c, e.index, tick ? CheckState::Checked : CheckState::Unchecked);
            return;
        }
        case ControlKind::PartList:
            form_.setTicked(c, e.index, flagOf(e));
            return;
        case ControlKind::OptionGroup:
            form_.setOption(c, positionOf(e, 0));
            return;
    }
}

bool sameValue(const ControlDef& d, int i, const FormState& a, const FormState& b) {
    switch (d.kind) {
        case ControlKind::TextBox:
        case ControlKind::TextList:
            return a.text(d.control, i) == b.text(d.control, i);
        case ControlKind::PositionList:
            return a.listIndex(d.control, i) == b.listIndex(d.control, i);
        case ControlKind::CheckBox:
            return (a.checkState(d.control, i) == CheckState::Checked) ==
                   (b.checkState(d.control, i) == CheckState::Checked);
        case ControlKind::PartList:
            return a.ticked(d.control, i) == b.ticked(d.control, i);
        case ControlKind::OptionGroup:
            return a.option(d.control) == b.option(d.control);
    }
    return true;
}

// Whether reading without this value would give the form's value anyway.
bool followsByDefault(const ControlDef& d, int i, const FormState& start, const FormState& form) {
    if (d.control == Ctl::Cmbkaizhi) {
        const auto& offered = form.items(Ctl::Cmbkaizhi, i);
        return offered.empty() ? form.text(Ctl::Cmbkaizhi, i).empty()
                               : form.text(Ctl::Cmbkaizhi, i) == offered.front();
    }
    if (d.control == Ctl::Chkzifan && followsPressWithSelfTurn(i)) {
        const bool ruled = form.listIndex(Ctl::Comyinji, i) != kPressDuikaiRotary;
        return (form.checkState(Ctl::Chkzifan, i) == CheckState::Checked) == ruled;
    }
    // The presses, 开 texts and press-sheet texts are compared with the
    // start like any other control: reading them back replays the rules.
    if (d.control == Ctl::Chkzhikai) {
        // Greyed and cleared both mean "not ticked".
        return (form.checkState(Ctl::Chkzhikai, i) == CheckState::Checked) ==
               (start.checkState(Ctl::Chkzhikai, i) == CheckState::Checked);
    }
    return sameValue(d, i, start, form);
}

}  // namespace

void readJobDescription(const nlohmann::json& job, const std::string& where, FormState& form) {
    Reader(where, form).read(&job);
}

nlohmann::json describeJob(const FormState& form) {
    const FormState start;
    json controls = json::object();
    for (const ControlDef& d : controlCatalogue()) {
        if (d.control == Ctl::comleibie) {
            continue;
        }
        if (d.kind == ControlKind::PartList) {
            const int items = static_cast<int>(d.entries.front().items.size());
            for (int i = 0; i < items; ++i) {
                if (form.ticked(d.control, i) != start.ticked(d.control, i)) {
                    controls[std::string(d.name)][std::to_string(i)] =
                        form.ticked(d.control, i) ? 1 : 0;
                }
            }
            continue;
        }
        for (int i = 0; i < d.count(); ++i) {
            if (followsByDefault(d, i, start, form)) {
                continue;
            }
            if (isSingle(d)) {
                controls[std::string(d.name)] = describedValue(d, i, form);
            } else {
                controls[std::string(d.name)][std::to_string(i)] = describedValue(d, i, form);
            }
        }
    }
    json job = json::object();
    job["kind"] = form.listIndex(Ctl::comleibie);
    if (!controls.empty()) {
        job["controls"] = std::move(controls);
    }
    return job;
}

json describedValue(const ControlDef& d, int i, const FormState& form) {
    switch (d.kind) {
        case ControlKind::TextBox:
        case ControlKind::TextList:
            return form.text(d.control, i);
        case ControlKind::PositionList:
            return form.listIndex(d.control, i);
        case ControlKind::CheckBox:
            return form.checkState(d.control, i) == CheckState::Checked ? 1 : 0;
        case ControlKind::PartList:
            return form.ticked(d.control, i) ? 1 : 0;
        case ControlKind::OptionGroup:
            return form.option(d.control);
    }
    return nullptr;
}

void fillPaperLists(const ProgramFolder& folder, FormState& form) {
    const PaperNames names = readPaperNames(folder);
    if (!names.read) {
        throw std::runtime_error("cannot read the paper names of the working price files");
    }
    form.setPaperNames(names.papers);
    form.setStickerPaperNames(names.stickerPapers);
}

}  // namespace inkquot
