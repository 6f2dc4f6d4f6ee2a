#include "core/records/history_summary.h"

#include <algorithm>
#include <cmath>

#include "core/common/clock.h"
#include "core/common/gbk.h"

namespace inkquot {

namespace {

// Serials of the first and last days the calendar of the program knows
// (1 January of year 1 and 31 December 9999).
const double kFirstDay = serialFromDate({1, 1, 1});
const double kLastDay = serialFromDate({9999, 12, 31});

int monthKeyOf(double day) {
    if (!std::isfinite(day) || day < kFirstDay || day > kLastDay) {
        return 0;
    }
    const CivilDate date = dateFromSerial(static_cast<int>(std::floor(day)));
    return date.year * 100 + date.month;
}

// A total rounded to the cent it shows as; no number counts as nothing.
std::int64_t centsOf(float total) {
    const double cents = std::nearbyint(static_cast<double>(total) * 100.0);
    return std::isfinite(cents) && std::fabs(cents) < 9e15 ? static_cast<std::int64_t>(cents) : 0;
}

void count(QuoteTotals& totals, std::int64_t cents) {
    ++totals.quotes;
    totals.cents += cents;
}

}  // namespace

void HistorySummarizer::add(std::string_view data) {
    const std::int64_t cents = centsOf(totalPriceOf(data));
    count(all_, cents);
    // Quotations are saved day by day, so the day before is usually the same.
    const double day = savedDayOf(data);
    if (!(day == lastDay_)) {
        lastDay_ = day;
        lastMonth_ = &months_[monthKeyOf(day)];
    }
    count(*lastMonth_, cents);
    const std::string_view customer = customerBytesOf(data);
    auto it = customers_.find(customer);
    if (it == customers_.end()) {
        it = customers_.emplace(std::string(customer), QuoteTotals{}).first;
    }
    count(it->second, cents);
}

HistorySummary HistorySummarizer::summary() const {
    HistorySummary s;
    s.all = all_;
    for (const auto& [key, totals] : months_) {
        s.months.push_back({key / 100, key % 100, totals});
    }
    std::sort(s.months.begin(), s.months.end(), [](const MonthTotals& a, const MonthTotals& b) {
        return a.year * 100 + a.month < b.year * 100 + b.month;
    });
    // The ten largest sums; equal sums by more quotes, then by name, so the
    // list is the same on every run.
    std::vector<std::pair<std::string_view, QuoteTotals>> ranked(customers_.begin(),
                                                                 customers_.end());
    auto larger = [](const auto& a, const auto& b) {
        if (a.second.cents != b.second.cents) {
            return a.second.cents > b.second.cents;
        }
        if (a.second.quotes != b.second.quotes) {
            return a.second.quotes > b.second.quotes;
        }
        return a.first < b.first;
    };
    const std::size_t top = std::min(kTopCustomers, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(top),
                      ranked.end(), larger);
    for (std::size_t i = 0; i < top; ++i) {
        s.customers.push_back({decodeGbkField(ranked[i].first), ranked[i].second});
    }
    return s;
}

IoStatus summarizeHistory(const std::filesystem::path& file, const HistoryMatcher& matcher,
                          HistorySummary& summary, const HistoryProgress& keepGoing) {
    HistorySummarizer summarizer;
    HistoryScanResult result;
    const IoStatus status = scanHistory(
        file, matcher, [&](std::string_view data, std::uint64_t) { summarizer.add(data); },
        keepGoing, result);
    summary = status ? summarizer.summary() : HistorySummary{};
    return status;
}

}  // namespace inkquot
