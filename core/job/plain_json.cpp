#include "core/job/plain_json.h"

#include <cstdint>
#include <string>
#include <utility>

namespace inkquot {

namespace {

using nlohmann::json;

// Deeper nesting is left to the full parser.
constexpr int kMaxDepth = 64;
// Up to 18 digits a whole number fits a signed and an unsigned 64-bit
// number alike.
constexpr int kMaxDigits = 18;

class PlainReader {
public:
    explicit PlainReader(std::string_view text)
        : p_(text.data()), end_(text.data() + text.size()) {}

    bool document(json& out) {
        skipBlanks();
        if (!value(out, 0)) {
            return false;
        }
        skipBlanks();
        return p_ == end_;
    }

private:
    bool at(char c) const { return p_ != end_ && *p_ == c; }

    void skipBlanks() {
        while (p_ != end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r')) {
            ++p_;
        }
    }

    bool value(json& out, int depth) {
        if (p_ == end_) {
            return false;
        }
        switch (*p_) {
            case '{':
                return object(out, depth);
            case '[':
                return array(out, depth);
            case '"': {
                std::string s;
                if (!string(s)) {
                    return false;
                }
                out = std::move(s);
                return true;
            }
            case 't':
                out = true;
                return word("true");
            case 'f':
                out = false;
                return word("false");
            case 'n':
                out = nullptr;
                return word("null");
            default:
                return number(out);
        }
    }

    bool word(std::string_view w) {
        if (static_cast<std::size_t>(end_ - p_) < w.size() || std::string_view(p_, w.size()) != w) {
            return false;
        }
        p_ += w.size();
        return true;
    }

    bool object(json& out, int depth) {
        if (depth >= kMaxDepth) {
            return false;
        }
        ++p_;
        out = json::object();
        auto& members = out.get_ref<json::object_t&>();
        skipBlanks();
        if (at('}')) {
            ++p_;
            return true;
        }
        for (;;) {
            std::string key;
            if (!at('"') || !string(key)) {
                return false;
            }
            skipBlanks();
            if (!at(':')) {
                return false;
            }
            ++p_;
            skipBlanks();
            const auto [member, fresh] = members.emplace(std::move(key), json());
            if (!fresh || !value(member->second, depth + 1)) {
                return false;
            }
            skipBlanks();
            if (at(',')) {
                ++p_;
                skipBlanks();
            } else if (at('}')) {
                ++p_;
                return true;
            } else {
                return false;
            }
        }
    }

    bool array(json& out, int depth) {
        if (depth >= kMaxDepth) {
            return false;
        }
        ++p_;
        out = json::array();
        auto& items = out.get_ref<json::array_t&>();
        skipBlanks();
        if (at(']')) {
            ++p_;
            return true;
        }
        for (;;) {
            items.emplace_back();
            if (!value(items.back(), depth + 1)) {
                return false;
            }
            skipBlanks();
            if (at(',')) {
                ++p_;
                skipBlanks();
            } else if (at(']')) {
                ++p_;
                return true;
            } else {
                return false;
            }
        }
    }

    // A whole number with no fraction and no exponent: unsigned without a
    // sign, signed with one (so "-0" is a signed 0).
    bool number(json& out) {
        const bool negative = at('-');
        if (negative) {
            ++p_;
        }
        const char* first = p_;
        std::uint64_t n = 0;
        while (p_ != end_ && *p_ >= '0' && *p_ <= '9') {
            n = n * 10 + static_cast<std::uint64_t>(*p_ - '0');
            ++p_;
        }
        const auto digits = p_ - first;
        if (digits == 0 || digits > kMaxDigits || (*first == '0' && digits > 1) || at('.') ||
            at('e') || at('E')) {
            return false;
        }
        if (negative) {
            out = -static_cast<std::int64_t>(n);
        } else {
            out = n;
        }
        return true;
    }

    static int hexDigit(char c) {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        if (c >= 'A' && c <= 'F') {
            return c - 'A' + 10;
        }
        return -1;
    }

