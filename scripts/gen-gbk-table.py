#!/usr/bin/env python3
"""Writes core/common/gbk_codepoints.inc, the program's own GBK table.

The table is read from the C library's GBK converter (glibc's iconv, called
through ctypes), so that the program reads and writes exactly the bytes that
GBK files made with that converter hold. Python's own codec is not used: it
differs from the converter in corner cases.

The file holds:
  - how each byte 0x80..0xFF reads on its own (ASCII always reads as itself);
  - for each lead byte 0x81..0xFE and trail byte 0x40..0xFE, the code point
    the pair decodes to, 0 where the pair is no character;
  - the characters that the encoder writes otherwise than the first byte
    sequence (in byte order) that decodes to them.

Run on Linux with glibc:  scripts/gen-gbk-table.py [output]
"""

import ctypes
import ctypes.util
import errno
import os
import sys

LEAD_MARK = 0xFFFF  # in the single-byte row: the byte leads a pair
FIRST_LEAD, LAST_LEAD = 0x81, 0xFE
FIRST_TRAIL, LAST_TRAIL = 0x40, 0xFE

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t),
                       ctypes.POINTER(ctypes.c_char_p), ctypes.POINTER(ctypes.c_size_t)]
FAILED = ctypes.c_size_t(-1).value


class Converter:
    def __init__(self, to, frm):
        self.cd = libc.iconv_open(to.encode(), frm.encode())
        if self.cd is None or self.cd == ctypes.c_void_p(-1).value:
            sys.exit(f"the C library cannot convert {frm} to {to}")

    def convert(self, data):
        """Converts `data` in one call: (output, error or 0, bytes consumed)."""
        libc.iconv(self.cd, None, None, None, None)
        inbuf = ctypes.create_string_buffer(data, len(data))
        outbuf = ctypes.create_string_buffer(64)
        inptr = ctypes.c_char_p(ctypes.addressof(inbuf))
        outptr = ctypes.c_char_p(ctypes.addressof(outbuf))
        inleft = ctypes.c_size_t(len(data))
        outleft = ctypes.c_size_t(64)
        ctypes.set_errno(0)
        r = libc.iconv(self.cd, ctypes.byref(inptr), ctypes.byref(inleft), ctypes.byref(outptr),
                       ctypes.byref(outleft))
        err = ctypes.get_errno() if r == FAILED else 0
        return outbuf.raw[:64 - outleft.value], err, len(data) - inleft.value


def one_character(utf8):
    text = utf8.decode("utf-8")
    if len(text) != 1 or ord(text) > 0xFFFF or ord(text) == LEAD_MARK:
        sys.exit(f"unexpected decoding {utf8!r}")
    return ord(text)


def read_decoding(dec):
    for b in range(0x80):
        out, err, _ = dec.convert(bytes([b]))
        if err or out != bytes([b]):
            sys.exit(f"ASCII byte {b:#04x} does not read as itself")
    single = []
    for b in range(0x80, 0x100):
        out, err, used = dec.convert(bytes([b]))
        if err == errno.EINVAL:
            single.append(LEAD_MARK)
        elif err == errno.EILSEQ and used == 0:
            single.append(0)
        elif err == 0:
            single.append(one_character(out))
        else:
            sys.exit(f"byte {b:#04x}: unexpected result {err}")
    leads = [0x80 + i for i, v in enumerate(single) if v == LEAD_MARK]
    if leads != list(range(FIRST_LEAD, LAST_LEAD + 1)):
        sys.exit("the lead bytes are not 0x81..0xFE")
    pairs = {}
    for lead in leads:
        for trail in range(0x100):
            out, err, used = dec.convert(bytes([lead, trail]))
            if err == 0 and used == 2:
                if not FIRST_TRAIL <= trail <= LAST_TRAIL:
                    sys.exit(f"pair {lead:#04x} {trail:#04x} outside the trail range decodes")
                pairs[(lead, trail)] = one_character(out)
            elif not (err == errno.EILSEQ and used == 0):
                sys.exit(f"pair {lead:#04x} {trail:#04x}: unexpected result {err} after {used}")
    return single, pairs


def gbk_value(seq):
    return seq[0] if len(seq) == 1 else seq[0] << 8 | seq[1]


def first_sequences(single, pairs):
    """Each character's first byte sequence in byte order, as the program's
    table inverts the decoding."""
    first = {b: bytes([b]) for b in range(0x80)}
    for i, cp in enumerate(single):
        if cp not in (0, LEAD_MARK):
            first.setdefault(cp, bytes([0x80 + i]))
    for (lead, trail), cp in sorted(pairs.items()):
        first.setdefault(cp, bytes([lead, trail]))
    return first


