#pragma once

// What the GBK decoding and its character table share: the system's
// converter, and a few byte-level helpers.

#include <iconv.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace inkquot::gbk_detail {

inline constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// One conversion descriptor per direction and thread, opened on first use:
// opening one costs far more than converting a field.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }
    void resetState() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

inline Converter& fromGbk() {
    thread_local Converter c("UTF-8", "GBK");
    return c;
}

inline Converter& toGbk() {
    thread_local Converter c("GBK", "UTF-8");
    return c;
}

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

// Appends the decoding of `gbk` to `out` from the converter's character
// table; false when the table cannot decode it (the converter must then).
bool decodeByTable(std::string_view gbk, std::string& out, bool& allValid);

}  // namespace inkquot::gbk_detail
