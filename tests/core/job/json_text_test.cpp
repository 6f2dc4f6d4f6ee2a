#include "core/job/json_text.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

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

}  // namespace
}  // namespace inkquot
