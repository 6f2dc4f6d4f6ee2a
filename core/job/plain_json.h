#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace inkquot {

// Reads JSON text quickly when it keeps to the forms job descriptions are
// written in: objects, arrays, strings (UTF-8, with any of JSON's escapes),
// whole numbers of up to 18 digits, true, false and null, each key at most
// once per object. The value is exactly the one the full parser gives for
// the same text, down to the kind of each number (unsigned when it has no
// sign). Any other text, faulty or not (a fraction, a long number, a key
// given twice, bytes after the value, very deep nesting), comes back empty:
// the full parser then reads it and words any fault.
std::optional<nlohmann::json> readPlainJson(std::string_view text);

// A job description of the plainest form, an object of objects, texts and
// whole numbers, held in a few flat arrays that keep their room from one
// job to the next, so that a batch reads its jobs without building a tree
// for each. The members of an object are kept in key order, as the full
// parser's objects keep them.
class FlatJson {
public:
    class Ref;

    // Reads `text`, exactly as readPlainJson reads it. False, leaving the
    // document unusable, when the text is anything but an object of objects,
    // texts and whole numbers: arrays, true, false and null are left to
    // readPlainJson, faults to the full parser.
    bool read(std::string_view text);

    // The document read; only after read() gave true.
    Ref root() const;

private:
    enum class Kind : std::uint8_t { Object, Text, Whole };
    struct Node {
        Kind kind = Kind::Object;
        bool isSigned = false;   // a whole number written with a sign
        std::int64_t whole = 0;  // a whole number
        // A text: where its bytes lie in text_; an object: where its
        // members lie in members_.
        std::uint32_t first = 0;
        std::uint32_t count = 0;
    };
    struct Member {
        std::uint32_t keyFirst = 0;  // in text_
        std::uint32_t keyCount = 0;
        std::uint32_t node = 0;
    };
    std::string_view textOf(std::uint32_t first, std::uint32_t count) const {
        return std::string_view(text_.data() + first, count);
    }

    std::vector<Node> nodes_;
    std::vector<Member> members_;
    std::vector<Member> pending_;  // members of the objects still open
    std::string text_;             // keys and texts, one after another

    friend class FlatReader;
};

// One value of a FlatJson document, or none (a member not there).
class FlatJson::Ref {
public:
    Ref() = default;
    explicit operator bool() const { return doc_ != nullptr; }

    bool isObject() const { return node().kind == Kind::Object; }
    bool isText() const { return node().kind == Kind::Text; }
    bool isWhole() const { return node().kind == Kind::Whole; }
    std::int64_t whole() const { return node().whole; }
    std::string_view text() const { return doc_->textOf(node().first, node().count); }

    std::size_t memberCount() const { return node().count; }
    std::string_view keyAt(std::size_t i) const {
        const Member& m = doc_->members_[node().first + i];
        return doc_->textOf(m.keyFirst, m.keyCount);
    }
    Ref valueAt(std::size_t i) const { return Ref(doc_, doc_->members_[node().first + i].node); }
    Ref member(std::string_view key) const;

    // The value as the full parser gives it.
    nlohmann::json toJson() const;

private:
    friend class FlatJson;
    Ref(const FlatJson* doc, std::uint32_t index) : doc_(doc), index_(index) {}
    const Node& node() const { return doc_->nodes_[index_]; }

    const FlatJson* doc_ = nullptr;
    std::uint32_t index_ = 0;
};

}  // namespace inkquot
