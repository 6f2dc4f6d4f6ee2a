#include "core/records/history_scan.h"

#include "core/common/date_text.h"
#include "core/common/gbk.h"
#include "core/records/history_query.h"

namespace inkquot {

namespace {

// The length of the GBK character at the start of `rest`, 0 when the bytes
// there are no plain character (a zero byte, a broken or cut character).
std::size_t plainCharacterLength(std::string_view rest) {
    const auto c = static_cast<unsigned char>(rest[0]);
    if (c == 0 || c == 0x80 || c == 0xFF) {
        return 0;
    }
    if (c < 0x80) {
        return 1;
    }
    if (rest.size() < 2) {
        return 0;
    }
    const auto t = static_cast<unsigned char>(rest[1]);
    return t < 0x40 || t == 0x7F || t == 0xFF ? 0 : 2;
}

// Whether the search bytes occur at a character start of a field; no value
// when plain characters alone cannot tell. Plain GBK characters decode one
// by one, so a search text found at a character start after plain ones is
// in the decoded text, and in a field of plain characters only there.
std::optional<bool> foundAtCharacter(std::string_view field, std::string_view search) {
    std::size_t i = 0;
    auto walkTo = [&](std::size_t end) {
        while (i < end) {
            const std::size_t n = plainCharacterLength(field.substr(i));
            if (n == 0) {
                return false;
            }
            i += n;
        }
        return true;
    };
    for (auto hit = field.find(search); hit != std::string_view::npos;
         hit = field.find(search, hit + 1)) {
        if (hit < i) {
            continue;
        }
        if (!walkTo(hit)) {
            return std::nullopt;
        }
        if (i == hit) {
            return true;
        }
    }
    if (!walkTo(field.size())) {
        return std::nullopt;
    }
    return false;
}

}  // namespace

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
    // A zero filler byte reads as a blank and a broken byte as U+FFFD, so a
    // search text holding either cannot be found by its bytes alone.
    std::string gbk;
    if (m.search_.find(' ') == std::string::npos &&
        m.search_.find("\xEF\xBF\xBD") == std::string::npos && encodeGbk(m.search_, gbk)) {
        m.searchGbk_ = std::move(gbk);
    }
    return m;
}

bool HistoryMatcher::matches(std::string_view data) const {
    if (mode_ == HistoryMode::Date) {
        return savedDayOf(data) > cutoffDay_;
    }
    if (search_.empty()) {
        return true;
    }
    const std::string_view field =
        mode_ == HistoryMode::Customer ? customerFieldOf(data) : jobNameFieldOf(data);
    // The bytes of a decoded match always occur in the field; they may also
    // occur across two characters, so a byte hit is confirmed.
    if (!searchGbk_.empty()) {
        if (field.find(searchGbk_) == std::string_view::npos) {
            return false;
        }
        if (const auto plain = foundAtCharacter(field, searchGbk_)) {
            return *plain;
        }
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
                     const HistoryProgress& keepGoing, HistoryScanResult& result) {
    result = {};
    return forEachHistoryRecord(
        file,
        [&](std::string_view data) {
            if (matcher.matches(data)) {
                onMatch(data, ++result.matched);
            }
        },
        keepGoing, &result.stopped);
}

}  // namespace inkquot
