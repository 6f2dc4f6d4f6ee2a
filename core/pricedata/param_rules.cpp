#include "core/pricedata/param_rules.h"

#include "core/common/gbk.h"
#include "core/common/number_text.h"

namespace inkquot {

namespace {

using Style = EditorNotice::Style;

bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

LeaveVerdict refused(const char* message, std::optional<std::string> replacement = {}) {
    LeaveVerdict v;
    v.notices.push_back({message, Style::Warning});
    v.replacement = std::move(replacement);
    v.staysInBox = true;
    return v;
}

std::size_t utf8Length(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    return 4;
}

// The first character of `text` that GBK cannot hold.
std::string firstUnencodable(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t len =
            std::min(utf8Length(static_cast<unsigned char>(text[pos])), text.size() - pos);
        const std::string_view ch = text.substr(pos, len);
        std::string ignored;
        if (!encodeGbk(ch, ignored)) {
            return std::string(ch);
        }
        pos += len;
    }
    return {};
}

}  // namespace

LeaveVerdict leaveJibenBox(std::string_view valueText) {
    if (!parseNumber(valueText)) {
        return refused(kIllegalData);
    }
    return {};
}

LeaveVerdict leavePaperBox(std::string_view name, std::string_view price, std::string_view note,
                           bool textsEditable) {
    LeaveVerdict v;
    if (isBlank(name)) {
        v.notices.push_back({kEmptyData, Style::Warning});
    }
    if (isBlank(note)) {
        v.notices.push_back({kEmptyData, Style::Warning});
    }
    if (!parseNumber(price)) {
        v.notices.push_back({kIllegalData, Style::Warning});
    }
    if (textsEditable) {
        if (auto p = fieldTextProblem("纸张种类", name, zhijia_field::MingchengWidth)) {
            v.notices.push_back({*p, Style::Warning});
        }
        if (auto p = fieldTextProblem("说明", note, zhijia_field::ShuomingWidth)) {
            v.notices.push_back({*p, Style::Warning});
        }
    }
    v.staysInBox = !v.notices.empty();
    return v;
}

LeaveVerdict leaveUnitPriceBox(std::string_view text, std::string_view remembered) {
    const auto value = parseNumber(text);
    if (!value) {
        return refused(kIllegalData, std::string(remembered));
    }
    if (*value == 0) {
        const auto before = parseNumber(remembered);
        if (before && *before == 0) {
            return {};
        }
        LeaveVerdict v;
        v.replacement = std::string(remembered);
        v.staysInBox = true;
        return v;
    }
    return {};
}

LeaveVerdict leaveTagBox(std::string_view text, float remembered) {
    const auto value = parseNumber(text);
    if (!value) {
        return refused(kIllegalData, numberBoxText(remembered));
    }
    if (remembered == 0) {
        LeaveVerdict v;
        v.replacement = "0";
        return v;
    }
    if (*value == 0) {
        LeaveVerdict v;
        v.notices.push_back({kTagCannotBeZero, Style::Plain});
        v.replacement = numberBoxText(remembered);
        v.staysInBox = true;
        return v;
    }
    return {};
}

std::optional<std::string> fieldTextProblem(std::string_view label, std::string_view text,
                                            std::size_t width) {
    const std::string trimmed = withoutPadding(text);
    std::string gbk;
    if (!encodeGbk(trimmed, gbk)) {
        const std::string bad = firstUnencodable(trimmed);
        if (bad.empty() || !isValidUtf8(trimmed)) {
            return std::string(label) + "中有无法保存的文字，请重新输入。";
        }
        return std::string(label) + "中的字符“" + bad + "”无法保存，请改用其他文字。";
    }
    if (gbk.size() > width) {
        return std::string(label) + "太长：最多" + std::to_string(width) +
               "个字节（一个汉字占2个字节），现有" + std::to_string(gbk.size()) + "个字节。";
    }
    return std::nullopt;
}

std::string withoutPadding(std::string_view fieldText) {
    const std::size_t end = fieldText.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string()
                                         : std::string(fieldText.substr(0, end + 1));
}

std::string numberBoxText(float value) {
    return shortestFloatText(value);
}

bool applyJibenEdit(JibenRec& rec, std::string_view value) {
    const auto v = parseNumber(value);
    if (!v) {
        return false;
    }
    rec.Shuju = *v;
    return true;
}

bool applyGongjiaEdit(GongjiaRec& rec, std::string_view unitPrice,
                      const std::array<std::string_view, 4>& tags) {
    const auto price = parseNumber(unitPrice);
    if (!price || (*price == 0 && rec.Danjia != 0)) {
        return false;
    }
    std::array<float*, 4> stored = {&rec.Tag1, &rec.Tag2, &rec.Tag3, &rec.Tag4};
    std::array<float, 4> values{};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto t = parseNumber(tags[i]);
        // A factor the item does not use stays unused, and a used one stays
        // in use: the items' notes say which factors apply.
        if (!t || ((*t == 0) != (*stored[i] == 0))) {
            return false;
        }
        values[i] = *t;
    }
    rec.Danjia = *price;
    for (std::size_t i = 0; i < 4; ++i) {
        *stored[i] = values[i];
    }
    return true;
}

std::optional<std::string> applyPaperEdit(ZhijiaRec& rec, std::string_view name,
                                          std::string_view price, std::string_view note) {
    const auto value = parseNumber(price);
    if (!value || isBlank(name) || isBlank(note)) {
        return std::string(kCannotSave);
    }
    if (auto p = fieldTextProblem("纸张种类", name, zhijia_field::MingchengWidth)) {
        return p;
    }
    if (auto p = fieldTextProblem("说明", note, zhijia_field::ShuomingWidth)) {
        return p;
    }
    rec.Jiage = *value;
    rec.Mingcheng = withoutPadding(name);
    rec.Shuoming = withoutPadding(note);
    return std::nullopt;
}

}  // namespace inkquot
