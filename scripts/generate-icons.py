#!/usr/bin/env python3
"""Draws the program's two window icons into data/ (16, 32 and 48 pixels, 32-bit, in one .ico).

icon1.ico  linked to the simulator: a white aircraft on a dark disc in a lime ring
icon2.ico  not linked: the same aircraft in a red ring, struck through

Each pixel is sampled 4 x 4 times for smooth edges. The output is the same on every run.
"""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data")
SIZES = (16, 32, 48)
SUB = 4


def mirror(poly):
    return [(-x, y) for x, y in reversed(poly)]


# Aircraft seen from above in [-1, 1] (y grows downwards, nose up).
WING = [(0.06, -0.12), (0.78, 0.16), (0.78, 0.28), (0.06, 0.14)]
TAIL = [(0.05, 0.48), (0.32, 0.66), (0.32, 0.74), (0.05, 0.64)]
SHAPES = [WING, mirror(WING), TAIL, mirror(TAIL)]


def inside(poly, x, y):
    hit = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def aircraft(x, y):
    # Fuselage: a capsule from the nose to the tail cone.
    if abs(x) <= 0.085 and -0.62 <= y <= 0.72:
        return True
    if x * x + (y + 0.62) ** 2 <= 0.085 ** 2:
        return True
    return any(inside(p, x, y) for p in SHAPES)


def colour_at(x, y, ring, struck):
    r = math.hypot(x, y)
    if r > 1.0:
        return None
    if r > 0.82:
        return ring
    if struck and abs(x + y) / math.sqrt(2) < 0.09 and r < 0.82:
        return ring
    if aircraft(x / 0.8, y / 0.8):
        return (255, 255, 255)
    return (28, 35, 41)


def render(size, ring, struck):
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            covered = 0
            for sy in range(SUB):
                for sx in range(SUB):
                    x = ((px + (sx + 0.5) / SUB) / size) * 2 - 1
                    y = ((py + (sy + 0.5) / SUB) / size) * 2 - 1
                    c = colour_at(x, y, ring, struck)
                    if c:
                        covered += 1
                        for k in range(3):
                            acc[k] += c[k]
            if covered:
                row.append(tuple(round(a / covered) for a in acc) + (round(255 * covered / SUB / SUB),))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def bmp_entry(pixels):
    size = len(pixels)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(struct.pack("BBBB", b, g, r, a) for row in reversed(pixels) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    and_mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_mask += bits
    return header + xor + bytes(and_mask)


def write_ico(name, ring, struck):
    images = [bmp_entry(render(s, ring, struck)) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(out + b"".join(images))


def main():
    write_ico("icon1.ico", (0, 255, 0), False)
    write_ico("icon2.ico", (255, 0, 0), True)


if __name__ == "__main__":
    main()
