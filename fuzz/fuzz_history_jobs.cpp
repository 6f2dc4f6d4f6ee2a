// Any bytes as the job descriptions kept beside the history: looking up a
// record's description never crashes and finds nothing it was not given.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/records/history_jobs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "inkquot-fuzz-XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    const inkquot::ProgramFolder program(folder);
    {
        std::ofstream out(program.file(inkquot::kHistoryJobsFileName),
                          std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::string record(inkquot::kJiluDataLength, '\0');
    for (std::uint64_t occurrence : {0, 1}) {
        (void)inkquot::findSavedJob(program, record, occurrence);
    }
    return 0;
}
