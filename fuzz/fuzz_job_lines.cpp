// Any bytes as a batch of job descriptions in JSON Lines: each line read by
// the strict JSON reader and onto a form, and the whole input read as one
// value as a single job would be. A refusal is JsonTextError or JobRefused;
// anything else thrown is a fault of the readers.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/job/form_state.h"
#include "core/job/job_description.h"
#include "core/job/json_text.h"

namespace {

void readJob(std::string_view text) {
    try {
        const nlohmann::json value = inkquot::readJsonText(text);
        inkquot::FormState form;
        inkquot::readJobDescription(value, "fuzz", form);
        (void)inkquot::describeJob(form);
    } catch (const inkquot::JsonTextError&) {
    } catch (const inkquot::JobRefused&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    readJob(input);
    std::size_t start = 0;
    while (start < input.size()) {
        std::size_t end = input.find('\n', start);
        if (end == std::string_view::npos) {
            end = input.size();
        }
        readJob(input.substr(start, end - start));
        start = end + 1;
    }
    try {
        (void)inkquot::readJsonValue(input.begin(), input.end());
    } catch (const inkquot::JsonTextError&) {
    }
    return 0;
}
