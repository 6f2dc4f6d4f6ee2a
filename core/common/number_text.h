#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace inkquot {

// The one test of whether a text is a number, used by every box that takes
// one. Accepted: blanks (spaces, tabs) around it, an optional sign, digits
// with optional "," thousands grouping in the whole part (groups of three
// after the first, "12,345"), at most one ".", and an optional exponent
// ("e" or "E", optional sign, digits). At least one digit must come before
// the exponent. Not numbers: an empty or blank text, "inf", "nan",
// hexadecimal, a "," that does not group thousands ("1,5"), and values that a
// 32-bit float cannot hold (too large, or so small that they would vanish
// to 0).
//
// The value is the decimal text rounded once, correctly, to the nearest
// 32-bit float (never through a double first).
std::optional<float> parseNumber(std::string_view text);

// The value of a text that parseNumber accepts, in double precision (none
// for any other text): the number as it was typed, before it is rounded to
// a 32-bit float, for checks that must not be fooled by that rounding
// ("100000001" is past 100000000 although its float is not).
std::optional<double> parseNumberDouble(std::string_view text);

// What every box that wants a number says to a text that is none.
inline constexpr std::string_view kNotANumberText = "非法数据！";

// The shortest decimal text that reads back as exactly this value ("2",
// "0.5", "16", "1e+20"). Used wherever the program writes a number into a
// box (sheet sizes, the 开 of a cover).
std::string shortestFloatText(float value);
std::string shortestDoubleText(double value);

// A fixed number of decimals with "," thousands grouping, a "0" before the
// point and "-" for negatives: 12345.6 with 2 decimals is "12,345.60". The
// exact binary value is rounded to the decimals; an exact tie (0.125 to two
// decimals) goes to the even digit ("0.12"). A value that rounds to zero
// shows without a sign. Used for amounts (2 decimals), unit prices (4) and
// quantities (0).
std::string groupedFixed(double value, int decimals);
// The same, appended to `out`.
void appendGroupedFixed(std::string& out, double value, int decimals);

// Rounds to a whole number, halves to the even neighbour (2.5 -> 2,
// 3.5 -> 4, -2.5 -> -2). Infinities and NaN come back unchanged.
float roundHalfEven(float value);

}  // namespace inkquot
