#pragma once

#include <cstddef>

#include "core/common/file_io.h"

namespace inkquot::testing_support {

// Makes every call of one write step fail while it lives (after the first
// `skip` of them).
class FailWrites {
public:
    explicit FailWrites(io_test_hooks::FailPoint point, std::size_t bytes = 0,
                        std::size_t skip = 0) {
        io_test_hooks::failNextWrites(point, bytes, skip);
    }
    ~FailWrites() { io_test_hooks::failNextWrites(io_test_hooks::FailPoint::None); }
    FailWrites(const FailWrites&) = delete;
    FailWrites& operator=(const FailWrites&) = delete;
};

}  // namespace inkquot::testing_support
