#!/usr/bin/env python3
"""Converts a TrueColor xwd dump (as xwd writes it under Xvfb) to PNG.

Pixels of 16, 24 or 32 bits are read at their own size, in the dump's byte order, with the
rows' own length (rows are padded), and their colours taken through the dump's colour masks.

usage: xwd-to-png.py IN.xwd OUT.png
"""
import os
import struct
import sys
import zlib

TRUE_COLOR, DIRECT_COLOR = 4, 5


def channel(mask):
    """Shift and largest value of a colour mask (0xFF0000 -> 16, 255)."""
    shift = (mask & -mask).bit_length() - 1
    return shift, mask >> shift


def convert(data):
    """(width, height, RGB rows with PNG filter bytes) of an xwd dump."""
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, line_bytes, visual = fields[7], fields[11], fields[12], fields[13]
    masks = fields[14:17]
    ncolors = fields[19]
    if visual not in (TRUE_COLOR, DIRECT_COLOR) or bits_per_pixel not in (16, 24, 32):
        sys.exit(f"only TrueColor dumps of 16, 24 or 32 bits are supported "
                 f"(visual class {visual}, {bits_per_pixel} bits per pixel)")
    size = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"
    channels = [channel(m) for m in masks]
    pixels = data[header_size + ncolors * 12:]
    if len(pixels) < line_bytes * height:
        sys.exit(f"the dump is cut short ({len(pixels)} of {line_bytes * height} pixel bytes)")
    rows = []
    for y in range(height):
        line = pixels[y * line_bytes:y * line_bytes + width * size]
        row = bytearray(b"\0")
        for x in range(0, width * size, size):
            value = int.from_bytes(line[x:x + size], order)
            for shift, top in channels:
                row.append(((value >> shift) & top) * 255 // top)
        rows.append(bytes(row))
    return width, height, rows


def png(width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b""))


def main(src, dst):
    with open(src, "rb") as f:
        data = f.read()
    with open(dst + ".tmp", "wb") as f:
        f.write(png(*convert(data)))
    os.replace(dst + ".tmp", dst)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
