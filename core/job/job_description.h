#pragma once

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "core/common/program_folder.h"
#include "core/costing/control_catalogue.h"
#include "core/job/form_state.h"

namespace inkquot {

// A job description that cannot be read: the message names the box as the
// pricing page captions it, with its part or kind ("内页一的页数"), and the
// problem, in the words the screen would use where it has them.
class JobRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The job description: the way scripts hand a job to the tool and the way a
// job is saved and reloaded.
//
//   {"kind": 2,
//    "controls": {"txtshuliang": {"2": "1000"}, "Ncomkai": {"5": "16"},
//                 "Comyinji": {"7": 0}, "Chkdan": {"0": 1}, "optwa": 1, ...}}
//
// `kind` is the position in the job kind list (0..4). Control arrays are
// objects keyed by the index as a decimal string; the single controls
// (Nzhibu, Cmbdin, Cmbzheci, optwa, optnian) take their value directly.
// Values: the text (a string) for text boxes and for lists whose text is
// read; the position counted from 0 (-1 for none) for lists read by
// position; 0 or 1 for check boxes and the ticks of part lists; the chosen
// index for option groups.
//
// A job file adds "version", the format version of the file (job_file.h);
// a description may carry it, and one of a newer format is refused.
//
// Omitted controls keep the starting contents of the job entry screen. An
// omitted sheet size (Cmbkaizhi) is the first that the press rules offer,
// and an omitted self-turn box (Chkzifan) follows the press rules.

// Reads `job` into `form`, which must hold the starting contents. The
// controls are applied in the order the screen would see them: the size
// texts first (which reset the presses of their group), then the presses,
// then the sheet sizes, then the self-turn boxes, then everything else.
//
// Refused with JobRefused, the message starting with `where` and naming the
// box (controlLabel): unknown fields and control names, indexes outside an
// array, values of the wrong type or out of range, texts that no entry box
// can hold (a line break or another control character), texts the screen
// refuses (a quantity, 开, press-sheet 开 or other number that is not a
// number, a page count that is not a multiple of 4 once rounded, an empty
// customer or job name), a number outside the range of its box
// (outOfRange), a press that the press rules refuse for the part, a sheet
// size the press does not offer, and ticking a self-turn box the screen
// keeps unavailable. A value equal to what the form holds at that point (a blank
// sheet size where the press offers none, the tick of a greyed self-turn
// box) is the screen's own content and is accepted.
void readJobDescription(const nlohmann::json& job, const std::string& where, FormState& form);

// The description of `form`: its kind and every control whose value
// differs from what reading the description without it would give. Reading
// it onto a fresh FormState gives back the same job.
nlohmann::json describeJob(const FormState& form);

// The value of control `d` at index `i` as a description writes it.
nlohmann::json describedValue(const ControlDef& d, int i, const FormState& form);

// Fills the paper lists with the names of the program folder's working
// paper tables, as the screen does, so that descriptions quote them. Throws
// std::runtime_error when the tables cannot be read.
void fillPaperLists(const ProgramFolder& folder, FormState& form);

}  // namespace inkquot
