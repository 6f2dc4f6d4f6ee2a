#pragma once

#include "core/common/io_status.h"
#include "core/common/program_folder.h"

namespace inkquot {

// Lays out a per-user program folder at the first start, and completes one
// that a crash left half laid out: every file that is missing is written by
// the program's own writers (jgfa/, the built-in scheme's four tables, a
// scheme list naming "系统默认", users.dat with the initial password, and
// the four working tables as copies of the built-in scheme so that the
// command line tool can price at once). A file that exists is never
// touched, whatever it holds: it may carry the shop's own prices.
IoStatus completeProgramFolder(const ProgramFolder& folder);

}  // namespace inkquot
