#pragma once

// What the GBK decoding and encoding share with the character table: a few
// byte-level helpers, and the table's two directions.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace inkquot::gbk_detail {

inline constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// The position of the first byte from `from` on that is not ASCII (the
// size when there is none), looking at eight bytes at a time.
inline std::size_t asciiRunEnd(std::string_view s, std::size_t from) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t i = from;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, sizeof word);
        if ((word & kHighBits) != 0) {
            break;
        }
    }
    while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) {
        ++i;
    }
    return i;
}

// Length of the UTF-8 sequence at the start of `s`, or 0 when it is invalid.
std::size_t utf8SequenceLength(std::string_view s);

// Appends the decoding of `gbk` to `out`: each character read from the
// table, each byte that starts none as U+FFFD (clearing `allValid`).
void decodeByTable(std::string_view gbk, std::string& out, bool& allValid);

// The GBK bytes of a character that is not ASCII: a lead byte * 256 + its
// trail byte, a single byte as itself, 0 when GBK does not have it.
std::uint16_t gbkBytesOf(char32_t character);

}  // namespace inkquot::gbk_detail
