#include "core/common/gbk.h"

#include <algorithm>
#include <cstdint>

#include "core/common/gbk_internal.h"

namespace inkquot {

namespace gbk_detail {

std::size_t utf8SequenceLength(std::string_view s) {
    if (s.empty()) {
        return 0;
    }
    auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    auto cont = [&](std::size_t i) { return i < s.size() && (b(i) & 0xC0) == 0x80; };
    unsigned char c = b(0);
    if (c < 0x80) {
        return 1;
    }
    if (c >= 0xC2 && c <= 0xDF) {
        return cont(1) ? 2 : 0;
    }
    if (c >= 0xE0 && c <= 0xEF) {
        if (!cont(1) || !cont(2)) {
            return 0;
        }
        if (c == 0xE0 && b(1) < 0xA0) {
            return 0;  // overlong
        }
        if (c == 0xED && b(1) >= 0xA0) {
            return 0;  // surrogate
        }
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (!cont(1) || !cont(2) || !cont(3)) {
            return 0;
        }
        if (c == 0xF0 && b(1) < 0x90) {
            return 0;
        }
        if (c == 0xF4 && b(1) >= 0x90) {
            return 0;
        }
        return 4;
    }
    return 0;
}

}  // namespace gbk_detail

using namespace gbk_detail;

namespace {

bool isAscii(std::string_view s) {
    return asciiRunEnd(s, 0) == s.size();
}

// The code point of the valid UTF-8 sequence of `len` bytes that `s` starts
// with: the lead byte's low bits, then six bits from each further byte.
char32_t codePointOf(std::string_view s, std::size_t len) {
    char32_t cp = static_cast<unsigned char>(s[0]) & (0x7Fu >> len);
    for (std::size_t k = 1; k < len; ++k) {
        cp = cp << 6 | (static_cast<unsigned char>(s[k]) & 0x3Fu);
    }
    return cp;
}

std::string decodeWith(std::string_view gbk, bool* clean, bool zeroAsSpace) {
    bool allValid = true;
    std::string out;
    if (isAscii(gbk)) {
        out.assign(gbk);
    } else {
        decodeByTable(gbk, out, allValid);
    }
    // Zero bytes are rare (filler in a damaged or grown file): looked for
    // first, replaced only when there.
    if (zeroAsSpace && out.find('\0') != std::string::npos) {
        std::replace(out.begin(), out.end(), '\0', ' ');
    }
    if (clean) {
        *clean = allValid;
    }
    return out;
}

}  // namespace

bool isValidUtf8(std::string_view text) {
    while (!text.empty()) {
        std::size_t n = utf8SequenceLength(text);
        if (n == 0) {
            return false;
        }
        text.remove_prefix(n);
    }
    return true;
}

std::size_t utf8CharacterLength(std::string_view text) {
    return utf8SequenceLength(text);
}

std::string validUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const std::size_t n = utf8SequenceLength(text);
        if (n == 0) {
            out += kReplacement;
            text.remove_prefix(1);
            continue;
        }
        out.append(text.substr(0, n));
        text.remove_prefix(n);
    }
    return out;
}

std::string decodeGbk(std::string_view gbk, bool* clean) {
    return decodeWith(gbk, clean, false);
}

std::string decodeGbkField(std::string_view gbk, bool* clean) {
    return decodeWith(gbk, clean, true);
}

IoStatus encodeGbk(std::string_view utf8, std::string& gbk) {
    gbk.clear();
    if (isAscii(utf8)) {
        gbk.assign(utf8);
        return IoStatus::success();
    }
    if (!isValidUtf8(utf8)) {
        return IoStatus::failure(IoError::BadText, "文字的编码无效，无法保存。");
    }
    gbk.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t asciiEnd = asciiRunEnd(utf8, i);
        gbk.append(utf8.substr(i, asciiEnd - i));
        i = asciiEnd;
        if (i == utf8.size()) {
            break;
        }
        const std::string_view rest = utf8.substr(i);
        const std::size_t len = utf8SequenceLength(rest);  // valid: checked above
        const char32_t character = codePointOf(rest, len);
        const std::uint16_t bytes = gbkBytesOf(character);
        if (bytes == 0) {
            gbk.clear();
            return IoStatus::failure(IoError::BadText, "“" + std::string(utf8) + "”中的字符“" +
                                                           std::string(rest.substr(0, len)) +
                                                           "”无法保存。");
        }
        if (bytes > 0xFF) {
            gbk.push_back(static_cast<char>(bytes >> 8));
        }
        gbk.push_back(static_cast<char>(bytes & 0xFF));
        i += len;
    }
    return IoStatus::success();
}

std::size_t gbkFitLength(std::string_view gbk, std::size_t width) {
    std::size_t i = 0;
    while (i < gbk.size()) {
        auto c = static_cast<unsigned char>(gbk[i]);
        std::size_t len = (c >= 0x81 && c <= 0xFE) ? 2 : 1;
        if (i + len > width || i + len > gbk.size()) {
            break;
        }
        i += len;
    }
    return i;
}

IoStatus encodeGbkField(std::string_view utf8, std::size_t width, std::string& field) {
    std::string gbk;
    IoStatus status = encodeGbk(utf8, gbk);
    if (!status) {
        field.clear();
        return status;
    }
    gbk.resize(gbkFitLength(gbk, width));
    gbk.resize(width, ' ');
    field = std::move(gbk);
    return IoStatus::success();
}

}  // namespace inkquot
