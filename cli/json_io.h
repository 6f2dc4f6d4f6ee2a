#pragma once

#include <cstdint>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/cli_command.h"
#include "core/common/program_folder.h"
#include "core/job/json_text.h"
#include "core/job/json_writer.h"

namespace inkquot::cli {

// Refuses with BadInput, the message starting with `command`, standard
// input that is a folder (`price < jobs/`), which can be opened but never
// read. Pipes, files and terminals pass; so does any stream but std::cin.
void requireReadableInput(const std::istream& in, std::string_view command);

// Reads all of `in` as one JSON value. Malformed text, a key given twice in
// one object and anything after the value are refused with BadInput, the
// message starting with `command`.
nlohmann::json readJsonInput(std::istream& in, std::string_view command);

// Parses one JSON text the same strict way.
nlohmann::json parseJsonText(std::string_view text, std::string_view command);

// The refusal of input that is no sound JSON, the message starting with
// `where`.
BadInput jsonRefusal(const JsonTextError& e, std::string_view where);

// The input of a command that takes no arguments (part, binding, fit): all
// of standard input as one JSON value, read as readJsonInput does, and the
// objects the command works on: the input itself when it is an object, or
// each element of an array of objects (a batch). Each object comes with the
// name used in messages: "part", or "part[3]" for the fourth element of a
// batch. An argument is refused with what comes on standard input instead
// (`comes`, e.g. "the part comes").
class CommandInput {
public:
    CommandInput(const CommandContext& ctx, std::string_view command, std::string_view comes);
    CommandInput(const CommandInput&) = delete;
    CommandInput& operator=(const CommandInput&) = delete;

    bool isBatch() const { return json_.is_array(); }
    // They point into this input.
    const std::vector<std::pair<std::string, const nlohmann::json*>>& objects() const {
        return objects_;
    }

private:
    nlohmann::json json_;
    std::vector<std::pair<std::string, const nlohmann::json*>> objects_;
};

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
