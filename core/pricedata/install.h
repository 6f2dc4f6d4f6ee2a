#pragma once

#include "core/common/io_status.h"
#include "core/common/program_folder.h"

namespace inkquot {

// Lays out a ready program folder: the folder and its jgfa folder, the four
// files of the built-in scheme written from the program's constants, the
// scheme list (created listing "系统默认", or given a "系统默认" line in first
// place when an existing list lacks it, its other lines kept as they are) and users.dat with
// the initial password when it is missing (an existing password file is
// never touched). The working tables are left to the start-up selection.
IoStatus installProgramFolder(const ProgramFolder& folder);

}  // namespace inkquot
