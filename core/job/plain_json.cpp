#include "core/job/plain_json.h"

#include <algorithm>
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

// The lexical part of the quick readers: blanks, texts, whole numbers and
// the literal words, each refused where the full parser's reading could
// differ.
class PlainLexer {
protected:
    explicit PlainLexer(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    bool at(char c) const { return p_ != end_ && *p_ == c; }
    bool atEnd() const { return p_ == end_; }

    void skipBlanks() {
        while (p_ != end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r')) {
            ++p_;
        }
    }

    bool word(std::string_view w) {
        if (static_cast<std::size_t>(end_ - p_) < w.size() || std::string_view(p_, w.size()) != w) {
            return false;
        }
        p_ += w.size();
        return true;
    }

    // A whole number with no fraction and no exponent, of up to 18 digits.
    bool wholeNumber(bool& negative, std::uint64_t& n) {
        negative = at('-');
        if (negative) {
            ++p_;
        }
        const char* first = p_;
        n = 0;
        while (p_ != end_ && *p_ >= '0' && *p_ <= '9') {
            n = n * 10 + static_cast<std::uint64_t>(*p_ - '0');
            ++p_;
        }
        const auto digits = p_ - first;
        return !(digits == 0 || digits > kMaxDigits || (*first == '0' && digits > 1) || at('.') ||
                 at('e') || at('E'));
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

    // The items of the object or array whose opening bracket is at p_, up
    // to its `close`: `item` reads one item where it starts (for an object,
    // its key, colon and value) and says whether it was sound.
    template <typename Item>
    bool items(char close, Item&& item) {
        ++p_;
        skipBlanks();
        if (at(close)) {
            ++p_;
            return true;
        }
        for (;;) {
            if (!item()) {
                return false;
            }
            skipBlanks();
            if (at(',')) {
                ++p_;
                skipBlanks();
            } else if (at(close)) {
                ++p_;
                return true;
            } else {
                return false;
            }
        }
    }

    // A member's key, appended to `key`, and the colon after it.
    bool memberKey(std::string& key) {
        if (!at('"') || !string(key)) {
            return false;
        }
        skipBlanks();
        if (!at(':')) {
            return false;
        }
        ++p_;
        skipBlanks();
        return true;
    }

    // Appends the text of the string at p_ (its quotes taken off, its
    // escapes undone) to `s`.
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

class PlainReader : PlainLexer {
public:
    explicit PlainReader(std::string_view text) : PlainLexer(text) {}

    bool document(json& out) {
        skipBlanks();
        if (!value(out, 0)) {
            return false;
        }
        skipBlanks();
        return atEnd();
    }

private:
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

    bool object(json& out, int depth) {
        if (depth >= kMaxDepth) {
            return false;
        }
        out = json::object();
        auto& members = out.get_ref<json::object_t&>();
        return items('}', [&] {
            std::string key;
            if (!memberKey(key)) {
                return false;
            }
            const auto [member, fresh] = members.emplace(std::move(key), json());
            return fresh && value(member->second, depth + 1);
        });
    }

    bool array(json& out, int depth) {
        if (depth >= kMaxDepth) {
            return false;
        }
        out = json::array();
        auto& elements = out.get_ref<json::array_t&>();
        return items(']', [&] {
            elements.emplace_back();
            return value(elements.back(), depth + 1);
        });
    }

    // Unsigned without a sign, signed with one (so "-0" is a signed 0).
    bool number(json& out) {
        bool negative = false;
        std::uint64_t n = 0;
        if (!wholeNumber(negative, n)) {
            return false;
        }
        if (negative) {
            out = -static_cast<std::int64_t>(n);
        } else {
            out = n;
        }
        return true;
    }
};

}  // namespace

// Reads a document of objects, texts and whole numbers into a FlatJson.
class FlatReader : PlainLexer {
public:
    FlatReader(std::string_view text, FlatJson& doc) : PlainLexer(text), doc_(doc) {}

    bool document() {
        doc_.nodes_.clear();
        doc_.members_.clear();
        doc_.pending_.clear();
        doc_.text_.clear();
        // Offsets are 32 bits; a longer text is left to the tree readers.
        if (static_cast<std::size_t>(end_ - p_) > (std::size_t{1} << 30)) {
            return false;
        }
        skipBlanks();
        std::uint32_t root = 0;
        if (!at('{') || !value(0, root)) {
            return false;
        }
        skipBlanks();
        return atEnd();
    }

private:
    using Kind = FlatJson::Kind;
    using Member = FlatJson::Member;

    static std::uint32_t offset(std::size_t n) { return static_cast<std::uint32_t>(n); }

    std::string_view key(const Member& m) const { return doc_.textOf(m.keyFirst, m.keyCount); }

    bool value(int depth, std::uint32_t& index) {
        if (atEnd()) {
            return false;
        }
        index = offset(doc_.nodes_.size());
        doc_.nodes_.emplace_back();
        switch (*p_) {
            case '{':
                return object(depth, index);
            case '"': {
                const std::size_t first = doc_.text_.size();
                if (!string(doc_.text_)) {
                    return false;
                }
                FlatJson::Node& node = doc_.nodes_[index];
                node.kind = Kind::Text;
                node.first = offset(first);
                node.count = offset(doc_.text_.size() - first);
                return true;
            }
            case '[':
            case 't':
            case 'f':
            case 'n':
                return false;
            default: {
                bool negative = false;
                std::uint64_t n = 0;
                if (!wholeNumber(negative, n)) {
                    return false;
                }
                FlatJson::Node& node = doc_.nodes_[index];
                node.kind = Kind::Whole;
                node.isSigned = negative;
                node.whole =
                    negative ? -static_cast<std::int64_t>(n) : static_cast<std::int64_t>(n);
                return true;
            }
        }
    }

    bool object(int depth, std::uint32_t index) {
        if (depth >= kMaxDepth) {
            return false;
        }
        // The members gather on the pending stack while nested objects are
        // read, and move to members_ in one piece when the object closes.
        const std::size_t open = doc_.pending_.size();
        const bool read = items('}', [&] {
            Member m;
            m.keyFirst = offset(doc_.text_.size());
            if (!memberKey(doc_.text_)) {
                return false;
            }
            m.keyCount = offset(doc_.text_.size() - m.keyFirst);
            if (!value(depth + 1, m.node)) {
                return false;
            }
            doc_.pending_.push_back(m);
            return true;
        });
        if (!read) {
            return false;
        }
        const auto first = doc_.pending_.begin() + static_cast<std::ptrdiff_t>(open);
        const auto last = doc_.pending_.end();
        std::sort(first, last,
                  [this](const Member& a, const Member& b) { return key(a) < key(b); });
        if (std::adjacent_find(first, last, [this](const Member& a, const Member& b) {
                return key(a) == key(b);
            }) != last) {
            return false;  // a key given twice: the full parser words it
        }
        FlatJson::Node& node = doc_.nodes_[index];
        node.kind = Kind::Object;
        node.first = offset(doc_.members_.size());
        node.count = offset(doc_.pending_.size() - open);
        doc_.members_.insert(doc_.members_.end(), first, last);
        doc_.pending_.resize(open);
        return true;
    }

    FlatJson& doc_;
};

bool FlatJson::read(std::string_view text) {
    return FlatReader(text, *this).document();
}

FlatJson::Ref FlatJson::root() const {
    return Ref(this, 0);
}

FlatJson::Ref FlatJson::Ref::member(std::string_view key) const {
    for (std::size_t i = 0; i < memberCount(); ++i) {
        if (keyAt(i) == key) {
            return valueAt(i);
        }
    }
    return Ref();
}

nlohmann::json FlatJson::Ref::toJson() const {
    switch (node().kind) {
        case Kind::Text:
            return std::string(text());
        case Kind::Whole:
            if (node().isSigned) {
                return whole();
            }
            return static_cast<std::uint64_t>(whole());
        case Kind::Object:
            break;
    }
    nlohmann::json object = nlohmann::json::object();
    for (std::size_t i = 0; i < memberCount(); ++i) {
        object[std::string(keyAt(i))] = valueAt(i).toJson();
    }
    return object;
}

std::optional<nlohmann::json> readPlainJson(std::string_view text) {
    nlohmann::json value;
    if (!PlainReader(text).document(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace inkquot
