#!/usr/bin/env python3
"""Writes the BMP fuzz seeds for every info header size from 12 to 124 and
every compression kind into tests/fuzz/corpus/bmp/headers/ (2 x 2 images;
masks at offset 40 of the header, inside it or right after it)."""
import os
import struct

OUT = os.path.join(os.path.dirname(__file__), "../../../fuzz/corpus/bmp/headers")

KINDS = [  # name, bits per pixel, compression, masks, pixel bytes
    ("rgb24", 24, 0, [], b"\x11" * 16),
    ("rgb8", 8, 0, [], bytes([1, 0, 0, 0, 0, 1, 0, 0])),
    ("rle8", 8, 1, [], bytes([2, 1, 0, 0, 2, 0, 0, 1])),
    ("rle4", 4, 2, [], bytes([2, 0x11, 0, 0, 2, 0, 0, 1])),
    ("fields16", 16, 3, [0xF800, 0x07E0, 0x001F], b"\x22" * 8),
    ("alpha32", 32, 6, [0xFF0000, 0xFF00, 0xFF, 0xFF000000], b"\x33" * 16),
]


def build(header_size, bpp, compression, masks, pixels):
    if header_size < 16:
        info = struct.pack("<IHHHH", header_size, 2, 2, 1, bpp)
    else:
        info = struct.pack("<IiiHHIIiiII", header_size, 2, 2, 1, bpp, compression, len(pixels), 0, 0, 2, 0)
    info += b"".join(struct.pack("<I", m) for m in masks)
    info = info[:header_size].ljust(header_size, b"\0") + info[header_size:]
    if bpp <= 8:
        entry = 3 if header_size == 12 else 4
        info += (b"\x30\x20\x10\x00"[:entry]) + (b"\x60\x50\x40\x00"[:entry])
    offset = 14 + len(info)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + pixels


os.makedirs(OUT, exist_ok=True)
for size in range(12, 125):
    for name, bpp, compression, masks, pixels in KINDS:
        with open(os.path.join(OUT, "h%03d-%s.bmp" % (size, name)), "wb") as f:
            f.write(build(size, bpp, compression, masks, pixels))
