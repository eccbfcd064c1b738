#!/usr/bin/env python3
"""Converts a 24/32-bit TrueColor xwd window dump (as xwd writes it under Xvfb) to PNG.

usage: xwd-to-png.py IN.xwd OUT.png
"""
import struct
import sys
import zlib


def main(src, dst):
    data = open(src, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, line_bytes = fields[7], fields[11], fields[12]
    ncolors = fields[19]
    step = line_bytes // width  # Xvfb pads 24-bit pixels to 4 bytes
    if step != 4:
        sys.exit(f"only 4-byte pixels are supported ({bits_per_pixel} bits in {step} bytes)")
    pixels = data[header_size + ncolors * 12:]
    rows = []
    for y in range(height):
        line = pixels[y * line_bytes:y * line_bytes + width * 4]
        row = bytearray(b"\0")
        for x in range(width):
            p = line[4 * x:4 * x + 4]
            b, g, r = (p[0], p[1], p[2]) if byte_order == 0 else (p[3], p[2], p[1])
            row += bytes((r, g, b))
        rows.append(bytes(row))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b"")
    open(dst, "wb").write(png)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
