#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/clock.h"
#include "core/records/history_file.h"

namespace inkquot {

// A search text or field without its leading and trailing blanks and tabs.
std::string_view trimBlanks(std::string_view s);

// How the history page looks for saved quotations.
enum class HistoryMode { Customer = 0, JobName = 1, Date = 2 };

// A date as a clerk types it: year, month and day separated by "/", "-" or
// ".", or written "2026年12月7日"; blanks around it are allowed. Nothing else is
// a date (no two-digit years, no day that the calendar does not have).
std::optional<CivilDate> parseDateText(std::string_view text);

// The date of a record as the list shows it (short form); a stored value
// that is no date at all shows as "?".
std::string historyDateText(double riqi);

// Whether a record matches a name search: the search text, blanks around it
// removed, occurs anywhere in the field (case-sensitive); an empty search
// matches every record.
bool matchesNameSearch(std::string_view field, std::string_view search);

// The ten lines the history list shows for the k-th listed record (the last
// one empty).
std::vector<std::string> historyLines(const JiluRec& rec, int k);

// The lines of a whole query. An invalid date in date mode gives no value.
struct HistoryQuery {
    HistoryMode mode = HistoryMode::Customer;
    std::string customer;
    std::string jobName;
    std::string cutoff;  // date text
};
std::optional<std::vector<std::string>> queryLines(const std::vector<JiluRec>& records,
                                                   const HistoryQuery& query);

}  // namespace inkquot
