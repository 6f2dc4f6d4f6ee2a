#include "core/job/json_text.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "core/job/json_writer.h"

namespace inkquot {
namespace {

using Fault = JsonTextError::Fault;

TEST(JsonText, RefusesWhatTheLibraryWouldReadSilentlyOrCrashOn) {
    struct Case {
        const char* text;
        Fault fault;
        const char* said;  // part of what(): the library's words, or the key
    };
    const Case cases[] = {
        {R"({"kind": 2, "kind": 3})", Fault::KeyTwice, "kind"},
        {R"({"controls": {"a": {"0": 1, "0": 2}}, "kind": 1})", Fault::KeyTwice, "0"},
        {R"([{"": 1, "": 1}])", Fault::KeyTwice, ""},
        {"9E636", Fault::NumberRange, "number overflow parsing '9E636'"},
        {R"({"controls": {"txtye": {"0": -1e999}}})", Fault::NumberRange, "number overflow"},
        {R"({"kind": 2} x)", Fault::Syntax, "parse error at line 1, column 13"},
        {"{\"kind\": 2,\n", Fault::Syntax, "line 2"},
        {"", Fault::Syntax, "unexpected end of input"},
    };
    for (const Case& c : cases) {
        try {
            (void)readJsonText(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const JsonTextError& e) {
            EXPECT_EQ(e.fault(), c.fault) << c.text;
            EXPECT_NE(std::string(e.what()).find(c.said), std::string::npos) << e.what();
        }
    }
    // A key repeated in different objects is no fault.
    EXPECT_EQ(readJsonText(R"({"a": {"k": 1}, "b": {"k": 2}})")["b"]["k"], 2);
}

TEST(JsonText, ABatchIsReadOneObjectAtATimeUpToItsClosingBrace) {
    std::istringstream in(R"({"a": [1, {"b": "}"}]}, {"c": 2})");
    std::istreambuf_iterator<char> bytes(in);
    const std::istreambuf_iterator<char> end;
    EXPECT_EQ(readJsonValue(bytes, end), nlohmann::json::parse(R"({"a": [1, {"b": "}"}]})"));
    EXPECT_EQ(in.get(), ',');
}

TEST(JsonWriter, LaysOutOneValueInEachLayoutAndReadsBack) {
    const auto value = nlohmann::json::parse(
        R"({"b": [1, -2, {}, []], "a": {"t": "引\"号\\\u0001\t"}, "e": {}, "n": null, "f": false})");
    const std::pair<JsonWriter::Layout, const char*> layouts[] = {
        {JsonWriter::Layout::Answers,
         R"({"a": {"t": "引\"号\\\u0001\t"}, "b": [1, -2, {}, []], "e": {}, "f": false, "n": null})"},
        {JsonWriter::Layout::Compact,
         R"({"a":{"t":"引\"号\\\u0001\t"},"b":[1,-2,{},[]],"e":{},"f":false,"n":null})"},
        {JsonWriter::Layout::Indented,
         "{\n  \"a\": {\n    \"t\": \"引\\\"号\\\\\\u0001\\t\"\n  },\n  \"b\": [\n    1,\n    -2,\n"
         "    {},\n    []\n  ],\n  \"e\": {},\n  \"f\": false,\n  \"n\": null\n}"},
    };
    for (const auto& [layout, expected] : layouts) {
        const std::string text = jsonText(value, layout);
        EXPECT_EQ(text, expected);
        EXPECT_EQ(readJsonText(text), value);
    }
    // Floats: the shortest text that reads back as the same float.
    std::ostringstream out;
    {
        JsonWriter writer(out);
        writer.beginArray().number(0.1f).number(-0.0f).number(1e20f).number(800).endArray();
    }
    EXPECT_EQ(out.str(), "[0.1, -0, 1e+20, 800]");
}

}  // namespace
}  // namespace inkquot
