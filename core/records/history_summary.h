#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/common/io_status.h"
#include "core/records/history_scan.h"

namespace inkquot {

// Quotations and their money over one stretch: a month, a customer, a query.
// Money is summed in whole cents, so a sum of a million totals is exact.
struct QuoteTotals {
    std::uint64_t quotes = 0;
    std::int64_t cents = 0;
};

struct MonthTotals {
    int year = 0;  // 0 for records whose saved day is no date at all
    int month = 0;
    QuoteTotals totals;
};

struct CustomerTotals {
    std::string customer;  // as the history list shows it, without trailing blanks
    QuoteTotals totals;
};

// What the history page shows at a glance for the records of a query.
struct HistorySummary {
    QuoteTotals all;
    std::vector<MonthTotals> months;        // calendar order; the undated ones first
    std::vector<CustomerTotals> customers;  // the largest sums first, at most kTopCustomers
};

inline constexpr std::size_t kTopCustomers = 10;

// Adds up records one at a time, in any number: it holds one entry per month
// and per customer, never the records themselves.
class HistorySummarizer {
public:
    void add(std::string_view data);  // the data bytes of one record
    HistorySummary summary() const;

private:
    QuoteTotals all_;
    std::unordered_map<int, QuoteTotals> months_;                // year × 100 + month
    double lastDay_ = std::numeric_limits<double>::quiet_NaN();  // the record before's day
    QuoteTotals* lastMonth_ = nullptr;                           // and its month's entry
    // Looked up by the record's bytes as they stand, without a copy.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    // The customers by their GBK bytes, trailing blanks cut.
    std::unordered_map<std::string, QuoteTotals, TextHash, std::equal_to<>> customers_;
};

// The summary of the records a query lists, read from the history file in one
// pass. Every whole record counts; a total that a damaged record holds as no
// number counts as 0, as the history list shows it.
IoStatus summarizeHistory(const std::filesystem::path& file, const HistoryMatcher& matcher,
                          HistorySummary& summary, const HistoryProgress& keepGoing = {});

}  // namespace inkquot
