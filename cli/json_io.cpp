#include "cli/json_io.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <istream>
#include <iterator>
#include <limits>
#include <ostream>
#include <stdexcept>

#include "cli/cli_command.h"
#include "core/common/gbk.h"
#include "core/common/native_paths.h"
#include "core/costing/price_book.h"
#include "core/pricedata/table_damage.h"

namespace inkquot::cli {

namespace {

std::string quotedName(std::string_view name) {
    std::string s = "\"";
    s += name;
    s += '"';
    return s;
}

}  // namespace

void requireReadableInput(const std::istream& in, std::string_view command) {
    if (&in == &std::cin && native::standardInputIsFolder()) {
        throw BadInput(std::string(command) + ": 标准输入是一个文件夹，不是JSON文本，无法读取");
    }
}

nlohmann::json readJsonInput(std::istream& in, std::string_view command) {
    requireReadableInput(in, command);
    // A request is a few hundred bytes, a batch of parts some megabytes; an
    // endless input (a device, a runaway pipe) is refused instead of read
    // until memory runs out.
    constexpr std::size_t kMaxRequestBytes = std::size_t{256} << 20;
    std::string text;
    char buffer[4096];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        const std::string_view got(buffer, static_cast<std::size_t>(in.gcount()));
        // The parser stops at a zero byte as if the input ended there;
        // whatever follows the value must be refused, not silently dropped.
        if (got.find('\0') != std::string_view::npos) {
            throw BadInput(std::string(command) + ": input holds a zero byte");
        }
        text += got;
        if (text.size() > kMaxRequestBytes) {
            throw BadInput(std::string(command) + ": input is larger than 256 MiB");
        }
    }
    return parseJsonText(text, command);
}

nlohmann::json parseJsonText(std::string_view text, std::string_view command) {
    try {
        return readJsonText(text);
    } catch (const JsonTextError& e) {
        throw jsonRefusal(e, command);
    }
}

BadInput jsonRefusal(const JsonTextError& e, std::string_view where) {
    if (e.fault() == JsonTextError::Fault::KeyTwice) {
        return BadInput(std::string(where) + ": field " + quotedName(e.what()) + " is given twice");
    }
    // The parser's message quotes the bytes it stopped at, which need not be
    // UTF-8.
    return BadInput(std::string(where) + ": input is not valid JSON: " + validUtf8(e.what()));
}

CommandInput::CommandInput(const CommandContext& ctx, std::string_view command,
                           std::string_view comes) {
    if (!ctx.args.empty()) {
        throw BadInput(std::string(command) + ": takes no arguments; " + std::string(comes) +
                       " on standard input");
    }
    json_ = readJsonInput(ctx.in, command);
    if (json_.is_object()) {
        objects_.emplace_back(std::string(command), &json_);
        return;
    }
    if (!json_.is_array()) {
        throw BadInput(std::string(command) + ": expected a JSON object or an array of objects");
    }
    for (std::size_t i = 0; i < json_.size(); ++i) {
        std::string where = std::string(command) + "[" + std::to_string(i) + "]";
        if (!json_[i].is_object()) {
            throw BadInput(where + ": expected a JSON object");
        }
        objects_.emplace_back(std::move(where), &json_[i]);
    }
}

JsonObjectReader::JsonObjectReader(const nlohmann::json& value, std::string where)
    : object_(value), where_(std::move(where)) {
    if (!object_.is_object()) {
        throw BadInput(where_ + ": expected a JSON object");
    }
}

void JsonObjectReader::refuse(std::string_view name, std::string_view problem) const {
    throw BadInput(where_ + ": field " + quotedName(name) + " " + std::string(problem));
}

const nlohmann::json& JsonObjectReader::require(std::string_view name) {
    const auto it = object_.find(name);
    if (it == object_.end()) {
        refuse(name, "is missing");
    }
    read_.emplace(name);
    return *it;
}

bool JsonObjectReader::has(std::string_view name) const {
    return object_.contains(name);
}

float JsonObjectReader::floatField(std::string_view name) {
    const nlohmann::json& v = require(name);
    if (!v.is_number()) {
        refuse(name, "must be a number");
    }
    const double d = v.get<double>();
    if (!std::isfinite(d) || std::fabs(d) > std::numeric_limits<float>::max()) {
        refuse(name, "is out of range (beyond a 32-bit float)");
    }
    return static_cast<float>(d);
}

std::int64_t JsonObjectReader::integerField(std::string_view name, std::int64_t min,
                                            std::int64_t max) {
    const nlohmann::json& v = require(name);
    const std::string range =
        "is out of range (" + std::to_string(min) + " to " + std::to_string(max) + ")";
    std::int64_t n = 0;
    if (v.is_number_unsigned()) {
        const std::uint64_t u = v.get<std::uint64_t>();
        if (max < 0 || u > static_cast<std::uint64_t>(max)) {
            refuse(name, range);
        }
        n = static_cast<std::int64_t>(u);
    } else if (v.is_number_integer()) {
        n = v.get<std::int64_t>();
    } else if (v.is_number_float()) {
        const double d = v.get<double>();
        if (std::nearbyint(d) != d) {
            refuse(name, "must be a whole number");
        }
        if (!(std::fabs(d) < 9e18 && d >= static_cast<double>(min) &&
              d <= static_cast<double>(max))) {
            refuse(name, range);
        }
        n = static_cast<std::int64_t>(d);
    } else {
        refuse(name, "must be a whole number");
    }
    if (n < min || n > max) {
        refuse(name, range);
    }
    return n;
}

bool JsonObjectReader::boolField(std::string_view name) {
    const nlohmann::json& v = require(name);
    if (!v.is_boolean()) {
        refuse(name, "must be true or false");
    }
    return v.get<bool>();
}

std::string JsonObjectReader::textField(std::string_view name) {
    const nlohmann::json& v = require(name);
    if (!v.is_string()) {
        refuse(name, "must be a string");
    }
    return v.get<std::string>();
}

void JsonObjectReader::finish() const {
    for (const auto& item : object_.items()) {
        if (read_.find(item.key()) == read_.end()) {
            throw BadInput(where_ + ": unknown field " + quotedName(item.key()));
        }
    }
}

std::vector<std::string> requireWorkingPriceFiles(const ProgramFolder& folder) {
    const auto missing = missingWorkingFiles(folder);
    if (!missing.empty()) {
        throw std::runtime_error("working price file " + missing.front().string() +
                                 " is missing: select a price scheme first");
    }
    std::vector<std::string> warnings;
    const IoStatus status = checkWorkingTables(folder, warnings);
    if (!status) {
        throw std::runtime_error(status.message);
    }
    return warnings;
}

void writeWarnings(JsonWriter& out, const std::vector<std::string>& warnings) {
    if (warnings.empty()) {
        return;
    }
    out.key("warnings").beginArray();
    for (const std::string& w : warnings) {
        out.text(w);
    }
    out.endArray();
}

}  // namespace inkquot::cli
