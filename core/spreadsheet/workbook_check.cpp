#include "core/spreadsheet/workbook_check.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/spreadsheet/xlsx_library.h"

namespace inkquot {

namespace {

std::uint32_t le(std::string_view bytes, std::size_t at, int width) {
    std::uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return v;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Follows the elements of an XML text given piece by piece. The library
// escapes "<" and ">" in texts and attribute values, so every "<" starts a
// tag and the next ">" ends it.
class XmlNesting {
public:
    void feed(std::string_view piece) {
        for (const char c : piece) {
            if (inTag_) {
                if (c == '>') {
                    inTag_ = false;
                    endTag();
                } else {
                    if (!nameDone_ && (isSpace(c) || (c == '/' && !name_.empty()))) {
                        nameDone_ = true;
                    } else if (!nameDone_) {
                        name_ += c;
                    }
                    last_ = c;
                }
            } else if (c == '<') {
                inTag_ = true;
                nameDone_ = false;
                name_.clear();
                last_ = 0;
            } else if (open_.empty() && !isSpace(c)) {
                broken_ = true;  // text outside the root element
            }
        }
    }

    bool whole() const { return !broken_ && !inTag_ && rootClosed_ && open_.empty(); }
    std::size_t rows() const { return rows_; }

private:
    void endTag() {
        if (name_.empty()) {
            broken_ = true;
        } else if (name_[0] == '?' || name_[0] == '!') {
            // the declaration, a comment
        } else if (name_[0] == '/') {
            if (open_.empty() || open_.back() != std::string_view(name_).substr(1)) {
                broken_ = true;
            } else {
                open_.pop_back();
                rootClosed_ = open_.empty();
            }
        } else if (rootClosed_) {
            broken_ = true;  // a second root
        } else {
            rows_ += name_ == "row" ? 1 : 0;
            if (last_ == '/') {
                rootClosed_ = open_.empty();
            } else {
                open_.push_back(name_);
            }
        }
    }

    std::vector<std::string> open_;
    std::string name_;
    bool inTag_ = false;
    bool nameDone_ = false;
    bool rootClosed_ = false;
    bool broken_ = false;
    char last_ = 0;
    std::size_t rows_ = 0;
};

// Unpacks one member of the archive (stored or deflated), handing its bytes
// to `take`; false unless it unpacks to exactly `size` bytes with checksum
// `crc`.
template <typename Take>
bool unpack(const XlsxLibrary& z, std::string_view data, int method, std::uint32_t size,
            std::uint32_t crc, Take take) {
    uLong sum = z.crc32(0, nullptr, 0);
    std::uint64_t total = 0;
    auto add = [&](const char* p, std::size_t n) {
        sum = z.crc32(sum, reinterpret_cast<const Bytef*>(p), static_cast<uInt>(n));
        total += n;
        take(std::string_view(p, n));
    };
    if (method == 0) {
        add(data.data(), data.size());
        return total == size && sum == crc;
    }
    if (method != Z_DEFLATED) {
        return false;
    }
    z_stream s{};
    if (z.inflateInit2_(&s, -MAX_WBITS, ZLIB_VERSION, static_cast<int>(sizeof(z_stream))) != Z_OK) {
        return false;
    }
    s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    s.avail_in = static_cast<uInt>(data.size());
    std::array<char, 64 * 1024> out;
    int rc = Z_OK;
    while (rc == Z_OK) {
        s.next_out = reinterpret_cast<Bytef*>(out.data());
        s.avail_out = static_cast<uInt>(out.size());
        rc = z.inflate(&s, Z_NO_FLUSH);
        add(out.data(), out.size() - s.avail_out);
        if (rc == Z_BUF_ERROR && s.avail_in == 0) {
            break;  // the data ends before the stream does
        }
    }
    z.inflateEnd(&s);
    return rc == Z_STREAM_END && s.avail_in == 0 && total == size && sum == crc;
}

}  // namespace

bool workbookIsWhole(std::string_view bytes, std::size_t sheetRows, const XlsxLibrary& z) {
    // The end record: the last "PK\5\6" within the largest comment's reach.
    constexpr std::size_t kEnd = 22;
    if (bytes.size() < kEnd) {
        return false;
    }
    std::size_t end = bytes.size() - kEnd;
    while (bytes.compare(end, 4, "PK\5\6") != 0) {
        if (end == 0 || bytes.size() - end > kEnd + 0xFFFF) {
            return false;
        }
        --end;
    }
    const std::uint32_t count = le(bytes, end + 10, 2);
    std::size_t at = le(bytes, end + 16, 4);
    bool sheetSeen = false;
    for (std::uint32_t n = 0; n < count; ++n) {
        if (at + 46 > end || bytes.compare(at, 4, "PK\1\2") != 0) {
            return false;
        }
        const int method = static_cast<int>(le(bytes, at + 10, 2));
        const std::uint32_t crc = le(bytes, at + 16, 4);
        const std::uint32_t packed = le(bytes, at + 20, 4);
        const std::uint32_t size = le(bytes, at + 24, 4);
        const std::size_t nameLength = le(bytes, at + 28, 2);
        const std::size_t local = le(bytes, at + 42, 4);
        if (at + 46 + nameLength > end) {
            return false;
        }
        const std::string_view name = bytes.substr(at + 46, nameLength);
        at += 46 + nameLength + le(bytes, at + 30, 2) + le(bytes, at + 32, 2);

        if (local + 30 > end || bytes.compare(local, 4, "PK\3\4") != 0) {
            return false;
        }
        const std::size_t data = local + 30 + le(bytes, local + 26, 2) + le(bytes, local + 28, 2);
        if (data > end || packed > end - data) {
            return false;
        }
        const bool xml = name.ends_with(".xml") || name.ends_with(".rels");
        XmlNesting nesting;
        const bool unpacked =
            unpack(z, bytes.substr(data, packed), method, size, crc, [&](std::string_view piece) {
                if (xml) {
                    nesting.feed(piece);
                }
            });
        if (!unpacked || (xml && !nesting.whole())) {
            return false;
        }
        if (name == "xl/worksheets/sheet1.xml") {
            sheetSeen = true;
            if (nesting.rows() != sheetRows) {
                return false;
            }
        }
    }
    return sheetSeen;
}

}  // namespace inkquot
