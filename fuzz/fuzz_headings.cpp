// Any bytes as the file of the last headings: no heading, or a non-empty one
// within the kept length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/identity/remembered_headings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (auto kind : {inkquot::HeadingKind::Quotation, inkquot::HeadingKind::PriceTable}) {
        const auto heading = inkquot::parseHeading(bytes, kind);
        if (heading && (heading->empty() || heading->size() > inkquot::kMaxKeptHeadingBytes)) {
            std::abort();
        }
    }
    return 0;
}
