#include "core/records/history_scan.h"

#include "core/common/date_text.h"
#include "core/common/gbk.h"
#include "core/records/history_query.h"

namespace inkquot {

std::optional<HistoryMatcher> HistoryMatcher::from(const HistoryQuery& query) {
    HistoryMatcher m;
    m.mode_ = query.mode;
    if (query.mode == HistoryMode::Date) {
        const auto cutoff = parseDateText(query.cutoff);
        if (!cutoff) {
            return std::nullopt;
        }
        m.cutoffDay_ = static_cast<double>(serialFromDate(*cutoff));
        return m;
    }
    m.search_ = std::string(
        trimBlanks(query.mode == HistoryMode::Customer ? query.customer : query.jobName));
    // The search text's bytes stand for it when they decode back to it and
    // no other bytes decode to any of its characters; a zero filler byte
    // reads as a blank and a broken byte as U+FFFD, so a search text holding
    // either (or a zero byte) cannot be found by its bytes alone.
    std::string gbk;
    bool clean = false;
    if (!m.search_.empty() &&
        m.search_.find_first_of(std::string_view(" \0", 2)) == std::string::npos &&
        m.search_.find("\xEF\xBF\xBD") == std::string::npos && encodeGbk(m.search_, gbk) &&
        decodeGbk(gbk, &clean) == m.search_ && clean && gbkDecodesUniquely(gbk) &&
        (m.starts_ = gbkCharacterStarts()) != nullptr) {
        m.searchGbk_ = std::move(gbk);
    }
    return m;
}

bool HistoryMatcher::matchesName(std::string_view data) const {
    if (search_.empty()) {
        return true;
    }
    const std::string_view field =
        mode_ == HistoryMode::Customer ? customerFieldOf(data) : jobNameFieldOf(data);
    // The bytes of a decoded match always occur in the field; they may also
    // occur across two characters, so a byte hit is confirmed.
    if (!searchGbk_.empty()) {
        // Only a hit where the decoding starts a character counts.
        std::size_t start = 0;
        for (std::size_t hit = field.find(searchGbk_); hit != std::string_view::npos;
             hit = field.find(searchGbk_, start)) {
            start = starts_->next(field, start, hit);
            if (start == hit) {
                return true;
            }
        }
        return false;
    }
    return matchesNameSearch(decodeGbkField(field), search_);
}

bool HistoryMatcher::matches(const JiluRec& rec) const {
    switch (mode_) {
        case HistoryMode::Customer:
            return matchesNameSearch(rec.Kehuming, search_);
        case HistoryMode::JobName:
            return matchesNameSearch(rec.Yinjianming, search_);
        case HistoryMode::Date:
            return rec.Riqi > cutoffDay_;
    }
    return false;
}

IoStatus scanHistory(const std::filesystem::path& file, const HistoryMatcher& matcher,
                     const std::function<void(std::string_view data, std::uint64_t k)>& onMatch,
                     const HistoryProgress& keepGoing, HistoryScanResult& result,
                     std::uint64_t handedOver) {
    result = {};
    const bool all = matcher.matchesAll();
    return forEachHistoryPiece(
        file,
        [&](const HistoryPiece& piece) {
            std::size_t i = 0;
            for (; i < piece.count && result.matched < handedOver; ++i) {
                const std::string_view data = piece.data(i);
                if (all || matcher.matches(data)) {
                    onMatch(data, ++result.matched);
                }
            }
            // Past the records handed over only the count is wanted.
            if (all) {
                result.matched += piece.count - i;
                return;
            }
            for (; i < piece.count; ++i) {
                result.matched += matcher.matches(piece.data(i)) ? 1 : 0;
            }
        },
        keepGoing, &result.stopped);
}

}  // namespace inkquot
