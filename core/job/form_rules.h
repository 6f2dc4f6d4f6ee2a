#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/costing/job_form.h"

namespace inkquot {

// The checks of the job entry boxes and the event rules that more than one
// kind of form runs: the form model of the core, the pricing page and the
// job description reader all use these, so each rule and message exists
// once.

inline constexpr std::string_view kEmptyNameText = "名称不能为空";
inline constexpr std::string_view kPagesNotMultipleOfFourText = "页数或版数必须4是的倍数！";
inline constexpr std::string_view kCoverHintText =
    "如果封面与内页同一克重、同一类型、且印色相同，无需单独计算封面";
inline constexpr std::string_view kFoilAreaHintText =
    "烫印面积以实际面积上下各加5MM,左右各加10MM计，为零不计烫印费";

// Pages come in fours (a sheet folded once gives four pages): a count stands
// when it rounds (halves to even) to a multiple of 4.
bool isWholeFoursOfPages(float pages);
// Where a refused count goes: the next multiple of 4 above it.
float nextFoursOfPages(float pages);

// The quantity a kind's box starts with and gets back after a bad entry.
std::string startingQuantity(int kind);

// What leaving an entry box with `text` gives when the box refuses it: the
// warning, and the text the box gets instead (none: the text stays). The
// focus then stays in the box. Boxes without a check accept anything.
//   txtshuliang(k)                 a number, else "10000" (the kind's start)
//   txtkehuming(k), txtyinjianming(k)  not empty
//   txtye(i)                       a number (else "0") in fours (else the
//                                  next multiple of 4)
//   txttang(i)                     a number, else "0"
//   Ncomkai(g)                     a number
struct EntryRefusal {
    std::string_view message;
    std::optional<std::string> replacement;
};
std::optional<EntryRefusal> checkLeaving(Ctl control, int index, const std::string& text);

// A box holding a number outside the range its box takes (NumberRange of
// the control catalogue): the message names the box and the range, as
// "书刊\画册的计价数量“-500”必须是1到100000000之间的整数" or
// "内页一的纸厚（克重）“5000”必须在10到2000之间". None for a text inside its
// range, for a box without one and for a text that is no number, which the
// box's own check refuses; a quantity of 0 keeps the pricing run's warning
// kZeroQuantityMessage.
std::optional<std::string> outOfRange(Ctl control, int index, const std::string& text);

// The first box of `form`, of any kind and part, whose number is outside its
// range, in the order of the catalogue: a job is priced, saved and reopened
// only when every box holds a value a job can have.
std::optional<std::string> firstOutOfRange(const JobForm& form);

// ResetYinji: every part of size group `group` goes back to 对开平印机 (by
// way of 八开平印机, so the press rules run even where 对开平印机 was
// chosen). False, with nothing changed, when the group's 开 or press sheet
// is not a usable number: the form shows kResetYinjiError.
bool resetYinji(JobForm& form, int group);

// The size-follow rule of the book panel: a click on the cover (item 0) or
// an insert (3, 4) gives its size group the book's series and press sheet
// and half the book's 开, as a spread of two book pages. True when the cover
// was clicked: the form shows kCoverHintText.
bool followBookSize(JobForm& form, int item);

}  // namespace inkquot
