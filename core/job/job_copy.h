#pragma once

#include <array>

#include "core/costing/job_form.h"

namespace inkquot {

// The order in which a whole job arrives on a form. A later step must not
// undo an earlier one, so the controls whose change rules reset others come
// first: the kind; the size entries (series, 开, press-sheet 开, which reset
// the presses of their group); the presses (which rebuild the sheet-size
// lists and set the self-turn boxes); the sheet sizes; the self-turn boxes;
// then every other control.
enum class ApplyStep { Kind, SizeEntries, Presses, SheetSizes, SelfTurn, Rest };

inline constexpr std::array<ApplyStep, 6> kApplySteps = {
    ApplyStep::Kind,       ApplyStep::SizeEntries, ApplyStep::Presses,
    ApplyStep::SheetSizes, ApplyStep::SelfTurn,    ApplyStep::Rest};

ApplyStep applyStepOf(Ctl control);

// Copies a whole job from one form to another through the target's setters,
// step by step in the order above. The target ends with the same value in
// every control the costing reads.
//
// Lists are copied by position where the source has a selection, so a list
// that holds the same item twice (the box papers' "250") keeps the one that
// was chosen; a typed text that is no item is copied as text.
void copyJob(const JobForm& from, JobForm& to);

}  // namespace inkquot
