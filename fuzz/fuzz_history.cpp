#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/records/history_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto records =
        inkquot::parseHistory(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto& r : records) {
        std::string slot;
        (void)inkquot::encodeJiluSlot(r, slot);
    }
    return 0;
}
