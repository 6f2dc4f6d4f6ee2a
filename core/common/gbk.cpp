#include "core/common/gbk.h"

#include <algorithm>
#include <cerrno>

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

// Decoding through the converter: the reference that the character table is
// built from and must agree with.
std::string decodeWithConverter(std::string_view gbk, bool& allValid) {
    std::string out;
    Converter& conv = fromGbk();
    if (!conv.usable()) {
        // Without a converter, keep ASCII and mark everything else.
        for (char c : gbk) {
            if (static_cast<unsigned char>(c) < 0x80) {
                out.push_back(c);
            } else {
                out += kReplacement;
                allValid = false;
            }
        }
        return out;
    }
    conv.resetState();
    out.reserve(gbk.size() * 3 / 2 + 8);
    // A field is mostly padded with blanks: only the bytes up to the last
    // character that is not ASCII go through the converter, the ASCII after
    // it is copied as it is. That last byte may lead a two-byte character
    // whose second byte is in the ASCII range, so one byte more goes through
    // the converter.
    std::size_t afterHigh = gbk.size();
    while (afterHigh > 0 && static_cast<unsigned char>(gbk[afterHigh - 1]) < 0x80) {
        --afterHigh;
    }
    const std::size_t converted = std::min(gbk.size(), afterHigh + 1);
    const std::string_view asciiTail = gbk.substr(converted);
    char buffer[1024];
    char* in = const_cast<char*>(gbk.data());
    std::size_t inLeft = converted;
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t r = iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft);
        int err = errno;
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (r != static_cast<std::size_t>(-1)) {
            break;
        }
        if (err == E2BIG) {
            continue;
        }
        // An invalid byte (EILSEQ) or a lead byte cut off at the end
        // (EINVAL): mark it and go on with the next byte.
        allValid = false;
        out += kReplacement;
        ++in;
        --inLeft;
        conv.resetState();
    }
    out.append(asciiTail);
    return out;
}

std::string decodeWith(std::string_view gbk, bool* clean, bool zeroAsSpace) {
    bool allValid = true;
    std::string out;
    if (isAscii(gbk)) {
        out.assign(gbk);
    } else if (!decodeByTable(gbk, out, allValid)) {
        allValid = true;
        out = decodeWithConverter(gbk, allValid);
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

std::string decodeGbk(std::string_view gbk, bool* clean) {
    return decodeWith(gbk, clean, false);
}

std::string decodeGbkField(std::string_view gbk, bool* clean) {
    return decodeWith(gbk, clean, true);
}

std::string decodeGbkByConverter(std::string_view gbk, bool* clean) {
    bool allValid = true;
    std::string out = isAscii(gbk) ? std::string(gbk) : decodeWithConverter(gbk, allValid);
    if (clean) {
        *clean = allValid;
    }
    return out;
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
    Converter& conv = toGbk();
    if (!conv.usable()) {
        return IoStatus::failure(IoError::BadText, "系统缺少GBK编码转换，无法保存中文文字。");
    }
    conv.resetState();
    gbk.reserve(utf8.size());
    char buffer[1024];
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t r = iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft);
        int err = errno;
        gbk.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (r != static_cast<std::size_t>(-1)) {
            break;
        }
        if (err == E2BIG) {
            continue;
        }
        std::string_view rest(in, inLeft);
        std::string bad(rest.substr(0, std::max<std::size_t>(1, utf8SequenceLength(rest))));
        gbk.clear();
        return IoStatus::failure(IoError::BadText,
                                 "“" + std::string(utf8) + "”中的字符“" + bad + "”无法保存。");
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
