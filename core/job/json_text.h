#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace inkquot {

// A text that is not one sound JSON value. what() is the JSON library's own
// description without its tag ("parse error at line 1, column 2: ...",
// "number overflow parsing '1e999'"), or, for a key given twice, the key.
class JsonTextError : public std::runtime_error {
public:
    enum class Fault {
        Syntax,       // not JSON
        NumberRange,  // a number beyond the range of a double
        KeyTwice,     // one object names a key twice
    };

    JsonTextError(Fault fault, const std::string& message, std::size_t bytesRead)
        : std::runtime_error(message), fault_(fault), bytesRead_(bytesRead) {}

    Fault fault() const { return fault_; }
    // How many bytes the parser had taken when it stopped: a syntax fault
    // lies in the last of them.
    std::size_t bytesRead() const { return bytesRead_; }

private:
    Fault fault_;
    std::size_t bytesRead_;
};

namespace json_text_detail {

// Builds the value from the parser's events, as the library's own builder
// does, and notes the first key that an object names twice (the library
// would keep the last silently).
class StrictBuilder {
public:
    using json = nlohmann::json;

    explicit StrictBuilder(json& root) : root_(root) {}

    bool null() { return put(nullptr); }
    bool boolean(bool v) { return put(v); }
    bool number_integer(json::number_integer_t v) { return put(v); }
    bool number_unsigned(json::number_unsigned_t v) { return put(v); }
    bool number_float(json::number_float_t v, const json::string_t&) { return put(v); }
    bool string(json::string_t& v) { return put(std::move(v)); }
    bool binary(json::binary_t& v) { return put(std::move(v)); }
    bool start_object(std::size_t) { return open(json::value_t::object); }
    bool start_array(std::size_t) { return open(json::value_t::array); }
    bool end_object() { return close(); }
    bool end_array() { return close(); }
    bool key(json::string_t& name);
    bool parse_error(std::size_t bytesRead, const std::string&,
                     const nlohmann::detail::exception& e);

    // Throws what the parse met, if anything.
    void finish(bool parsed) const;

private:
    template <typename Value>
    bool put(Value&& v) {
        place(json(std::forward<Value>(v)));
        return true;
    }
    json* place(json&& v);
    bool open(json::value_t type) {
        open_.push_back(place(json(type)));
        return true;
    }
    bool close() {
        open_.pop_back();
        return true;
    }

    json& root_;
    std::vector<json*> open_;  // the objects and arrays being filled, innermost last
    json* member_ = nullptr;   // the value of the key just read
    std::optional<std::string> keyTwice_;
    std::optional<JsonTextError> error_;
};

}  // namespace json_text_detail

// Reads `text` as one JSON value with nothing after it but blanks. Refused
// with JsonTextError: malformed text, a number beyond the range of a double,
// an object that names a key twice.
nlohmann::json readJsonText(std::string_view text);

// The object that `text` holds, or nothing when it holds no sound JSON
// object (a settings file that is damaged or was edited by hand).
std::optional<nlohmann::json> readJsonObject(std::string_view text);

// Reads one JSON value from the bytes that a single-pass iterator gives,
// taking nothing after an object's closing brace, so that the next value
// of a batch can be read from where it ends. Refused as readJsonText.
template <typename Iterator>
nlohmann::json readJsonValue(Iterator first, Iterator last) {
    nlohmann::json value;
    json_text_detail::StrictBuilder builder(value);
    const bool parsed = nlohmann::json::sax_parse(std::move(first), std::move(last), &builder,
                                                  nlohmann::json::input_format_t::json, false);
    builder.finish(parsed);
    return value;
}

}  // namespace inkquot
