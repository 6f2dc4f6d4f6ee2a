// Any bytes as a job file: refused with JobRefused, or read onto the form.
// Anything else thrown is a fault of the reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/job/job_description.h"
#include "core/job/job_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    inkquot::FormState form;
    try {
        inkquot::readJobFileText(std::string_view(reinterpret_cast<const char*>(data), size),
                                 "fuzz", form);
        (void)inkquot::describeJob(form);
    } catch (const inkquot::JobRefused&) {
    }
    return 0;
}
