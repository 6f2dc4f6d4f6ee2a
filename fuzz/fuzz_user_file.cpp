#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/records/user_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto rec = inkquot::parseUserFile(std::string_view(reinterpret_cast<const char*>(data), size));
    inkquot::passwordMatches(rec, "604172");
    inkquot::passwordMatches(rec, "");
    return 0;
}
