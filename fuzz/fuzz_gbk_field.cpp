// Any bytes given as UTF-8 text: either refused, or a field of exactly the
// width that decodes back without a broken character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/common/gbk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t width = data[0] % 40;
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string field;
    if (!inkquot::encodeGbkField(text, width, field)) {
        return 0;
    }
    bool clean = false;
    std::string back = inkquot::decodeGbk(field, &clean);
    if (field.size() != width || !clean) {
        std::abort();
    }
    // Whatever fit is the start of the text.
    std::size_t end = back.find_last_not_of(' ');
    std::string kept = end == std::string::npos ? std::string() : back.substr(0, end + 1);
    if (text.substr(0, kept.size()) != kept) {
        std::abort();
    }
    return 0;
}