    // The four hex digits after "\u"; -1 when they are not.
    int unit() {
        if (end_ - p_ < 5 || p_[0] != 'u') {
            return -1;
        }
        int v = 0;
        for (int i = 1; i <= 4; ++i) {
            const int d = hexDigit(p_[i]);
            if (d < 0) {
                return -1;
            }
            v = v * 16 + d;
        }
        p_ += 5;
        return v;
    }

    static void appendUtf8(std::string& s, std::uint32_t cp) {
        if (cp < 0x80) {
            s += static_cast<char>(cp);
        } else if (cp < 0x800) {
            s += static_cast<char>(0xC0 | (cp >> 6));
            s += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            s += static_cast<char>(0xE0 | (cp >> 12));
            s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            s += static_cast<char>(0xF0 | (cp >> 18));
            s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    // After a backslash: the escaped character, a \u unit or a surrogate
    // pair, appended as UTF-8.
    bool escape(std::string& s) {
        if (p_ == end_) {
            return false;
        }
        switch (*p_) {
            case '"':
            case '\\':
            case '/':
                s += *p_++;
                return true;
            case 'b':
                s += '\b';
                break;
            case 'f':
                s += '\f';
                break;
            case 'n':
                s += '\n';
                break;
            case 'r':
                s += '\r';
                break;
            case 't':
                s += '\t';
                break;
            case 'u': {
                const int high = unit();
                if (high < 0 || (high >= 0xDC00 && high <= 0xDFFF)) {
                    return false;
                }
                if (high < 0xD800 || high > 0xDBFF) {
                    appendUtf8(s, static_cast<std::uint32_t>(high));
                    return true;
                }
                if (!at('\\')) {
                    return false;
                }
                ++p_;
                const int low = unit();
                if (low < 0xDC00 || low > 0xDFFF) {
                    return false;
                }
                appendUtf8(s, 0x10000 + ((static_cast<std::uint32_t>(high) - 0xD800) << 10) +
                                  (static_cast<std::uint32_t>(low) - 0xDC00));
                return true;
            }
            default:
                return false;
        }
        ++p_;
        return true;
    }

    // One well-formed UTF-8 character of two to four bytes starting at p_
    // (the shortest form, no surrogates, nothing past U+10FFFF).
    bool wideCharacter(std::string& s) {
        const auto byte = [this](std::ptrdiff_t i) { return static_cast<unsigned char>(p_[i]); };
        const unsigned char lead = byte(0);
        int more = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (end_ - p_ <= more || byte(1) < low || byte(1) > high) {
            return false;
        }
        for (int i = 2; i <= more; ++i) {
            if (byte(i) < 0x80 || byte(i) > 0xBF) {
                return false;
            }
        }
        s.append(p_, static_cast<std::size_t>(more) + 1);
        p_ += more + 1;
        return true;
    }

    bool string(std::string& s) {
        ++p_;  // the opening quote
        for (;;) {
            // A run of plain characters goes over in one piece.
            const char* run = p_;
            while (p_ != end_) {
                const auto c = static_cast<unsigned char>(*p_);
                if (c < 0x20 || c >= 0x80 || c == '"' || c == '\\') {
                    break;
                }
                ++p_;
            }
            s.append(run, static_cast<std::size_t>(p_ - run));
            if (p_ == end_) {
                return false;
            }
            const auto c = static_cast<unsigned char>(*p_);
            if (c == '"') {
                ++p_;
                return true;
            }
            if (c == '\\') {
                ++p_;
                if (!escape(s)) {
                    return false;
                }
            } else if (c < 0x20 || !wideCharacter(s)) {
                return false;
            }
        }
    }

    const char* p_;
    const char* const end_;
};

}  // namespace

std::optional<nlohmann::json> readPlainJson(std::string_view text) {
    nlohmann::json value;
    if (!PlainReader(text).document(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace inkquot
