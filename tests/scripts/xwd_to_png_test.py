#!/usr/bin/env python3
"""The screenshot converter keeps every pixel's place and colour for each pixel size and byte
order xwd writes: dumps of a known picture go in, the PNG's pixels must equal the picture."""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "xwd-to-png.py")

# Five pixels wide (rows need padding at 24 bits), two high, colours that tell the channels apart.
PICTURE = [[(255, 0, 0), (0, 255, 0), (0, 0, 255), (16, 128, 240), (255, 255, 255)],
           [(0, 0, 0), (200, 100, 50), (1, 2, 3), (128, 128, 128), (255, 255, 0)]]

# bits per pixel, byte order (0 least significant byte first), masks, scale of each channel
FORMATS = [
    (32, 0, (0xFF0000, 0xFF00, 0xFF), (255, 255, 255)),
    (32, 1, (0xFF0000, 0xFF00, 0xFF), (255, 255, 255)),
    (24, 0, (0xFF0000, 0xFF00, 0xFF), (255, 255, 255)),
    (24, 1, (0xFF0000, 0xFF00, 0xFF), (255, 255, 255)),
    (16, 0, (0xF800, 0x07E0, 0x001F), (31, 63, 31)),
]


def dump(bits, order, masks, scales):
    width, height = len(PICTURE[0]), len(PICTURE)
    size = bits // 8
    line = (width * size + 3) // 4 * 4
    name = b"test\0"
    fields = [100 + len(name), 7, 2, 24, width, height, 0, order, 32, order, 32, bits, line, 4, *masks,
              8, 256, 0, width, height, 0, 0, 0]
    pixels = bytearray()
    for row in PICTURE:
        packed = bytearray()
        for rgb in row:
            value = 0
            for c, mask, top in zip(rgb, masks, scales):
                shift = (mask & -mask).bit_length() - 1
                value |= (c * top // 255) << shift
            packed += value.to_bytes(size, "little" if order == 0 else "big")
        pixels += packed + b"\xAA" * (line - len(packed))
    return struct.pack(">25I", *fields) + name + bytes(pixels)


def png_pixels(data):
    width, height = struct.unpack(">II", data[16:24])
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        if kind == b"IDAT":
            idat += data[pos + 8:pos + 8 + length]
        pos += 12 + length
    raw = zlib.decompress(idat)
    rows = []
    for y in range(height):
        line = raw[y * (1 + 3 * width) + 1:(y + 1) * (1 + 3 * width)]
        rows.append([tuple(line[3 * x:3 * x + 3]) for x in range(width)])
    return rows


def expected(scales):
    return [[tuple(c * top // 255 * 255 // top for c, top in zip(rgb, scales)) for rgb in row] for row in PICTURE]


def main():
    failures = 0
    with tempfile.TemporaryDirectory() as folder:
        for bits, order, masks, scales in FORMATS:
            src, dst = os.path.join(folder, "in.xwd"), os.path.join(folder, "out.png")
            with open(src, "wb") as f:
                f.write(dump(bits, order, masks, scales))
            subprocess.run([sys.executable, SCRIPT, src, dst], check=True)
            with open(dst, "rb") as f:
                got = png_pixels(f.read())
            if got != expected(scales):
                failures += 1
                print(f"{bits} bits, byte order {order}: got {got}")
    print("all formats converted" if not failures else f"{failures} formats wrong")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
