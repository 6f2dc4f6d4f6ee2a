#include "cli/json_io.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <istream>
#include <iterator>
#include <limits>
#include <ostream>
#include <stdexcept>

#include "cli/cli_command.h"
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

nlohmann::json readJsonInput(std::istream& in, std::string_view command) {
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // The parser stops at a zero byte as if the input ended there; whatever
    // follows the value must be refused, not silently dropped.
    if (text.find('\0') != std::string::npos) {
        throw BadInput(std::string(command) + ": input holds a zero byte");
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
    return BadInput(std::string(where) + ": input is not valid JSON: " + e.what());
}

std::vector<std::pair<std::string, const nlohmann::json*>> inputObjects(const nlohmann::json& input,
                                                                        std::string_view command) {
    std::vector<std::pair<std::string, const nlohmann::json*>> objects;
    if (input.is_object()) {
        objects.emplace_back(std::string(command), &input);
        return objects;
    }
    if (!input.is_array()) {
        throw BadInput(std::string(command) + ": expected a JSON object or an array of objects");
    }
    for (std::size_t i = 0; i < input.size(); ++i) {
        std::string where = std::string(command) + "[" + std::to_string(i) + "]";
        if (!input[i].is_object()) {
            throw BadInput(where + ": expected a JSON object");
        }
        objects.emplace_back(std::move(where), &input[i]);
    }
    return objects;
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

namespace {

// The shortest text of a finite float ("800", "129.37491", "1e+20") is at
// most this long.
constexpr std::size_t kFloatTextRoom = 32;

// Writes floatText(v) at `at`; returns the end of what was written.
char* writeFloat(char* at, float v) {
    if (!std::isfinite(v)) {
        throw std::logic_error("floatText: not a finite number");
    }
    if (std::bit_cast<std::uint32_t>(v) == 0) {
        // Most amounts of a breakdown are nothing (a negative zero keeps
        // its "-0" below).
        *at = '0';
        return at + 1;
    }
    return std::to_chars(at, at + kFloatTextRoom, v).ptr;
}

// Big enough that a batch's answers go out in few writes, small enough that
// memory stays flat however long the batch.
constexpr std::size_t kHandOverBytes = 32 * 1024;

}  // namespace

std::string floatText(float v) {
    char buf[kFloatTextRoom];
    return std::string(buf, writeFloat(buf, v));
}

JsonWriter::~JsonWriter() {
    handOver();
}

void JsonWriter::handOver() {
    if (used_ > 0) {
        out_.write(text_.get(), static_cast<std::streamsize>(used_));
        used_ = 0;
    }
}

void JsonWriter::handOverIfLarge() {
    if (used_ >= kHandOverBytes) {
        handOver();
    }
}

void JsonWriter::grow(std::size_t n) {
    const std::size_t capacity = std::max({2 * capacity_, used_ + n, 2 * kHandOverBytes});
    auto larger = std::make_unique_for_overwrite<char[]>(capacity);
    if (used_ > 0) {
        std::memcpy(larger.get(), text_.get(), used_);
    }
    text_ = std::move(larger);
    capacity_ = capacity;
}

void JsonWriter::flush() {
    handOver();
    out_.flush();
}

void JsonWriter::beforeValue() {
    handOverIfLarge();
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) {
            put(separator_);
        }
        first_.back() = 0;
    }
}

