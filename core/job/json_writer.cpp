#include "core/job/json_writer.h"

#include <charconv>
#include <cmath>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "core/common/gbk.h"
#include "core/common/number_text.h"

namespace inkquot {

namespace {

// Big enough that a batch's answers go out in few writes, small enough that
// memory stays flat however long the batch.
constexpr std::size_t kHandOverBytes = 32 * 1024;

}  // namespace

JsonWriter::JsonWriter(std::ostream& out, Layout layout) : out_(out), layout_(layout) {
    text_.reserve(2 * kHandOverBytes);
}

JsonWriter::~JsonWriter() {
    handOver();
}

void JsonWriter::handOver() {
    if (!text_.empty()) {
        out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
    }
}

void JsonWriter::handOverIfLarge() {
    if (text_.size() >= kHandOverBytes) {
        handOver();
    }
}

void JsonWriter::flush() {
    handOver();
    out_.flush();
}

bool JsonWriter::failed() const {
    return out_.fail();
}

// A new line, indented to the depth of the containers open.
void JsonWriter::lineBreak() {
    text_ += '\n';
    text_.append(2 * empty_.size(), ' ');
}

void JsonWriter::beforeValue() {
    handOverIfLarge();
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (empty_.empty()) {
        return;
    }
    if (!empty_.back()) {
        text_ += layout_ == Layout::Answers ? ", " : ",";
    }
    empty_.back() = 0;
    if (layout_ == Layout::Indented) {
        lineBreak();
    }
}

void JsonWriter::close(char bracket) {
    const bool wasEmpty = empty_.back() != 0;
    empty_.pop_back();
    if (layout_ == Layout::Indented && !wasEmpty) {
        lineBreak();
    }
    text_ += bracket;
}

void JsonWriter::open(char bracket) {
    beforeValue();
    text_ += bracket;
    empty_.push_back(1);
}

JsonWriter& JsonWriter::beginObject() {
    open('{');
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    close('}');
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    open('[');
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    close(']');
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    writeString(name);
    text_ += layout_ == Layout::Compact ? ":" : ": ";
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::number(float v) {
    if (!std::isfinite(v)) {
        throw std::logic_error("JsonWriter: not a finite number");
    }
    beforeValue();
    text_ += shortestFloatText(v);
    return *this;
}

JsonWriter& JsonWriter::integer(std::int64_t v) {
    beforeValue();
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, v);
    text_.append(buf, result.ptr);
    return *this;
}

JsonWriter& JsonWriter::cents(std::int64_t v) {
    beforeValue();
    if (v < 0) {
        text_ += '-';
    }
    const std::uint64_t magnitude = v < 0 ? 0 - static_cast<std::uint64_t>(v) : v;
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, magnitude / 100);
    text_.append(buf, result.ptr);
    text_ += '.';
    text_ += static_cast<char>('0' + magnitude % 100 / 10);
    text_ += static_cast<char>('0' + magnitude % 10);
    return *this;
}

JsonWriter& JsonWriter::boolean(bool v) {
    beforeValue();
    text_ += v ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::text(std::string_view v) {
    beforeValue();
    writeString(v);
    return *this;
}

void JsonWriter::writeString(std::string_view v) {
    static const char* const kHex = "0123456789abcdef";
    text_ += '"';
    std::size_t plain = 0;  // start of the bytes not yet copied
    for (std::size_t i = 0; i < v.size(); ++i) {
        const auto c = static_cast<unsigned char>(v[i]);
        if (c >= 0x80) {
            // A byte that starts no UTF-8 character (a parser's message
            // quoting broken input) is written as U+FFFD: the output stays
            // UTF-8, so every line of it is JSON.
            if (const std::size_t n = utf8CharacterLength(v.substr(i)); n > 0) {
                i += n - 1;
                continue;
            }
            text_.append(v, plain, i - plain);
            plain = i + 1;
            text_ += "\xEF\xBF\xBD";
            continue;
        }
        if (c >= 0x20 && c != '"' && c != '\\') {
            continue;
        }
        text_.append(v, plain, i - plain);
        plain = i + 1;
        text_ += '\\';
        if (c == '"' || c == '\\') {
            text_ += static_cast<char>(c);
        } else if (c == '\n') {
            text_ += 'n';
        } else if (c == '\r') {
            text_ += 'r';
        } else if (c == '\t') {
            text_ += 't';
        } else {
            const char escaped[5] = {'u', '0', '0', kHex[c >> 4], kHex[c & 0xf]};
            text_.append(escaped, sizeof escaped);
        }
    }
    text_.append(v, plain, v.size() - plain);
    text_ += '"';
}

JsonWriter& JsonWriter::value(const nlohmann::json& v) {
    switch (v.type()) {
        case nlohmann::json::value_t::object:
            beginObject();
            for (const auto& [name, member] : v.items()) {
                key(name).value(member);
            }
            return endObject();
        case nlohmann::json::value_t::array:
            beginArray();
            for (const auto& item : v) {
                value(item);
            }
            return endArray();
        case nlohmann::json::value_t::string:
            return text(v.get_ref<const std::string&>());
        case nlohmann::json::value_t::boolean:
            return boolean(v.get<bool>());
        case nlohmann::json::value_t::number_integer:
            return integer(v.get<std::int64_t>());
        case nlohmann::json::value_t::number_unsigned: {
            beforeValue();
            text_ += std::to_string(v.get<std::uint64_t>());
            return *this;
        }
        case nlohmann::json::value_t::number_float: {
            const double d = v.get<double>();
            if (!std::isfinite(d)) {
                throw std::logic_error("JsonWriter: not a finite number");
            }
            beforeValue();
            text_ += shortestDoubleText(d);
            return *this;
        }
        case nlohmann::json::value_t::null:
        case nlohmann::json::value_t::binary:
        case nlohmann::json::value_t::discarded:
            beforeValue();
            text_ += "null";
            return *this;
    }
    return *this;
}

JsonWriter& JsonWriter::value(const nlohmann::json& v, Layout layout) {
    // The separator before the value belongs to the outer layout.
    beforeValue();
    afterKey_ = true;
    const Layout outer = layout_;
    layout_ = layout;
    value(v);
    layout_ = outer;
    return *this;
}

void JsonWriter::newline() {
    text_ += '\n';
    handOverIfLarge();
}

std::string jsonText(const nlohmann::json& v, JsonWriter::Layout layout) {
    std::ostringstream out;
    {
        JsonWriter writer(out, layout);
        writer.value(v);
    }
    return out.str();
}

}  // namespace inkquot
