// Any bytes as a job line of a batch. When the flat reader takes them, the
// parser's tree of the same text must read onto the form with the same
// outcome: the same refusal, or the same job. A difference, or anything else
// thrown, is a fault of one of the readers.
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "core/job/job_description.h"
#include "core/job/plain_json.h"

namespace {

template <typename Read>
std::string outcome(Read&& read) {
    inkquot::FormState form;
    try {
        read(form);
    } catch (const inkquot::JobRefused& e) {
        return std::string("refused: ") + e.what();
    }
    return inkquot::describeJob(form).dump();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    inkquot::FlatJson flat;
    if (!flat.read(text)) {
        return 0;
    }
    const nlohmann::json tree = nlohmann::json::parse(text);
    const std::string fromFlat =
        outcome([&](inkquot::FormState& form) { readJobDescription(flat, "fuzz", form); });
    const std::string fromTree =
        outcome([&](inkquot::FormState& form) { readJobDescription(tree, "fuzz", form); });
    if (fromFlat != fromTree) {
        __builtin_trap();
    }
    return 0;
}
