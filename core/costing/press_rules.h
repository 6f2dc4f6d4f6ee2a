#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/costing/job_form.h"
#include "core/costing/press_kind.h"

namespace inkquot {

// Which sheet sizes a press takes for a part, and when a press cannot take
// the part at all. Sizes are Kai numbers: a 对开 (half-sheet) press takes the
// press sheet Z and, when the product divides evenly, the sheet half its size
// (2Z); a 四开 press needs sheets a quarter of the full sheet or smaller, so
// it only takes a job whose press sheet can be halved (2Z) and offers 2Z and
// 4Z; an 八开 press needs 4Z and offers 4Z and 8Z. The rotary press prints
// from the reel and always takes Z.

// Whether the product Kai K splits evenly into sheets of Kai `sheet`: both
// rounded to whole numbers (halves to even), and the remainder of K divided by
// the sheet is 0. A sheet that rounds to 0 (or is not finite) never divides.
bool kaiDivisibleBy(float k, float sheet);

// The sheet sizes a press offers for product Kai K and press-sheet Kai Z.
struct PressOffer {
    // The press the part ends on: the one chosen, or 对开平印机 (0) when the
    // chosen press is refused.
    int position = kPressDuikaiFlat;
    bool refused = false;
    // The sheet sizes as their shortest decimal texts, in list order; the
    // first is selected.
    std::vector<std::string> sizes;
};
PressOffer offerSheetSizes(int position, float k, float z);

// Where a part reads K and Z: the 开 list (Ncomkai) and the press-sheet box
// (Ntxtkaizhi) of a size group. The inner pages of a book are two book pages
// wide on the sheet that the book's 开 describes, so their K is half of it.
struct PressInputSource {
    int kaiGroup;
    bool halved;
    int sheetGroup;
};
// nullopt for the newspaper pages (5 and 6), which always go on the rotary
// press and whose press list changes nothing.
std::optional<PressInputSource> pressInputSource(int part);

// Parts 0 to 4 and 7 follow the press with their self-turn box: the rotary
// press prints both sides in one pass, so self-turn is cleared and disabled
// there and ticked and enabled on a flat press. The face paper, lining paper
// and sticker never print self-turn, and their boxes are never touched.
bool followsPressWithSelfTurn(int part);

// K and Z of a part read from the form, nullopt when either text is not a
// number (or the part reads none).
struct PressInputs {
    float k;
    float z;
};
std::optional<PressInputs> readPressInputs(const JobForm& form, int part);

// The outcome of selecting `position` in the press list of `part`: what the
// screen does to the press list, the sheet-size list and the self-turn box.
struct PressChoice {
    int position = kPressDuikaiFlat;  // the press list's final selection
    // The new items of Cmbkaizhi(part), the first one selected. Empty when K
    // or Z is not a number, or when no press is selected.
    std::vector<std::string> sizes;
    // For parts that follow the press: ticked and enabled (true) or cleared
    // and disabled (false).
    std::optional<bool> selfTurn;
};
// nullopt for the newspaper pages: nothing changes.
std::optional<PressChoice> choosePress(const JobForm& form, int part, int position);

// ResetYinji: the parts that read size group g, in the order their press
// lists are reset (each is set to 八开平印机 and then back to 对开平印机).
std::vector<int> partsOfSizeGroup(int group);

// The warning when ResetYinji meets a 开 text that is not a number; nothing
// is reset then.
inline constexpr std::string_view kResetYinjiError = "发生错误!";

// True when ResetYinji may run for group g: its 开 text is a number.
bool canResetYinji(const JobForm& form, int group);

}  // namespace inkquot
