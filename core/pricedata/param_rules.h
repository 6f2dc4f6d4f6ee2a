#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/number_text.h"
#include "core/pricedata/price_tables.h"

namespace inkquot {

// The rules of the parameter editors, the screens that change single records
// of the current scheme's tables. They judge the texts of the boxes; the
// screens show the messages and move the focus.

inline constexpr const char* kIllegalData = kNotANumberText.data();
inline constexpr const char* kEmptyData = "数据不能为空！";
inline constexpr const char* kTagCannotBeZero = "此处TAG不能为零！";
inline constexpr const char* kCannotSave = "数据错误，不能保存。";

struct EditorNotice {
    enum class Style { Warning, Plain };  // exclamation icon, or no icon at all
    std::string text;
    Style style = Style::Warning;
};

// What happens when the focus leaves a box: the messages to show in order,
// the text the box gets back (if any), and whether the focus must stay.
struct LeaveVerdict {
    std::vector<EditorNotice> notices;
    std::optional<std::string> replacement;
    bool staysInBox = false;
};

// Leaving any box of the basic data panel: its value box must hold a number.
LeaveVerdict leaveJibenBox(std::string_view valueText);

// Leaving any box of the paper panel. In this order, each with its own
// message: the name is not blank, the note is not blank, the price is a
// number; then, for the boxes the user may type into, the name and the note
// must fit their fields in GBK.
LeaveVerdict leavePaperBox(std::string_view name, std::string_view price, std::string_view note,
                           bool textsEditable);

// Leaving the unit price box of the process panel. A text that is not a
// number is refused with a message, a price of 0 silently; either way the
// box gets back the text it had when it received the focus. A price that
// was already 0 may stay 0 (otherwise the focus could never leave).
LeaveVerdict leaveUnitPriceBox(std::string_view text, std::string_view remembered);

// Leaving a TAG box of the process panel. A TAG of 0 marks a factor the item
// does not use, so a TAG that was 0 stays 0 whatever is typed, and one that
// was not 0 cannot become 0.
LeaveVerdict leaveTagBox(std::string_view text, float remembered);

// Whether a paper name or note can be stored in its GBK field of `width`
// bytes: a text GBK cannot hold, or one longer than the field, gets a message
// naming the box (`label`) and the limit; it is never cut.
std::optional<std::string> fieldTextProblem(std::string_view label, std::string_view text,
                                            std::size_t width);

// A text shown in a box: padding spaces at the end of a field removed.
std::string withoutPadding(std::string_view fieldText);
// A stored number as the shortest text that reads back as the same 32-bit
// float (a stored 0.8 shows as 0.8).
std::string numberBoxText(float value);

// Applying the boxes of a saved edit to a record. On refusal the record is
// left as it was and the message is kCannotSave, or (for a paper name or note
// that cannot be stored) the reason.
bool applyJibenEdit(JibenRec& rec, std::string_view value);
bool applyGongjiaEdit(GongjiaRec& rec, std::string_view unitPrice,
                      const std::array<std::string_view, 4>& tags);
std::optional<std::string> applyPaperEdit(ZhijiaRec& rec, std::string_view name,
                                          std::string_view price, std::string_view note);

}  // namespace inkquot