def read_encoding_exceptions(enc, first):
    exceptions = []
    for cp in range(0x10000):
        if 0xD800 <= cp <= 0xDFFF:
            continue
        out, err, _ = enc.convert(chr(cp).encode("utf-8"))
        if err == 0 and len(out) in (1, 2):
            got = out
        elif err == errno.EILSEQ and not out:
            got = None
        else:
            sys.exit(f"U+{cp:04X}: unexpected encoding {out!r} {err}")
        if cp < 0x80 and got != bytes([cp]):
            sys.exit(f"U+{cp:04X} does not encode as itself")
        if cp >= 0x80 and got and got[0] < 0x80:
            sys.exit(f"U+{cp:04X} encodes as ASCII")
        if got != first.get(cp):
            exceptions.append((cp, gbk_value(got) if got else 0))
    # Beyond the basic plane GBK has nothing: the converter refuses those
    # characters, but writes the invisible language tags as nothing at all.
    # The program refuses them all, so as not to lose a character unseen.
    for cp in range(0x10000, 0x110000):
        out, err, _ = enc.convert(chr(cp).encode("utf-8"))
        if out or err not in (0, errno.EILSEQ):
            sys.exit(f"U+{cp:04X} beyond the basic plane encodes as {out!r}")
    return exceptions


def numbers(values, per_line, indent):
    lines = []
    for i in range(0, len(values), per_line):
        lines.append(indent + " ".join(f"0x{v:04X}," for v in values[i:i + per_line]))
    return lines


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "core/common/gbk_codepoints.inc")
    single, pairs = read_decoding(Converter("UTF-8", "GBK"))
    exceptions = read_encoding_exceptions(Converter("GBK", "UTF-8"), first_sequences(single, pairs))

    trails = LAST_TRAIL - FIRST_TRAIL + 1
    out = [
        "// Written by scripts/gen-gbk-table.py from the C library's GBK converter;",
        "// regenerate rather than edit. Included by gbk_table.cpp.",
        "",
        "// Each byte 0x80..0xFF on its own: the code point it reads as, 0 when it",
        "// is no character, kGbkLeadByte when it leads a two-byte character.",
        "inline constexpr std::uint16_t kGbkLeadByte = 0x%04X;" % LEAD_MARK,
        "inline constexpr std::array<std::uint16_t, 0x80> kGbkSingleBytes = {",
        *numbers(single, 12, "    "),
        "};",
        "",
        "inline constexpr unsigned kGbkFirstLead = 0x%02X;" % FIRST_LEAD,
        "inline constexpr unsigned kGbkFirstTrail = 0x%02X;" % FIRST_TRAIL,
        "inline constexpr unsigned kGbkTrails = %d;  // 0x%02X..0x%02X" % (trails, FIRST_TRAIL, LAST_TRAIL),
        "",
        "// For each lead byte 0x%02X..0x%02X and trail byte 0x%02X..0x%02X, the code point"
        % (FIRST_LEAD, LAST_LEAD, FIRST_TRAIL, LAST_TRAIL),
        "// the pair reads as; 0 when the pair is no character (the lead byte is then",
        "// read as broken and the trail byte afresh). A trail byte outside the range",
        "// never pairs.",
        "inline constexpr std::uint16_t kGbkPairs[%d][kGbkTrails] = {" % (LAST_LEAD - FIRST_LEAD + 1),
    ]
    for lead in range(FIRST_LEAD, LAST_LEAD + 1):
        row = [pairs.get((lead, t), 0) for t in range(FIRST_TRAIL, LAST_TRAIL + 1)]
        out.append("    {  // 0x%02X" % lead)
        out += numbers(row, 12, "    ")
        out.append("    },")
    out += [
        "};",
        "",
        "// The characters the encoder writes otherwise than as the first byte",
        "// sequence (single bytes, then pairs, in byte order) that reads as them:",
        "// the code point and its GBK bytes (a pair as lead * 256 + trail), 0 when",
        "// the encoder refuses it. Every other character that no sequence reads",
        "// as is refused.",
        "inline constexpr std::array<std::array<std::uint16_t, 2>, %d> kGbkEncoderExceptions = {{"
        % len(exceptions),
        *["    {0x%04X, 0x%04X}," % e for e in exceptions],
        "}};",
    ]
    with open(target, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(out) + "\n")
    print(f"{target}: {len(pairs)} pairs, {sum(1 for v in single if v not in (0, LEAD_MARK))} single "
          f"bytes, {len(exceptions)} encoder exceptions")


if __name__ == "__main__":
    main()
