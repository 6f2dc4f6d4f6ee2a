#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/gbk.h"
#include "core/common/io_status.h"
#include "core/records/history_file.h"
#include "core/records/history_query.h"

namespace inkquot {

// The match rule of a query, applied to the raw bytes of a record so that a
// history of a million quotations can be searched without decoding every
// text. A name search looks for the GBK bytes of the search text where the
// decoding of the field starts a character, which decides exactly as
// matchesNameSearch on the decoded field; a search text whose bytes cannot
// stand for it (a blank, a zero, U+FFFD, a character GBK lacks or that other
// bytes also decode to) is matched against every decoded field instead.
class HistoryMatcher {
public:
    // No value when the date mode's cut-off text is not a date.
    static std::optional<HistoryMatcher> from(const HistoryQuery& query);

    bool matches(std::string_view data) const {
        return mode_ == HistoryMode::Date ? savedDayOf(data) > cutoffDay_ : matchesName(data);
    }
    bool matches(const JiluRec& rec) const;

    // Whether every record matches (an empty name search).
    bool matchesAll() const { return mode_ != HistoryMode::Date && search_.empty(); }

private:
    bool matchesName(std::string_view data) const;

    HistoryMode mode_ = HistoryMode::Customer;
    std::string search_;     // UTF-8, blanks around it removed
    std::string searchGbk_;  // its GBK bytes, empty when every field must be decoded
    const GbkCharacterStarts* starts_ = nullptr;  // where the decoding's characters start
    double cutoffDay_ = 0;
};

struct HistoryScanResult {
    std::uint64_t matched = 0;  // matching records seen
    bool stopped = false;       // keepGoing asked to stop before the end
};

// Reads the whole history once, in file order, and hands the data bytes of
// every matching record with its number k (1, 2, ...) to `onMatch`; with
// `handedOver` only the first that many, the others are only counted.
IoStatus scanHistory(const std::filesystem::path& file, const HistoryMatcher& matcher,
                     const std::function<void(std::string_view data, std::uint64_t k)>& onMatch,
                     const HistoryProgress& keepGoing, HistoryScanResult& result,
                     std::uint64_t handedOver = UINT64_MAX);

}  // namespace inkquot
