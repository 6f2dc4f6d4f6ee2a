// Any bytes as a letterhead file: either no letterhead, or one whose texts
// would be accepted again and whose logo name stays inside the folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/identity/letterhead.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto letterhead =
        inkquot::parseLetterhead(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!letterhead) {
        return 0;
    }
    if (letterhead->empty() || !inkquot::letterheadRefusal(*letterhead).empty() ||
        letterhead->logoFile.find('/') != std::string::npos ||
        letterhead->logoFile.find("..") != std::string::npos) {
        std::abort();
    }
    inkquot::letterheadLines(*letterhead);
    return 0;
}
