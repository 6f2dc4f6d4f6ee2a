#pragma once

#include <cstdint>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace inkquot {

// Writes JSON text to a stream with commas placed automatically. Keys and
// values in call order; a value inside an object must follow key(). The text
// is gathered in the writer and handed to the stream in large pieces (and
// when the writer goes); flush() hands it over at once and flushes the
// stream. Texts are written as UTF-8, escaping only the quote, the backslash
// and the control characters below 0x20; a byte that starts no UTF-8
// character is written as U+FFFD.
class JsonWriter {
public:
    enum class Layout {
        Answers,   // {"a": 1, "b": [1, 2]}: the command line tool's answers
        Compact,   // {"a":1,"b":[1,2]}: one line, nothing between
        Indented,  // two spaces a level, one member a line: files
    };

    explicit JsonWriter(std::ostream& out, Layout layout = Layout::Answers);
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    // The shortest text that reads back as the same 32-bit float ("800",
    // "129.37491", "1e+20", "-0"); `v` must be finite.
    JsonWriter& number(float v);
    JsonWriter& integer(std::int64_t v);
    // An amount of money given in cents, written in yuan with two decimals
    // ("4242.50", "-0.05").
    JsonWriter& cents(std::int64_t v);
    JsonWriter& boolean(bool v);
    JsonWriter& text(std::string_view v);
    // A whole value as the JSON library holds it, object members in the
    // library's order; with `layout`, laid out so inside (a compact job
    // description among the tool's answers).
    JsonWriter& value(const nlohmann::json& v);
    JsonWriter& value(const nlohmann::json& v, Layout layout);
    // Ends the output with a line break.
    void newline();
    // Hands everything written to the stream and flushes it, so that a
    // program reading the answers sees them now.
    void flush();
    // Whether the stream has refused a write: the rest of a long output is
    // not worth making.
    bool failed() const;

private:
    void beforeValue();
    void lineBreak();
    void open(char bracket);
    void close(char bracket);
    void writeString(std::string_view v);
    // Hands the gathered text to the stream once there is a large piece.
    void handOverIfLarge();
    void handOver();

    std::ostream& out_;
    Layout layout_;
    std::string text_;         // written, not yet handed to the stream
    std::vector<char> empty_;  // per open container: nothing written in it yet
    bool afterKey_ = false;
};

// The text of `v` in `layout`, without a line end.
std::string jsonText(const nlohmann::json& v, JsonWriter::Layout layout);

}  // namespace inkquot
