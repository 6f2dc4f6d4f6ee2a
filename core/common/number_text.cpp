#include "core/common/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace inkquot {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

// Checks the grammar and copies the number without sign and grouping into
// `clean`, in the form std::from_chars reads.
bool cleanNumber(std::string_view s, std::string& clean) {
    std::size_t i = 0;
    const std::size_t n = s.size();

    // Whole part: "1234" or "1,234,567" (a first group of one to three
    // digits, then groups of exactly three).
    int digits = 0;
    std::size_t group = 0;
    bool grouped = false;
    for (; i < n; ++i) {
        const char c = s[i];
        if (isDigit(c)) {
            clean += c;
            ++group;
            ++digits;
        } else if (c == ',') {
            if (group == 0 || (grouped ? group != 3 : group > 3)) {
                return false;
            }
            grouped = true;
            group = 0;
        } else {
            break;
        }
    }
    if (grouped && group != 3) {
        return false;
    }

    if (i < n && s[i] == '.') {
        clean += '.';
        for (++i; i < n && isDigit(s[i]); ++i) {
            clean += s[i];
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }

    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        clean += 'e';
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-')) {
            clean += s[i];
            ++i;
        }
        int exponentDigits = 0;
        for (; i < n && isDigit(s[i]); ++i) {
            clean += s[i];
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    return i == n;
}

template <typename T>
std::string shortestText(T value) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

}  // namespace

std::optional<float> parseNumber(std::string_view text) {
    std::string_view s = trimBlanks(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    std::string clean;
    if (!cleanNumber(s, clean)) {
        return std::nullopt;
    }
    float value = 0;
    const char* end = clean.data() + clean.size();
    // Out of range (too large, or a non-zero value below the smallest
    // float) comes back as an error and is not a number.
    const auto r = std::from_chars(clean.data(), end, value, std::chars_format::general);
    if (r.ec != std::errc{} || r.ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::string shortestFloatText(float value) {
    return shortestText(value);
}

std::string shortestDoubleText(double value) {
    return shortestText(value);
}

std::string groupedFixed(double value, int decimals) {
    if (!std::isfinite(value)) {
        return shortestText(value);
    }
    if (decimals < 0) {
        decimals = 0;
    }
    // The largest double has 309 whole digits; the usual few decimals fit on
    // the stack.
    const std::size_t size = 320 + static_cast<std::size_t>(decimals);
    char onStack[384];
    std::string onHeap;
    char* buffer = onStack;
    if (size > sizeof onStack) {
        onHeap.assign(size, '\0');
        buffer = onHeap.data();
    }
    const auto r = std::to_chars(buffer, buffer + size, value, std::chars_format::fixed, decimals);
    std::string_view digits(buffer, static_cast<std::size_t>(r.ptr - buffer));

    bool negative = false;
    if (!digits.empty() && digits.front() == '-') {
        negative = true;
        digits.remove_prefix(1);
    }
    if (digits.find_first_not_of("0.") == std::string_view::npos) {
        negative = false;  // rounds to zero: "0.00", never "-0.00"
    }
    const std::size_t point = digits.find('.');
    const std::string_view whole = digits.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : digits.substr(point);

    std::string out;
    out.reserve(1 + digits.size() + whole.size() / 3);
    if (negative) {
        out += '-';
    }
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i != 0 && (whole.size() - i) % 3 == 0) {
            out += ',';
        }
        out += whole[i];
    }
    out += fraction;
    return out;
}

float roundHalfEven(float value) {
    if (!std::isfinite(value)) {
        return value;
    }
    const float below = std::floor(value);
    const float rest = value - below;  // exact for floats
    if (rest > 0.5f) {
        return below + 1;
    }
    if (rest < 0.5f) {
        return below;
    }
    return std::fmod(below, 2.0f) == 0 ? below : below + 1;
}

}  // namespace inkquot
