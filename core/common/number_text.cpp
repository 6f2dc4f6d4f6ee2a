#include "core/common/number_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
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

// The value of a number text as T: blanks around it, an optional sign, then
// what cleanNumber accepts. Out of range (too large, or a non-zero value
// below the smallest T) comes back as an error and is not a number.
template <typename T>
std::optional<T> parseSignedNumber(std::string_view text) {
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
    T value = 0;
    const char* end = clean.data() + clean.size();
    const auto r = std::from_chars(clean.data(), end, value, std::chars_format::general);
    if (r.ec != std::errc{} || r.ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

}  // namespace

std::optional<float> parseNumber(std::string_view text) {
    // The usual entry, a few plain digits: a whole number below 2^24, which
    // a float holds exactly.
    if (!text.empty() && text.size() <= 7 && std::all_of(text.begin(), text.end(), isDigit)) {
        std::uint32_t n = 0;
        for (const char c : text) {
            n = n * 10 + static_cast<std::uint32_t>(c - '0');
        }
        return static_cast<float>(n);
    }
    return parseSignedNumber<float>(text);
}

std::optional<double> parseNumberDouble(std::string_view text) {
    if (!parseNumber(text)) {
        return std::nullopt;
    }
    return parseSignedNumber<double>(text);
}

std::string shortestFloatText(float value) {
    return shortestText(value);
}

std::string shortestDoubleText(double value) {
    return shortestText(value);
}

std::string groupedFixed(double value, int decimals) {
    std::string out;
    appendGroupedFixed(out, value, decimals);
    return out;
}

namespace {

// Digits with "," between groups of three, counted from the right.
void appendGrouped(std::string& out, std::string_view whole) {
    // The first group holds 1 to 3 digits, every later one 3.
    std::size_t group = whole.size() % 3 == 0 ? 3 : whole.size() % 3;
    for (std::size_t i = 0; i < whole.size(); i += group, group = 3) {
        if (i != 0) {
            out += ',';
        }
        out.append(whole.substr(i, group));
    }
}

// The usual amount (a float, a few decimals) in whole numbers: when value ×
// 10^decimals is exact in a double and below 2^53, rounding it to a whole
// number (halves to even, the default rounding) rounds the exact value
// exactly as the decimal expansion would. False when that does not hold.
bool appendExactlyScaled(std::string& out, double value, int decimals) {
    constexpr std::uint64_t kPowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    constexpr double kWholeLimit = 9007199254740992.0;  // 2^53
    if (decimals >= static_cast<int>(std::size(kPowers))) {
        return false;
    }
    const std::uint64_t scale = kPowers[decimals];
    // value = ±mantissa × 2^e; the product is exact when mantissa × scale
    // (the mantissa without its trailing zero bits) fits 53 bits.
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const std::uint64_t biased = (bits >> 52) & 0x7FF;
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    if (biased == 0 && mantissa != 0) {
        return false;  // subnormal: left to the general way
    }
    if (biased != 0) {
        mantissa |= std::uint64_t{1} << 52;
    }
    if (mantissa != 0) {
        mantissa >>= std::countr_zero(mantissa);
        if (mantissa > (std::uint64_t{1} << 53) / scale) {
            return false;
        }
    }
    const double scaled = value * static_cast<double>(scale);
    if (!(std::fabs(scaled) < kWholeLimit)) {
        return false;
    }
    const double rounded = std::nearbyint(scaled);
    const auto n = static_cast<std::uint64_t>(std::fabs(rounded));
    if (n != 0 && rounded < 0) {
        out += '-';  // a value that rounds to zero shows without a sign
    }
    char digits[24];
    const auto whole = std::to_chars(digits, digits + sizeof digits, n / scale);
    appendGrouped(out, std::string_view(digits, static_cast<std::size_t>(whole.ptr - digits)));
    if (decimals > 0) {
        out += '.';
        char fraction[8];
        std::uint64_t rest = n % scale;
        for (int i = decimals - 1; i >= 0; --i) {
            fraction[i] = static_cast<char>('0' + rest % 10);
            rest /= 10;
        }
        out.append(fraction, static_cast<std::size_t>(decimals));
    }
    return true;
}

}  // namespace

void appendGroupedFixed(std::string& out, double value, int decimals) {
    if (!std::isfinite(value)) {
        out += shortestText(value);
        return;
    }
    if (decimals < 0) {
        decimals = 0;
    }
    if (value == 0) {
        // Most amounts of a breakdown are nothing; -0 shows as 0 too.
        out += '0';
        if (decimals > 0) {
            out += '.';
            out.append(static_cast<std::size_t>(decimals), '0');
        }
        return;
    }
    if (appendExactlyScaled(out, value, decimals)) {
        return;
    }
    // The largest double has 309 whole digits; the usual few decimals fit
    // beside them on the stack.
    constexpr std::size_t kWhole = 320;
    std::array<char, kWhole + 32> small;
    std::string large;
    char* buffer = small.data();
    std::size_t room = small.size();
    if (static_cast<std::size_t>(decimals) + kWhole > room) {
        large.resize(kWhole + static_cast<std::size_t>(decimals));
        buffer = large.data();
        room = large.size();
    }
    const auto r = std::to_chars(buffer, buffer + room, value, std::chars_format::fixed, decimals);
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

    if (negative) {
        out += '-';
    }
    appendGrouped(out, whole);
    out += fraction;
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
