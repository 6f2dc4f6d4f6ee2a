// The character table against the C library's GBK converter it was made
// from: every byte string must decode, and every character encode, exactly
// as the converter does it. Only where the system has that converter.

#if __has_include(<iconv.h>) && !defined(_WIN32)

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <random>
#include <string>

#include "core/common/gbk.h"

namespace inkquot {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (usable()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool usable() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can: the output, and how many bytes of the
    // input it took (the whole input unless it met one it refuses).
    std::size_t convert(std::string_view in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.clear();
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        while (inLeft > 0) {
            char buffer[256];
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            const int err = errno;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (r != static_cast<std::size_t>(-1) || err != E2BIG) {
                break;
            }
        }
        return in.size() - inLeft;
    }

private:
    iconv_t cd_;
};

// The converter's decoding with the program's rule for what it refuses:
// the byte where it stops (not a character, or a lead byte cut off) reads
// as U+FFFD, and the converter goes on with the next byte.
std::string decodeByConverter(Converter& conv, std::string_view gbk, bool& clean) {
    std::string out;
    std::string part;
    clean = true;
    while (!gbk.empty()) {
        const std::size_t used = conv.convert(gbk, part);
        out += part;
        gbk.remove_prefix(used);
        if (!gbk.empty()) {
            out += "\xEF\xBF\xBD";
            clean = false;
            gbk.remove_prefix(1);
        }
    }
    return out;
}

std::string utf8Of(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | cp >> 6);
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | cp >> 12);
        s += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | cp >> 18);
        s += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        s += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

// Every pair of bytes (each also followed by ASCII and by a lone lead
// byte), then random strings mixing characters, broken ones, stray high
// bytes and zeros.
TEST(GbkTable, DecodesAsTheConverter) {
    Converter conv("UTF-8", "GBK");
    ASSERT_TRUE(conv.usable());
    auto expectSame = [&](const std::string& bytes) {
        bool tableClean = false;
        bool converterClean = false;
        const std::string table = decodeGbk(bytes, &tableClean);
        const std::string converter = decodeByConverter(conv, bytes, converterClean);
        if (table != converter || tableClean != converterClean) {
            ADD_FAILURE() << ::testing::PrintToString(bytes) << " reads as "
                          << ::testing::PrintToString(table) << ", the converter "
                          << ::testing::PrintToString(converter);
            return false;
        }
        return true;
    };
    for (int a = 0; a < 256; ++a) {
        ASSERT_TRUE(expectSame(std::string(1, static_cast<char>(a))));
        for (int b = 0; b < 256; ++b) {
            const std::string pair{static_cast<char>(a), static_cast<char>(b)};
            ASSERT_TRUE(expectSame(pair) && expectSame(pair + "x") && expectSame(pair + "\xB0"));
        }
    }
    std::mt19937 random(20261208);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        for (int n = pick(80); n > 0; --n) {
            switch (pick(6)) {
                case 0:
                    bytes += static_cast<char>(0x20 + pick(0x60));
                    break;
                case 1:
                    bytes += static_cast<char>(0x81 + pick(0x7E));
                    break;  // a lead byte
                case 2:
                    bytes += static_cast<char>(0x40 + pick(0xBF));
                    break;  // a trail byte
                case 3:
                    bytes += std::string{static_cast<char>(0xB0 + pick(0x48)),
                                         static_cast<char>(0xA1 + pick(0x5E))};
                    break;  // a common character
                case 4:
                    bytes += "\0 \x80\xFF\x7F"[pick(5)];
                    break;
                default:
                    bytes += static_cast<char>(pick(256));
                    break;
            }
        }
        ASSERT_TRUE(expectSame(bytes));
    }
}

// Every character between two others: the same bytes, or refused where
// the converter refuses it.
TEST(GbkTable, EncodesAsTheConverter) {
    Converter conv("GBK", "UTF-8");
    ASSERT_TRUE(conv.usable());
    std::string converter;
    std::string table;
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            continue;
        }
        std::string text = "a";
        text += utf8Of(cp);
        text += "元";
        // The converter writes the invisible language tags (U+E0000..
        // U+E007F) as nothing; the program refuses them, as every character
        // GBK does not have, rather than lose them unseen.
        const bool converted =
            conv.convert(text, converter) == text.size() && (cp < 0x80 || converter != "a\xD4\xAA");
        const bool encoded = static_cast<bool>(encodeGbk(text, table));
        ASSERT_EQ(encoded, converted) << "U+" << std::hex << static_cast<unsigned>(cp);
        if (encoded) {
            ASSERT_EQ(table, converter) << "U+" << std::hex << static_cast<unsigned>(cp);
        }
    }
}

}  // namespace
}  // namespace inkquot

#endif
