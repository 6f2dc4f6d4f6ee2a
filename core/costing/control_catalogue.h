#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/costing/job_form.h"

namespace inkquot {

// How a control holds its value.
enum class ControlKind {
    TextBox,       // a text, read as a number or a name
    TextList,      // a drop-down list whose shown text is read (as a number)
    PositionList,  // a drop-down list read by the position of its selection
    CheckBox,      // unticked, ticked or greyed
    PartList,      // a list of the job's parts with a tick box per item
    OptionGroup,   // option buttons, one of them chosen
};

// The starting contents of one control of an array.
struct ControlStart {
    // The check box caption, or the label beside the control ("" for none).
    std::string caption;
    // List items; for a part list its parts, for an option group the
    // captions of its buttons.
    std::vector<std::string> items;
    // The text of a text box, or the shown text of a list.
    std::string text;
    // The selected list item or the chosen option, -1 for none.
    int position = -1;
    CheckState check = CheckState::Unchecked;
    // The user can type into it. The 开 lists take their text only from the
    // list or from the program; the press-sheet 开 boxes are written only by
    // the program.
    bool editable = false;
    // False for the few boxes that the screen never offers to the user: the
    // self-turn box of parts that can never print self-turn and the boxes of
    // the newspaper pages, which only go on the rotary press.
    bool available = true;
    // Shown when the pointer rests on the control ("" for none).
    std::string hint;
};

// The values a number box takes, both ends included: what a job a shop
// prints can have, with room to spare. A value outside (a negative run, a
// paper weight of twenty digits) is a slip of the keyboard or of a script,
// and pricing it would give money nobody can charge.
struct NumberRange {
    double min = 0;
    double max = 0;
    // Only whole numbers: counts of copies, colours, folds and press sheets.
    bool whole = false;

    bool holds(double value) const;
};

// One control array of the job entry screen: the pricing page builds its
// widgets from these definitions and FormState its values, so both start from
// the same contents.
struct ControlDef {
    Ctl control;
    std::string_view name;  // the control's own name, e.g. "Ncomkai"
    ControlKind kind;
    std::vector<ControlStart> entries;  // one per index
    // Paper lists are filled from the current scheme's paper table, which
    // always holds this many names (0 for every other list).
    int schemeItems = 0;
    // For the boxes whose text is read as a number: the values a job can
    // have. None for names, for positions and for the sheet-size lists,
    // whose texts only the press rules write.
    std::optional<NumberRange> range;

    int count() const { return static_cast<int>(entries.size()); }
};

// Every control of the job entry screen that the costing reads, the press
// rules drive or the descriptions quote, in a fixed order.
const std::vector<ControlDef>& controlCatalogue();
const ControlDef& controlDef(Ctl control);
// nullptr for a name that is not in the catalogue.
const ControlDef* findControl(std::string_view name);
std::string_view controlName(Ctl control);

// Counts of the screen's arrays.
inline constexpr int kJobKindCount = 5;
inline constexpr int kPartCount = 11;
inline constexpr int kSizeGroupCount = 8;

// Job kinds in the order of comleibie.
enum JobKind { kBook = 0, kNewspaper = 1, kSingleSheet = 2, kBoxBag = 3, kSticker = 4 };

// The size group of a kind's own size entry (整书规格 for books): the one the
// pricing run reads the 开 and the paper series of.
inline constexpr int sizeGroupOfKind(int kind) {
    return kind == kBook ? 0 : kind + 3;
}

// Comnd holds the difficulty factors: the printing difficulty of part j at
// kPrintDifficultyIndex[j], and the die-cut and die-board difficulties of the
// kinds with die cutting at the indexes below.
inline constexpr std::array<int, kPartCount> kPrintDifficultyIndex = {0, 1, 2,  3,  4, 7,
                                                                      8, 9, 12, 13, 16};
struct DieDifficultyIndexes {
    int kind;
    int dieCut;
    int dieBoard;
};
inline constexpr std::array<DieDifficultyIndexes, 4> kDieDifficultyIndexes = {{
    {kBook, 5, 6},
    {kSingleSheet, 10, 11},
    {kBoxBag, 14, 15},
    {kSticker, 17, 18},
}};

}  // namespace inkquot
