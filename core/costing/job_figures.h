#pragma once

#include <vector>

#include "core/costing/cost_records.h"
#include "core/costing/part_costing.h"

namespace inkquot {

// One part costing of a job as the money was formed from it. The whole
// press sheets of a book's inner block are costed one after the other with
// the same PartSpec; such a run is kept once, with the number of sheets.
struct CostedPart {
    int part = 0;  // the part index of the job entry screen (partName)
    PartSpec spec;
    PartStatus status = PartStatus::Costed;
    PartFigures figures;
    double times = 1;
};

// The binding of a book as it was charged. A signature (贴) is four pages;
// the copies charged are the copies bound, but at least the binding minimum.
struct BindingFigures {
    bool bound = false;
    float form = 0;  // 1 骑马订 ... 6 其它装订形式三
    float pages = 0;
    double signatures = 0;
    float copies = 0;
    float chargedCopies = 0;
};

// Everything a costing did besides the money: its parts in the order they
// were costed, and the binding.
struct JobFigures {
    std::vector<CostedPart> parts;
    BindingFigures binding;
};

}  // namespace inkquot
