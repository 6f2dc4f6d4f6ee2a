#pragma once

#include <string>

#include "core/costing/job_form.h"

namespace inkquot {

// What the clerk calls control `control` at `index` on the pricing page: the
// caption of the box with the part, kind or size entry it belongs to, as
// "内页一的页数", "书刊\画册的计价数量", "封面展开规格的开数" or
// "单张\招贴的“压痕/模切”". Messages about a job name its boxes this way.
std::string controlLabel(Ctl control, int index);

}  // namespace inkquot
