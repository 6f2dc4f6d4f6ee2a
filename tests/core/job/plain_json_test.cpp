#include "core/job/plain_json.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace inkquot {
namespace {

using nlohmann::json;

// Equal values of equal kinds all the way down (json's own == takes an
// unsigned 1 for a signed 1).
bool sameValue(const json& a, const json& b) {
    if (a.type() != b.type() || a != b) {
        return false;
    }
    if (a.is_object()) {
        for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j) {
            if (i.key() != j.key() || !sameValue(*i, *j)) {
                return false;
            }
        }
    } else if (a.is_array()) {
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (!sameValue(a[i], b[i])) {
                return false;
            }
        }
    }
    return true;
}

// Whether `v` is of the flat reader's forms: objects, texts and whole
// numbers all the way down.
bool flatForm(const json& v) {
    if (v.is_object()) {
        for (const auto& item : v) {
            if (!flatForm(item)) {
                return false;
            }
        }
        return true;
    }
    return v.is_string() || v.is_number_integer();
}

// The flat document holds `v`: the same kinds, values and keys, the keys in
// the same order, each found by member().
bool sameFlat(FlatJson::Ref r, const json& v) {
    if (v.is_string()) {
        return r.isText() && r.text() == v.get<std::string>();
    }
    if (v.is_number_integer()) {
        return r.isWhole() && r.whole() == v.get<std::int64_t>() &&
               sameValue(r.toJson(), v);  // signed or not, as the parser has it
    }
    if (!r.isObject() || r.memberCount() != v.size()) {
        return false;
    }
    std::size_t i = 0;
    for (const auto& [key, item] : v.items()) {
        if (r.keyAt(i) != key || !sameFlat(r.valueAt(i), item) || !r.member(key)) {
            return false;
        }
        ++i;
    }
    return !r.member("not a key of any test");
}

// What the quick readers give must be what the full parser gives; what they
// decline must be either a fault of the text or a form they leave alone.
// Returns whether the quick reader took the text.
bool agreesWithFullParser(std::string_view text) {
    const auto quick = readPlainJson(text);
    FlatJson flat;
    const bool flatTaken = flat.read(text);
    EXPECT_EQ(flatTaken, quick && quick->is_object() && flatForm(*quick)) << text;
    if (flatTaken && quick) {
        EXPECT_TRUE(sameFlat(flat.root(), *quick)) << text;
    }
    json full;
    bool duplicate = false;
    bool parsed = true;
    try {
        std::vector<std::vector<std::string>> keys;
        full = json::parse(text, [&](int, json::parse_event_t event, json& v) {
            if (event == json::parse_event_t::object_start) {
                keys.emplace_back();
            } else if (event == json::parse_event_t::object_end) {
                keys.pop_back();
            } else if (event == json::parse_event_t::key) {
                const auto key = v.get<std::string>();
                for (const auto& k : keys.back()) {
                    duplicate = duplicate || k == key;
                }
                keys.back().push_back(key);
            }
            return true;
        });
    } catch (const json::exception&) {
        parsed = false;
    }
    if (quick) {
        EXPECT_TRUE(parsed && !duplicate) << text;
        EXPECT_TRUE(parsed && sameValue(*quick, full)) << text;
    }
    return quick.has_value();
}

TEST(PlainJson, ReadsWhatTheFullParserReads) {
    const struct {
        std::string_view text;
        bool quick;
    } rows[] = {
        {R"({"kind": 2, "controls": {"txtshuliang": {"2": "1000"}, "Chkdan": {"0": 1}}})", true},
        {R"({"b": {"z": 1, "a": {}, "\u00e9": "x", "e": -0}, "a": "", "\u0000": 1})", true},
        {" \t\r\n{\"a\":[1,-2,0,-0,true,false,null,[],{}]}\n ", true},
        {R"(["\u94dc\u7248\u7eb8", "\ud83d\ude00", "\"\\\/\b\f\n\r\t", "\u0000"])", true},
        {"\"铜版纸 \xF0\x9F\x98\x80\"", true},
        {"999999999999999999", true},
        {"-999999999999999999", true},
        {"[1.5]", false},
        {"[1e3]", false},
        {"1000000000000000000", false},   // 19 digits: left to the full parser
        {"18446744073709551616", false},  // past 64 bits: a double there
        {"[01]", false},
        {"[-]", false},
        {R"({"a": 1, "a": 2})", false},
        {R"({"a": 1,})", false},
        {"[1,]", false},
        {"{} x", false},
        {std::string_view("{}\0", 3), false},
        {"\xEF\xBB\xBF{}", false},  // a byte-order mark
        {"\"\\ud800\"", false},     // a lone surrogate
        {"\"\\udc00\\ud800\"", false},
        {"\"\\x\"", false},
        {"\"\\u12g4\"", false},
        {"\"a\tb\"", false},              // a control character
        {"\"\xC0\xAF\"", false},          // an overlong form
        {"\"\xED\xA0\x80\"", false},      // an encoded surrogate
        {"\"\xF4\x90\x80\x80\"", false},  // past U+10FFFF
        {"\"\xE4\xB8\"", false},          // cut short
        {"\"abc", false},
        {"tru", false},
        {"nul", false},
        {"", false},
        {"[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[[]]]]]]]]]]]]]]]]]]]]"
         "]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]]",
         false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(agreesWithFullParser(r.text), r.quick) << r.text;
    }
}

// Job lines with random bytes changed, cut or doubled: whatever the quick
// reader takes, the full parser reads the same.
TEST(PlainJson, AgreesOnDamagedJobLines) {
    const std::string job =
        R"({"kind": 2, "controls": {"txtshuliang": {"2": "1000"}, "Ncomkai": {"5": "16"},)"
        R"( "txtkehuming": {"2": "\u5ba2\u6237 \u00e9"}, "Ncomzhi": {"7": 0}, "x": [-1, true,)"
        " null, \"\xE5\xAE\xA2\"]}}";
    // The plainest form, which the flat reader takes.
    const std::string flatJob =
        R"({"kind": 2, "controls": {"txtshuliang": {"2": "1000"}, "Ncomkai": {"5": "16"},)"
        R"( "txtkehuming": {"2": "\u5ba2\u6237 \u00e9"}, "Ncomzhi": {"7": 0}, "optwa": -1}})";
    const std::string alphabet = "{}[]\",:\\ 0123456789-+.eEtrufalsn\xC2\xE5\xED\xF0\x80\xBF\t\n";
    std::mt19937 rng(20261208);
    int taken = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string text = i % 2 == 0 ? job : flatJob;
        const int edits = 1 + static_cast<int>(rng() % 3);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = rng() % text.size();
            switch (rng() % 4) {
                case 0:
                    text[at] = alphabet[rng() % alphabet.size()];
                    break;
                case 1:
                    text.erase(at, 1 + rng() % 3);
                    break;
                case 2:
                    text.insert(at, 1, alphabet[rng() % alphabet.size()]);
                    break;
                default:
                    text = text.substr(0, at);
                    break;
            }
            if (text.empty()) {
                text.push_back('{');
            }
        }
        taken += agreesWithFullParser(text) ? 1 : 0;
    }
    // Many damaged lines are still JSON, and are read quickly.
    EXPECT_GT(taken, 1000);
}

}  // namespace
}  // namespace inkquot
