#pragma once

#include "core/common/file_switch.h"
#include "core/common/io_status.h"
#include "core/common/program_folder.h"

namespace inkquot {

// What the program does with its folder before anything else at start:
// finishes a scheme operation that a crash interrupted (recoverSwitch), then
// removes the temporary files that killed writers left in the program folder
// and jgfa. Only files named like the writers' temporaries of the program's
// own files are removed (".fjiben.dat.a1B2c3", ".方案一ji.dat.x9Y8z7"); any
// other file stays. A failure is reported with a message naming the file.
// With `damaged` Clear (the clerk's repair), a journal that cannot be read is
// removed instead of stopping there.
IoStatus recoverProgramFolder(const ProgramFolder& folder,
                              DamagedJournal damaged = DamagedJournal::Report);

// Only the temporary file removal (also run by recoverProgramFolder), and
// only when no other process holds the folder at this moment.
IoStatus removeLeftoverTemporaries(const ProgramFolder& folder);

}  // namespace inkquot
