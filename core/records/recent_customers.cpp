#include "core/records/recent_customers.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "core/common/gbk.h"
#include "core/records/history_file.h"

namespace inkquot {

IoStatus recentCustomers(const std::filesystem::path& historyFile, std::size_t most,
                         std::vector<std::string>& names) {
    names.clear();
    // Each customer's GBK bytes with the number of its latest record.
    std::unordered_map<std::string, std::uint64_t> latest;
    std::uint64_t k = 0;
    const IoStatus status = forEachHistoryRecord(historyFile, [&](std::string_view data) {
        const std::string_view customer = customerBytesOf(data);
        if (!customer.empty()) {
            latest.insert_or_assign(std::string(customer), ++k);
        }
    });
    if (!status) {
        return status;
    }
    std::vector<std::pair<std::uint64_t, const std::string*>> order;
    order.reserve(latest.size());
    for (const auto& [name, last] : latest) {
        order.emplace_back(last, &name);
    }
    const std::size_t kept = std::min(most, order.size());
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(kept), order.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < kept; ++i) {
        names.push_back(decodeGbkField(*order[i].second));
    }
    return IoStatus::success();
}

}  // namespace inkquot
