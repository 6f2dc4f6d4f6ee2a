#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/common/file_switch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const inkquot::ProgramFolder folder("/nonexistent/program");
    inkquot::isValidSwitchJournal(folder,
                                  std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
