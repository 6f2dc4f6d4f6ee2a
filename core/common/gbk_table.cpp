// The converter's GBK as a lookup table, so that a field is decoded byte by
// byte instead of through the converter's machinery (several times faster
// on the history's shown records), and so that a search can tell where the
// decoding's characters start without decoding. Everything in it comes from
// the converter: how each byte reads on its own, and the row of a lead
// byte's 256 two-byte pairs, converted the first time that lead byte is met.
// A converter that behaves in any way the table cannot hold leaves the table
// unused (or that lead byte's row unbuilt), and the converter decodes.

#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "core/common/gbk.h"
#include "core/common/gbk_internal.h"

namespace inkquot {

using namespace gbk_detail;

namespace {

class GbkTable {
public:
    explicit GbkTable(Converter& conv) : conv_(conv) { usable_ = conv.usable() && classifyBytes(); }

    bool decode(std::string_view gbk, std::string& out, bool& allValid) {
        if (!usable_) {
            return false;
        }
        // Short fields (all of a record's) are decoded on the stack and
        // copied once at their length.
        constexpr std::size_t kOnStack = 512;
        char onStack[kOnStack * 3];
        std::string onHeap;
        char* first = onStack;
        if (gbk.size() > kOnStack) {
            onHeap.resize(gbk.size() * 3);  // U+FFFD for every byte at most
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
            const Byte& byte = bytes_[b - 0x80];
            if (byte.kind == Kind::Lead && i + 1 < n) {
                const Row* row = rowOf(b);
                if (row == nullptr) {
                    return false;
                }
                const auto t = static_cast<unsigned char>(gbk[i + 1]);
                if (const unsigned len = row->length[t]; len > 0) {
                    std::memcpy(o, row->utf8[t].data(), len);
                    o += len;
                    i += 2;
                    continue;
                }
            } else if (byte.kind == Kind::Single) {
                std::memcpy(o, byte.utf8.data(), byte.length);
                o += byte.length;
                ++i;
                continue;
            }
            // Not a character here: a byte no character starts with, a
            // lead byte cut off at the end or followed by a byte that does
            // not pair with it. Marked, and the next byte read afresh.
            std::memcpy(o, kReplacement.data(), kReplacement.size());
            o += kReplacement.size();
            allValid = false;
            ++i;
        }
        out.append(first, static_cast<std::size_t>(o - first));
        return true;
    }

    bool decodesUniquely(std::string_view gbk) {
        if (!usable_ || !knowAllCharacters()) {
            return false;
        }
        for (std::size_t i = 0; i < gbk.size();) {
            const auto b = static_cast<unsigned char>(gbk[i]);
            std::uint32_t character;
            if (b < 0x80) {
                character = b;
                ++i;
            } else if (bytes_[b - 0x80].kind == Kind::Single) {
                character = packed(bytes_[b - 0x80].utf8);
                ++i;
            } else if (bytes_[b - 0x80].kind == Kind::Lead && i + 1 < gbk.size() &&
                       rowOf(b)->length[static_cast<unsigned char>(gbk[i + 1])] > 0) {
                character = packed(rowOf(b)->utf8[static_cast<unsigned char>(gbk[i + 1])]);
                i += 2;
            } else {
                return false;  // no character at all
            }
            if (std::binary_search(shared_.begin(), shared_.end(), character)) {
                return false;
            }
        }
        return true;
    }

    // The character starts of the whole set; false when not all of it
    // could be read.
    bool fillStarts(GbkCharacterStarts& starts) {
        if (!usable_ || !knowAllCharacters()) {
            return false;
        }
        for (unsigned b = 0x80; b <= 0xFF; ++b) {
            if (bytes_[b - 0x80].kind == Kind::Lead) {
                starts.leads[b] = true;
                const Row* row = rowOf(static_cast<unsigned char>(b));
                for (std::size_t t = 0; t < 256; ++t) {
                    starts.pairs[b][t] = row->length[t] > 0;
                }
            }
        }
        return true;
    }

private:
    enum class Kind : unsigned char { Invalid, Single, Lead };
    struct Byte {
        Kind kind = Kind::Invalid;
        unsigned char length = 0;
        std::array<char, 4> utf8{};
    };
    struct Row {
        std::array<std::array<char, 4>, 256> utf8;
        std::array<unsigned char, 256> length;  // 0: the pair is no character
    };

    static std::uint32_t packed(const std::array<char, 4>& utf8) {
        std::uint32_t v;
        std::memcpy(&v, utf8.data(), sizeof v);
        return v;
    }

    // ASCII must read as itself (fields of ASCII alone are never
    // converted); each other byte on its own is a character, no character,
    // or the lead byte of a pair (the converter wants more input).
    bool classifyBytes() {
        std::string ascii(0x80, '\0');
        for (std::size_t b = 0; b < ascii.size(); ++b) {
            ascii[b] = static_cast<char>(b);
        }
        std::string out;
        if (convert(ascii, out) != 0 || out != ascii) {
            return false;
        }
        for (unsigned b = 0x80; b <= 0xFF; ++b) {
            const std::string one(1, static_cast<char>(b));
            Byte& byte = bytes_[b - 0x80];
            const int err = convert(one, out);
            if (err == EILSEQ) {
                byte.kind = Kind::Invalid;
            } else if (err == EINVAL) {
                byte.kind = Kind::Lead;
            } else if (err == 0 && !out.empty() && utf8SequenceLength(out) == out.size()) {
                byte.kind = Kind::Single;
                byte.length = static_cast<unsigned char>(out.size());
                std::memcpy(byte.utf8.data(), out.data(), out.size());
            } else {
                return false;
            }
        }
        return true;
    }

