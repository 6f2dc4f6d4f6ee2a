#pragma once

#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/cli_command.h"
#include "core/common/program_folder.h"
#include "core/job/json_text.h"

namespace inkquot::cli {

// Reads all of `in` as one JSON value. Malformed text, a key given twice in
// one object and anything after the value are refused with BadInput, the
// message starting with `command`.
nlohmann::json readJsonInput(std::istream& in, std::string_view command);

// Parses one JSON text the same strict way.
nlohmann::json parseJsonText(std::string_view text, std::string_view command);

// The refusal of input that is no sound JSON, the message starting with
// `where`.
BadInput jsonRefusal(const JsonTextError& e, std::string_view where);

// The objects a command works on: the input itself when it is an object, or
// each element of an array of objects (a batch). Each comes with the name
// used in messages: "part", or "part[3]" for the fourth element of a batch.
std::vector<std::pair<std::string, const nlohmann::json*>> inputObjects(const nlohmann::json& input,
                                                                        std::string_view command);

// Strict reading of one JSON object: every field read must be present and of
// the right type and range, and finish() refuses fields nobody asked for.
// Every refusal is a BadInput whose one-line message names the field.
class JsonObjectReader {
public:
    JsonObjectReader(const nlohmann::json& value, std::string where);

    // A number that fits a 32-bit float (rounded to the nearest float).
    float floatField(std::string_view name);
    // A whole number within [min, max].
    std::int64_t integerField(std::string_view name, std::int64_t min, std::int64_t max);
    bool boolField(std::string_view name);
    std::string textField(std::string_view name);

    bool has(std::string_view name) const;
    // Refuses any field of the object that was not read.
    void finish() const;

private:
    const nlohmann::json& require(std::string_view name);
    [[noreturn]] void refuse(std::string_view name, std::string_view problem) const;

    const nlohmann::json& object_;
    std::string where_;
    std::set<std::string, std::less<>> read_;
};

// The shortest decimal text that reads back as the same 32-bit float, in a
// form that is also a JSON number ("800", "129.37491", "1e+20", "-0").
// `v` must be finite.
std::string floatText(float v);

// Writes JSON with commas placed automatically. Keys and values in call
// order; a value inside an object must follow key(). The text is gathered
// in the writer and handed to the stream in large pieces (and when the
// writer goes); flush() hands it over at once and flushes the stream.
class JsonWriter {
public:
    // A compact writer separates values with "," alone, as nlohmann's dump()
    // does; the default ", " is the tool's own pricing output.
    explicit JsonWriter(std::ostream& out, bool compact = false)
        : out_(out), separator_(compact ? "," : ", ") {}
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& number(float v);
    JsonWriter& integer(std::int64_t v);
    JsonWriter& boolean(bool v);
    JsonWriter& text(std::string_view v);
    // A value that is already JSON text.
    JsonWriter& raw(std::string_view json);
    // Ends the output with a line break.
    void newline();
    // Hands everything written to the stream and flushes it, so that a
    // program reading the answers sees them now.
    void flush();

private:
    void beforeValue();
    void writeString(std::string_view v);
    // Room for n more bytes at the end of what is written.
    char* room(std::size_t n) {
        if (capacity_ - used_ < n) {
            grow(n);
        }
        return text_.get() + used_;
    }
    void grow(std::size_t n);
    void put(char c) {
        *room(1) = c;
        ++used_;
    }
    void put(std::string_view s) {
        std::memcpy(room(s.size()), s.data(), s.size());
        used_ += s.size();
    }
    // Hands the gathered text to the stream once there is a large piece.
    void handOverIfLarge();
    void handOver();

    std::ostream& out_;
    std::string_view separator_;
    // Written, not yet handed to the stream: the first used_ bytes.
    std::unique_ptr<char[]> text_;
    std::size_t used_ = 0;
    std::size_t capacity_ = 0;
    std::vector<char> first_;  // per open container: nothing written yet
    bool afterKey_ = false;
};

// The answers of a command, one per input object: an array of them for a
// batch, the one answer otherwise, then the line break. `writeOne(out, item)`
// writes the answer of one item.
template <typename Items, typename WriteOne>
void writeAnswers(std::ostream& stream, bool batch, Items&& items, WriteOne writeOne) {
    JsonWriter out(stream);
    if (batch) {
        out.beginArray();
    }
    for (auto&& item : items) {
        writeOne(out, item);
    }
    if (batch) {
        out.endArray();
    }
    out.newline();
}

// A fresh program folder has no working price files until a scheme is
// selected; costing without them would quietly price everything at zero.
// Throws (exit code 1) naming the first missing file, or one that is not a
// regular file. Returns what is wrong with the tables (tableDamage): they
// are priced as they stand, and the output carries the warnings.
std::vector<std::string> requireWorkingPriceFiles(const ProgramFolder& folder);

// A "warnings" list of texts, written only when there is one, so that the
// output for sound tables stays as it was.
void writeWarnings(JsonWriter& out, const std::vector<std::string>& warnings);

}  // namespace inkquot::cli
