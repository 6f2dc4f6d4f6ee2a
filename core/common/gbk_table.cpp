// The GBK character set as the program's own table, the same on every
// system: the code points of gbk_codepoints.inc, read from the C library's
// converter on Linux, so that files written and read on Windows hold the
// same bytes and texts as on Linux.
//
// Decoding reads each character's UTF-8 from a table laid out at compile
// time (a field is decoded byte by byte, the history's shown records by the
// thousand). Encoding, the character starts and the characters that several
// byte sequences read as come from one inversion of that table, made the
// first time one of them is needed.

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>

#include "core/common/gbk.h"
#include "core/common/gbk_internal.h"

namespace inkquot {

using namespace gbk_detail;

namespace {

#include "core/common/gbk_codepoints.inc"

constexpr unsigned kLeads = sizeof kGbkPairs / sizeof kGbkPairs[0];

// A character of the basic plane as UTF-8 (at most three bytes) with its
// length in the fourth byte, so that it is copied as one four-byte word;
// length 0: no character.
struct Utf8Char {
    std::array<char, 4> bytes{};
    unsigned length() const { return static_cast<unsigned char>(bytes[3]); }
};

constexpr Utf8Char utf8Of(std::uint32_t cp) {
    Utf8Char c;
    if (cp < 0x80) {
        c.bytes = {static_cast<char>(cp), 0, 0, 1};
    } else if (cp < 0x800) {
        c.bytes = {static_cast<char>(0xC0 | cp >> 6), static_cast<char>(0x80 | (cp & 0x3F)), 0, 2};
    } else {
        c.bytes = {static_cast<char>(0xE0 | cp >> 12), static_cast<char>(0x80 | (cp >> 6 & 0x3F)),
                   static_cast<char>(0x80 | (cp & 0x3F)), 3};
    }
    return c;
}

struct DecodeTable {
    std::array<bool, 0x80> leads{};        // bytes 0x80..0xFF that lead a pair
    std::array<Utf8Char, 0x80> singles{};  // bytes 0x80..0xFF read alone
    // Every trail byte of every lead byte, so that a trail byte is an index
    // without a range check.
    std::array<std::array<Utf8Char, 256>, kLeads> pairs{};
};

constexpr DecodeTable makeDecodeTable() {
    DecodeTable t;
    for (unsigned b = 0; b < 0x80; ++b) {
        const std::uint16_t cp = kGbkSingleBytes[b];
        t.leads[b] = cp == kGbkLeadByte;
        if (cp != kGbkLeadByte && cp != 0) {
            t.singles[b] = utf8Of(cp);
        }
    }
    for (unsigned lead = 0; lead < kLeads; ++lead) {
        for (unsigned trail = 0; trail < kGbkTrails; ++trail) {
            if (const std::uint16_t cp = kGbkPairs[lead][trail]; cp != 0) {
                t.pairs[lead][kGbkFirstTrail + trail] = utf8Of(cp);
            }
        }
    }
    return t;
}

constexpr DecodeTable kDecode = makeDecodeTable();

static_assert(kGbkFirstLead == 0x81 && kLeads == 0xFE - 0x81 + 1,
              "the lead bytes are 0x81..0xFE (as gbkFitLength and the starts assume)");

// The table read the other way, and what follows from it.
struct Inverse {
    std::array<std::uint16_t, 0x10000> bytes{};  // each character's GBK bytes, 0: none
    std::bitset<0x10000> shared;                 // characters more than one sequence reads as
    GbkCharacterStarts starts;
};

std::unique_ptr<Inverse> makeInverse() {
    auto inv = std::make_unique<Inverse>();
    std::bitset<0x10000> seen;
    // The encoder writes the first sequence in byte order that reads as a
    // character (ASCII, other single bytes, then the pairs), but for the
    // few characters listed otherwise.
    const auto add = [&](std::uint16_t cp, std::uint16_t bytes) {
        if (seen[cp]) {
            inv->shared[cp] = true;
        } else {
            seen[cp] = true;
            inv->bytes[cp] = bytes;
        }
    };
    for (std::uint16_t b = 0; b < 0x80; ++b) {
        add(b, b);
    }
    for (unsigned b = 0; b < 0x80; ++b) {
        const std::uint16_t cp = kGbkSingleBytes[b];
        if (cp == kGbkLeadByte) {
            inv->starts.leads[0x80 + b] = true;
        } else if (cp != 0) {
            add(cp, static_cast<std::uint16_t>(0x80 + b));
        }
    }
    for (unsigned lead = 0; lead < kLeads; ++lead) {
        for (unsigned trail = 0; trail < kGbkTrails; ++trail) {
            if (const std::uint16_t cp = kGbkPairs[lead][trail]; cp != 0) {
                const unsigned leadByte = kGbkFirstLead + lead;
                const unsigned trailByte = kGbkFirstTrail + trail;
                inv->starts.pairs[leadByte][trailByte] = true;
                add(cp, static_cast<std::uint16_t>(leadByte << 8 | trailByte));
            }
        }
    }
    for (const auto& [cp, bytes] : kGbkEncoderExceptions) {
        inv->bytes[cp] = bytes;
    }
    return inv;
}

const Inverse& inverse() {
    static const std::unique_ptr<Inverse> inv = makeInverse();
    return *inv;
}

// The code point of the character at `i` (moving `i` past it), or -1 when
// no character starts there.
std::int32_t characterAt(std::string_view gbk, std::size_t& i) {
    const auto b = static_cast<unsigned char>(gbk[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    if (kDecode.leads[b - 0x80]) {
        if (i + 1 < gbk.size()) {
            const auto t = static_cast<unsigned char>(gbk[i + 1]);
            if (t >= kGbkFirstTrail && t < kGbkFirstTrail + kGbkTrails) {
                if (const std::uint16_t cp = kGbkPairs[b - kGbkFirstLead][t - kGbkFirstTrail]) {
                    i += 2;
                    return cp;
                }
            }
        }
        return -1;
    }
    const std::uint16_t cp = kGbkSingleBytes[b - 0x80];
    if (cp == 0) {
        return -1;
    }
    ++i;
    return cp;
}

}  // namespace

namespace gbk_detail {

void decodeByTable(std::string_view gbk, std::string& out, bool& allValid) {
    // Short fields (all of a record's) are decoded on the stack and copied
    // once at their length. A character is copied as a four-byte word, so
    // the buffer has a byte to spare beyond U+FFFD for every byte.
    constexpr std::size_t kOnStack = 512;
    char onStack[kOnStack * 3 + 1];
    std::string onHeap;
    char* first = onStack;
    if (gbk.size() > kOnStack) {
        onHeap.resize(gbk.size() * 3 + 1);
        first = onHeap.data();
    }
    char* o = first;
    const std::size_t n = gbk.size();
    std::size_t i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(gbk[i]);
        if (b < 0x80) {
            const std::size_t end = asciiRunEnd(gbk, i + 1);
            std::memcpy(o, gbk.data() + i, end - i);
            o += end - i;
            i = end;
            continue;
        }
        const Utf8Char* c;
        std::size_t used;
        if (kDecode.leads[b - 0x80]) {
            c = i + 1 < n
                    ? &kDecode.pairs[b - kGbkFirstLead][static_cast<unsigned char>(gbk[i + 1])]
                    : nullptr;
            used = 2;
        } else {
            c = &kDecode.singles[b - 0x80];
            used = 1;
        }
        if (c != nullptr && c->length() > 0) {
            std::memcpy(o, c->bytes.data(), c->bytes.size());
            o += c->length();
            i += used;
            continue;
        }
        // Not a character here: a byte no character starts with, a lead
        // byte cut off at the end or followed by a byte that does not pair
        // with it. Marked, and the next byte read afresh.
        std::memcpy(o, kReplacement.data(), kReplacement.size());
        o += kReplacement.size();
        allValid = false;
        ++i;
    }
    out.append(first, static_cast<std::size_t>(o - first));
}

std::uint16_t gbkBytesOf(char32_t character) {
    return character < 0x10000 ? inverse().bytes[character] : 0;
}

}  // namespace gbk_detail

const GbkCharacterStarts* gbkCharacterStarts() {
    return &inverse().starts;
}

bool gbkDecodesUniquely(std::string_view gbk) {
    const Inverse& inv = inverse();
    for (std::size_t i = 0; i < gbk.size();) {
        const std::int32_t cp = characterAt(gbk, i);
        if (cp < 0 || inv.shared[static_cast<std::size_t>(cp)]) {
            return false;
        }
    }
    return true;
}

}  // namespace inkquot