    // Converts the whole of `in` in one go: 0 when it all converted, or the
    // converter's error (nothing after it converted).
    int convert(std::string_view in, std::string& out) {
        conv_.resetState();
        char buffer[64];
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        out.clear();
        while (true) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t r = iconv(conv_.get(), &inPtr, &inLeft, &outPtr, &outLeft);
            const int err = errno;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (r != static_cast<std::size_t>(-1)) {
                return 0;
            }
            if (err != E2BIG) {
                return err;
            }
        }
    }

    const Row* rowOf(unsigned char lead) {
        const std::size_t at = lead - 0x80;
        if (!rows_[at] && !unbuilt_[at]) {
            auto row = std::make_unique<Row>();
            if (buildRow(lead, *row)) {
                rows_[at] = std::move(row);
            } else {
                unbuilt_[at] = true;
            }
        }
        return rows_[at].get();
    }

    // All 256 pairs of the lead byte go through the converter at once; a
    // pair it refuses is skipped whole and noted. Every other pair must give
    // exactly one character, or the row is not used.
    bool buildRow(unsigned char lead, Row& row) {
        std::array<char, 512> in;
        for (std::size_t t = 0; t < 256; ++t) {
            in[2 * t] = static_cast<char>(lead);
            in[2 * t + 1] = static_cast<char>(t);
        }
        std::array<bool, 256> refused{};
        std::array<char, 2048> buffer;
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        conv_.resetState();
        while (inLeft > 0) {
            const std::size_t r = iconv(conv_.get(), &inPtr, &inLeft, &outPtr, &outLeft);
            const int err = errno;
            if (r != static_cast<std::size_t>(-1)) {
                break;
            }
            const auto at = static_cast<std::size_t>(inPtr - in.data());
            if (err != EILSEQ || at % 2 != 0) {
                return false;
            }
            refused[at / 2] = true;
            inPtr += 2;
            inLeft -= 2;
            conv_.resetState();
        }
        std::string_view produced(buffer.data(), static_cast<std::size_t>(outPtr - buffer.data()));
        for (std::size_t t = 0; t < 256; ++t) {
            row.length[t] = 0;
            row.utf8[t] = {};
            if (refused[t]) {
                continue;
            }
            const std::size_t len = utf8SequenceLength(produced);
            if (len == 0) {
                return false;
            }
            std::memcpy(row.utf8[t].data(), produced.data(), len);
            row.length[t] = static_cast<unsigned char>(len);
            produced.remove_prefix(len);
        }
        return produced.empty();
    }

    // Builds every row once and notes the characters that more than one
    // byte sequence decodes to.
    bool knowAllCharacters() {
        if (!knowsAll_) {
            std::vector<std::uint32_t> all;
            for (unsigned b = 0; b < 0x80; ++b) {
                all.push_back(b);
            }
            for (unsigned b = 0x80; b <= 0xFF; ++b) {
                const Byte& byte = bytes_[b - 0x80];
                if (byte.kind == Kind::Single) {
                    all.push_back(packed(byte.utf8));
                } else if (byte.kind == Kind::Lead) {
                    const Row* row = rowOf(static_cast<unsigned char>(b));
                    if (row == nullptr) {
                        return false;
                    }
                    for (std::size_t t = 0; t < 256; ++t) {
                        if (row->length[t] > 0) {
                            all.push_back(packed(row->utf8[t]));
                        }
                    }
                }
            }
            std::sort(all.begin(), all.end());
            for (std::size_t i = 1; i < all.size(); ++i) {
                if (all[i] == all[i - 1] && (shared_.empty() || shared_.back() != all[i])) {
                    shared_.push_back(all[i]);
                }
            }
            knowsAll_ = true;
        }
        return true;
    }

    Converter& conv_;
    bool usable_ = false;
    std::array<Byte, 0x80> bytes_{};
    std::array<std::unique_ptr<Row>, 0x80> rows_{};
    std::array<bool, 0x80> unbuilt_{};
    bool knowsAll_ = false;
    std::vector<std::uint32_t> shared_;  // characters with more than one encoding, sorted
};

// The thread's table, found through a plain pointer: the table object
// itself would be checked for its construction on every use.
GbkTable& gbkTable() {
    thread_local GbkTable* table = nullptr;
    if (table == nullptr) {
        thread_local GbkTable owned(fromGbk());
        table = &owned;
    }
    return *table;
}

}  // namespace

namespace gbk_detail {

bool decodeByTable(std::string_view gbk, std::string& out, bool& allValid) {
    return gbkTable().decode(gbk, out, allValid);
}

}  // namespace gbk_detail

namespace {

// The whole character set, read once with a converter of its own and never
// changed after, so that every thread can share it.
struct WholeSet {
    Converter conv{"UTF-8", "GBK"};
    GbkTable table{conv};
    GbkCharacterStarts starts;
    bool known = false;
};

WholeSet& wholeSet() {
    static WholeSet* const set = [] {
        auto* s = new WholeSet;
        s->known = s->table.fillStarts(s->starts);
        return s;
    }();
    return *set;
}

}  // namespace

const GbkCharacterStarts* gbkCharacterStarts() {
    const WholeSet& set = wholeSet();
    return set.known ? &set.starts : nullptr;
}

bool gbkDecodesUniquely(std::string_view gbk) {
    WholeSet& set = wholeSet();
    return set.known && set.table.decodesUniquely(gbk);
}

}  // namespace inkquot
