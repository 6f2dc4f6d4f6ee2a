#pragma once

#include "core/costing/job_form.h"

// Copies a whole job from one form to another through the target's setters,
// in the order the screen sees a job arrive: the kind, the size entries
// (series, 开, press-sheet 开, which reset the presses of their group), the
// presses (which rebuild the sheet-size lists and set the self-turn boxes),
// the sheet sizes, the self-turn boxes, then every other control. The target
// ends with the same value in every control the costing reads.
//
// Lists are copied by position where the source has a selection, so a list
// that holds the same item twice (the box papers' "250") keeps the one that
// was chosen; a typed text that is no item is copied as text.
void copyJob(const inkquot::JobForm& from, inkquot::JobForm& to);
