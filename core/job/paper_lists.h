#pragma once

#include <string>
#include <vector>

#include "core/common/program_folder.h"

namespace inkquot {

// The names the paper lists of the job entry form offer: one per record of
// the working paper table (50) and of the sticker paper table (10), in record
// order, so list position + 1 is the record number. Records missing from a
// short file have blank names.
struct PaperNames {
    std::vector<std::string> papers;
    std::vector<std::string> stickerPapers;
    bool read = false;  // both tables could be read
};

PaperNames readPaperNames(const ProgramFolder& folder);

}  // namespace inkquot