JsonWriter& JsonWriter::beginObject() {
    beforeValue();
    put('{');
    first_.push_back(1);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    first_.pop_back();
    put('}');
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    beforeValue();
    put('[');
    first_.push_back(1);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    first_.pop_back();
    put(']');
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    beforeValue();
    writeString(name);
    put(": ");
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::number(float v) {
    beforeValue();
    char* const at = room(kFloatTextRoom);
    used_ += static_cast<std::size_t>(writeFloat(at, v) - at);
    return *this;
}

JsonWriter& JsonWriter::integer(std::int64_t v) {
    beforeValue();
    char buf[24];
    const auto result = std::to_chars(buf, buf + sizeof buf, v);
    put(std::string_view(buf, static_cast<std::size_t>(result.ptr - buf)));
    return *this;
}

JsonWriter& JsonWriter::boolean(bool v) {
    beforeValue();
    put(v ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::text(std::string_view v) {
    beforeValue();
    writeString(v);
    return *this;
}

namespace {

// The bytes of `word` that must be escaped in a JSON string (a control
// character below 0x20, a quote or a backslash), each marked by its high bit.
// Exact: no carry crosses from one byte into the next.
std::uint64_t escapeMarks(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kLows = kOnes * 0x7F;
    constexpr std::uint64_t kHighs = kOnes * 0x80;
    const auto zeroBytes = [](std::uint64_t x) { return ~(((x & kLows) + kLows) | x) & kHighs; };
    const std::uint64_t below20 = ~(((word & kLows) + kOnes * (0x80 - 0x20)) | word) & kHighs;
    return below20 | zeroBytes(word ^ (kOnes * '"')) | zeroBytes(word ^ (kOnes * '\\'));
}

bool needsEscape(unsigned char c) {
    return c < 0x20 || c == '"' || c == '\\';
}

// The first byte from `p` on that must be escaped, or `end`.
const char* nextEscape(const char* p, const char* const end) {
#if defined(__SSE2__)
    // Sixteen bytes at a time: the marks of the bytes below 0x20, quotes and
    // backslashes, one bit for each byte.
    const __m128i kControl = _mm_set1_epi8(0x1F);
    const __m128i kQuote = _mm_set1_epi8('"');
    const __m128i kBackslash = _mm_set1_epi8('\\');
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(bytes, kControl), bytes);
        const __m128i quote = _mm_cmpeq_epi8(bytes, kQuote);
        const __m128i backslash = _mm_cmpeq_epi8(bytes, kBackslash);
        const auto marks = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(control, _mm_or_si128(quote, backslash))));
        if (marks != 0) {
            return p + std::countr_zero(marks);
        }
        p += 16;
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if (const std::uint64_t marks = escapeMarks(word); marks != 0) {
                return p + std::countr_zero(marks) / 8;
            }
            p += 8;
        }
    }
    while (p != end && !needsEscape(static_cast<unsigned char>(*p))) {
        ++p;
    }
    return p;
}

}  // namespace

void JsonWriter::writeString(std::string_view v) {
    static const char* const kHex = "0123456789abcdef";
    // At most six bytes for each byte, and the quotes.
    char* const first = room(6 * v.size() + 2);
    char* out = first;
    *out++ = '"';
    const char* p = v.data();
    const char* const end = p + v.size();
    while (p != end) {
        // A run of bytes that need no escape goes out as it is.
        const char* const run = p;
        p = nextEscape(p, end);
        std::memcpy(out, run, static_cast<std::size_t>(p - run));
        out += p - run;
        if (p == end) {
            break;
        }
        const auto c = static_cast<unsigned char>(*p++);
        *out++ = '\\';
        if (c == '"' || c == '\\') {
            *out++ = static_cast<char>(c);
        } else if (c == '\n') {
            *out++ = 'n';
        } else if (c == '\r') {
            *out++ = 'r';
        } else if (c == '\t') {
            *out++ = 't';
        } else {
            const char escaped[5] = {'u', '0', '0', kHex[c >> 4], kHex[c & 0xf]};
            std::memcpy(out, escaped, sizeof escaped);
            out += sizeof escaped;
        }
    }
    *out++ = '"';
    used_ += static_cast<std::size_t>(out - first);
}

JsonWriter& JsonWriter::raw(std::string_view json) {
    beforeValue();
    put(json);
    return *this;
}

void JsonWriter::newline() {
    put('\n');
    handOverIfLarge();
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
