#!/usr/bin/env python3
"""The screenshot converter keeps every pixel's place and colour for each pixel size and byte
order xwd writes: dumps of a known picture go in, the PNG's pixels must equal the picture."""
import os, struct, subprocess, sys, tempfile, zlib

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "xwd-to-png.py")
# Five pixels wide (rows need padding at 24 bits), two high, colours that tell the channels apart.
PICTURE = [[(255, 0, 0), (0, 255, 0), (0, 0, 255), (16, 128, 240), (255, 255, 255)],
           [(0, 0, 0), (200, 100, 50), (1, 2, 3), (128, 128, 128), (255, 255, 0)]]
RGB8, RGB565 = ((0xFF0000, 8), (0xFF00, 8), (0xFF, 8)), ((0xF800, 5), (0x07E0, 6), (0x001F, 5))
# bits per pixel, byte order (0: least significant byte first), channel masks and widths
FORMATS = [(32, 0, RGB8), (32, 1, RGB8), (24, 0, RGB8), (24, 1, RGB8), (16, 0, RGB565)]


def dump(bits, order, channels):
    width, height, size = len(PICTURE[0]), len(PICTURE), bits // 8
    line = (width * size + 3) // 4 * 4
    masks = [m for m, _ in channels]
    fields = [105, 7, 2, 24, width, height, 0, order, 32, order, 32, bits, line, 4, *masks, 8, 256, 0,
              width, height, 0, 0, 0]
    pixels = b""
    for row in PICTURE:
        packed = b"".join(sum(c >> (8 - w) << ((m & -m).bit_length() - 1) for c, (m, w) in zip(rgb, channels))
                          .to_bytes(size, "little" if order == 0 else "big") for rgb in row)
        pixels += packed + b"\xAA" * (line - len(packed))
    return struct.pack(">25I", *fields) + b"test\0" + pixels


def png_pixels(data):
    width, height = struct.unpack(">II", data[16:24])
    start = data.index(b"IDAT") + 4
    raw = zlib.decompress(data[start:start + struct.unpack(">I", data[start - 8:start - 4])[0]])
    rows = [raw[y * (1 + 3 * width) + 1:(y + 1) * (1 + 3 * width)] for y in range(height)]
    return [[tuple(r[3 * x:3 * x + 3]) for x in range(width)] for r in rows]


def main():
    wrong = 0
    with tempfile.TemporaryDirectory() as folder:
        src, dst = os.path.join(folder, "in.xwd"), os.path.join(folder, "out.png")
        for bits, order, channels in FORMATS:
            with open(src, "wb") as f:
                f.write(dump(bits, order, channels))
            subprocess.run([sys.executable, SCRIPT, src, dst], check=True)
            with open(dst, "rb") as f:
                got = png_pixels(f.read())
            # What survives a channel of w bits, scaled back to 0..255.
            want = [[tuple((c >> (8 - w)) * 255 // ((1 << w) - 1) for c, (_, w) in zip(rgb, channels)) for rgb in row]
                    for row in PICTURE]
            if got != want:
                wrong += 1
                print(f"{bits} bits, byte order {order}: got {got}, want {want}")
    print(f"{wrong} of {len(FORMATS)} formats wrong")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
