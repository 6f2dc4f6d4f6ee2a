#include "core/job/json_text.h"

namespace inkquot {

namespace json_text_detail {

bool StrictBuilder::key(json::string_t& name) {
    auto& members = open_.back()->get_ref<json::object_t&>();
    const auto [at, added] = members.try_emplace(std::move(name));
    if (!added && !keyTwice_) {
        keyTwice_ = at->first;
    }
    member_ = &at->second;
    return true;
}

nlohmann::json* StrictBuilder::place(json&& v) {
    if (open_.empty()) {
        root_ = std::move(v);
        return &root_;
    }
    json& parent = *open_.back();
    if (parent.is_array()) {
        auto& items = parent.get_ref<json::array_t&>();
        items.push_back(std::move(v));
        return &items.back();
    }
    *member_ = std::move(v);
    return member_;
}

bool StrictBuilder::parse_error(std::size_t bytesRead, const std::string&,
                                const nlohmann::detail::exception& e) {
    std::string message = e.what();
    // "[json.exception.parse_error.101] parse error at line 1, ...": the
    // part after the tag.
    if (const auto tagEnd = message.find("] "); tagEnd != std::string::npos) {
        message.erase(0, tagEnd + 2);
    }
    // The library's out-of-range errors (4xx) stand for a number too large
    // for a double; every other one is a syntax error.
    const auto fault =
        e.id >= 400 ? JsonTextError::Fault::NumberRange : JsonTextError::Fault::Syntax;
    if (!error_) {
        error_.emplace(fault, message, bytesRead);
    }
    return false;
}

void StrictBuilder::finish(bool parsed) const {
    if (error_) {
        throw *error_;
    }
    if (!parsed) {
        throw JsonTextError(JsonTextError::Fault::Syntax, "parse error", 0);
    }
    if (keyTwice_) {
        throw JsonTextError(JsonTextError::Fault::KeyTwice, *keyTwice_, 0);
    }
}

}  // namespace json_text_detail

nlohmann::json readJsonText(std::string_view text) {
    nlohmann::json value;
    json_text_detail::StrictBuilder builder(value);
    const bool parsed = nlohmann::json::sax_parse(text, &builder);
    builder.finish(parsed);
    return value;
}

std::optional<nlohmann::json> readJsonObject(std::string_view text) {
    try {
        nlohmann::json value = readJsonText(text);
        if (value.is_object()) {
            return value;
        }
    } catch (const JsonTextError&) {
    }
    return std::nullopt;
}

}  // namespace inkquot
