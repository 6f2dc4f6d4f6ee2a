#pragma once

#include <cstddef>

#include "core/common/file_io.h"

namespace inkquot::testing_support {

// Makes every atomic write fail at one step while it lives.
class FailWrites {
public:
    explicit FailWrites(io_test_hooks::FailPoint point, std::size_t bytes = 0) {
        io_test_hooks::failNextWrites(point, bytes);
    }
    ~FailWrites() { io_test_hooks::failNextWrites(io_test_hooks::FailPoint::None); }
    FailWrites(const FailWrites&) = delete;
    FailWrites& operator=(const FailWrites&) = delete;
};

}  // namespace inkquot::testing_support
