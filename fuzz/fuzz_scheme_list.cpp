#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/common/gbk.h"
#include "core/pricedata/scheme_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto names =
        inkquot::parseSchemeList(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto& name : names) {
        if (!inkquot::isValidUtf8(name)) {
            std::abort();
        }
    }
    return 0;
}
