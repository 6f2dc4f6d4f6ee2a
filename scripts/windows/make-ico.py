#!/usr/bin/env python3
"""Writes a Windows icon file (.ico) holding PNG images of several sizes.

usage: make-ico.py OUTPUT.ico IMAGE.png...

Each PNG is stored whole, as Windows Vista and later read them; sizes of
256 pixels are written as 0 in the directory, as the format requires.
"""

import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG file")
    return struct.unpack(">II", data[16:24])


def main(argv):
    output, images = argv[1], [open(p, "rb").read() for p in argv[2:]]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    directory, blobs = b"", b""
    for data in images:
        width, height = png_size(data)
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32,
                                 len(data), offset + len(blobs))
        blobs += data
    with open(output, "wb") as f:
        f.write(header + directory + blobs)


if __name__ == "__main__":
    main(sys.argv)
