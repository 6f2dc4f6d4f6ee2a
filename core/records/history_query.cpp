#include "core/records/history_query.h"

#include <charconv>
#include <cmath>

#include "core/common/date_text.h"
#include "core/common/number_text.h"
#include "core/records/history_scan.h"

namespace inkquot {

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

namespace {

const std::string kGap(4, ' ');

// Reads 1 to `maxDigits` digits; advances `s`.
std::optional<int> readDigits(std::string_view& s, std::size_t maxDigits) {
    std::size_t n = 0;
    while (n < s.size() && n < maxDigits && s[n] >= '0' && s[n] <= '9') {
        ++n;
    }
    if (n == 0 || (n < s.size() && s[n] >= '0' && s[n] <= '9')) {
        return std::nullopt;
    }
    int v = 0;
    std::from_chars(s.data(), s.data() + n, v);
    s.remove_prefix(n);
    return v;
}

bool take(std::string_view& s, std::string_view sep) {
    if (s.substr(0, sep.size()) != sep) {
        return false;
    }
    s.remove_prefix(sep.size());
    return true;
}

// Stored days are whole; a value outside the calendar's years 1..9999 is
// garbage from a damaged file.
constexpr double kFirstSerial = -693593;  // 1 January 1
constexpr double kLastSerial = 2958465;   // 31 December 9999

std::string amountText(float v, int decimals) {
    return groupedFixed(std::isfinite(v) ? v : 0.0f, decimals);
}

}  // namespace

std::optional<CivilDate> parseDateText(std::string_view text) {
    std::string_view s = trimBlanks(text);
    const auto year = readDigits(s, 4);
    if (!year || *year < 1000) {
        return std::nullopt;
    }
    std::optional<int> month;
    std::optional<int> day;
    if (take(s, "年")) {
        month = readDigits(s, 2);
        if (!month || !take(s, "月")) {
            return std::nullopt;
        }
        day = readDigits(s, 2);
        take(s, "日");  // may be left off
    } else {
        const std::string_view sep = s.substr(0, 1);
        if (sep != "/" && sep != "-" && sep != ".") {
            return std::nullopt;
        }
        s.remove_prefix(1);
        month = readDigits(s, 2);
        if (!month || !take(s, sep)) {
            return std::nullopt;
        }
        day = readDigits(s, 2);
    }
    if (!day || !s.empty()) {
        return std::nullopt;
    }
    const CivilDate date{*year, *month, *day};
    if (!isValidDate(date)) {
        return std::nullopt;
    }
    return date;
}

std::string historyDateText(double riqi) {
    if (!std::isfinite(riqi) || riqi < kFirstSerial || riqi > kLastSerial) {
        return "?";
    }
    return shortDateText(dateFromSerial(static_cast<int>(std::floor(riqi))));
}

bool matchesNameSearch(std::string_view field, std::string_view search) {
    search = trimBlanks(search);
    return search.empty() || field.find(search) != std::string_view::npos;
}

std::vector<std::string> historyLines(const JiluRec& rec, int k) {
    // Each line is built once at its final length: the list of a query
    // holds ten of them for each of up to a thousand records.
    auto line = [](std::string_view caption, std::string_view gap, std::string_view value) {
        std::string s;
        s.reserve(caption.size() + gap.size() + value.size());
        s.append(caption).append(gap).append(value);
        return s;
    };
    std::vector<std::string> lines;
    lines.reserve(10);
    lines.push_back(std::to_string(k) + "记录");
    lines.push_back(line("日期：", kGap, historyDateText(rec.Riqi)));
    lines.push_back(line("客户名称：", {}, rec.Kehuming));
    lines.push_back(line("印件名称：", {}, rec.Yinjianming));
    lines.push_back(line("规格：", kGap, rec.Guige));
    lines.push_back(line("数量：", kGap, amountText(rec.Shuliang, 0)));
    lines.push_back(line("单价：", kGap, amountText(rec.Danjia, 4)));
    lines.push_back(line("总价：", kGap, amountText(rec.Zongjia, 2)));
    lines.push_back(line("加工要求：", {}, rec.Yaoqiu));
    lines.emplace_back();
    return lines;
}

std::optional<std::vector<std::string>> queryLines(const std::vector<JiluRec>& records,
                                                   const HistoryQuery& query) {
    const auto matcher = HistoryMatcher::from(query);
    if (!matcher) {
        return std::nullopt;
    }
    std::vector<std::string> lines;
    int k = 1;
    for (const JiluRec& rec : records) {
        if (matcher->matches(rec)) {
            for (auto& line : historyLines(rec, k++)) {
                lines.push_back(std::move(line));
            }
        }
    }
    return lines;
}

}  // namespace inkquot
