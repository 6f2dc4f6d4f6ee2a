#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/common/io_status.h"

namespace inkquot {

// Texts in the record files and the scheme list are in the GBK code page:
// ASCII takes one byte, a Chinese character two (a lead byte 0x81..0xFE and
// a trail byte). In memory every text is UTF-8.

// Decodes GBK bytes to UTF-8. Never fails: a byte that does not start a valid
// GBK character becomes U+FFFD. `clean`, when given, tells whether every byte
// was valid GBK.
std::string decodeGbk(std::string_view gbk, bool* clean = nullptr);

// Decodes a fixed-width field. Zero bytes read as spaces, so that filler and
// the zero slots of a grown file read as blank text; the padding spaces stay.
std::string decodeGbkField(std::string_view gbk, bool* clean = nullptr);

// How the decoding divides GBK bytes into characters (a byte read as U+FFFD
// counts as one).
struct GbkCharacterStarts {
    std::array<bool, 256> leads{};                   // the byte leads a pair
    std::array<std::array<bool, 256>, 256> pairs{};  // the two bytes are one character

    // Walking from `from`, itself a character start, the first start at or
    // after `at` (at most the size).
    std::size_t next(std::string_view gbk, std::size_t from, std::size_t at) const {
        at = std::min(at, gbk.size());
        std::size_t i = from;
        while (i < at) {
            const auto b = static_cast<unsigned char>(gbk[i]);
            i += leads[b] && i + 1 < gbk.size() && pairs[b][static_cast<unsigned char>(gbk[i + 1])]
                     ? 2
                     : 1;
        }
        return i;
    }
};

// The character starts of the whole character set, laid out from the
// character table once per process and shared; never null.
const GbkCharacterStarts* gbkCharacterStarts();

// Whether `gbk` is well-formed GBK text none of whose characters other bytes
// also decode to. Its decoded text then occurs in decoded bytes exactly where
// its own bytes occur at a character start.
bool gbkDecodesUniquely(std::string_view gbk);

// Encodes UTF-8 to GBK. Invalid UTF-8 and characters that GBK does not have
// (an emoji, for example) are refused with IoError::BadText and a message.
IoStatus encodeGbk(std::string_view utf8, std::string& gbk);

// Encodes UTF-8 into a field of exactly `width` bytes: left-aligned, padded
// with spaces, a longer text cut at the last whole character that fits (a
// double-byte character is never split).
IoStatus encodeGbkField(std::string_view utf8, std::size_t width, std::string& field);

// The length of the longest prefix of well-formed GBK text that fits in
// `width` bytes without splitting a double-byte character.
std::size_t gbkFitLength(std::string_view gbk, std::size_t width);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool isValidUtf8(std::string_view text);

// The length of the well-formed UTF-8 character at the start of `text`; 0
// when the text is empty or its first byte starts none.
std::size_t utf8CharacterLength(std::string_view text);

// The text with every byte that starts no well-formed UTF-8 character
// replaced by U+FFFD: for bytes from outside (a parser's message quoting the
// input it stopped at) on their way into the program's UTF-8 output.
std::string validUtf8(std::string_view text);

}  // namespace inkquot
