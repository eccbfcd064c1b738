#!/usr/bin/env python3
"""Writes the whole X screen ($DISPLAY) as a PNG, as the screen shows it.

One GetImage of the root window, read through libX11. xwd -root builds its picture window by
window and, on Xvfb, leaves a window that lies over another one black (a message box over the
main window, the splash): its dumps are no evidence of what a user sees.

usage: screenshot.py OUT.png
"""
import ctypes
import ctypes.util
import os
import struct
import sys
import zlib

ALL_PLANES = ctypes.c_ulong(~0 & 0xFFFFFFFFFFFFFFFF)
Z_PIXMAP = 2


class XImage(ctypes.Structure):
    # The leading fields of Xlib's XImage, up to the colour masks.
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_char)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong),
                ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong)]


def grab():
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XDisplayWidth.argtypes = x11.XDisplayHeight.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x11.XGetImage.restype = ctypes.POINTER(XImage)
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                              ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit(f"cannot open display {os.environ.get('DISPLAY', '')!r}")
    width, height = x11.XDisplayWidth(display, 0), x11.XDisplayHeight(display, 0)
    image = x11.XGetImage(display, x11.XDefaultRootWindow(display), 0, 0, width, height, ALL_PLANES, Z_PIXMAP)
    if not image:
        sys.exit("the screen could not be read")
    im = image.contents
    if im.bits_per_pixel != 32:
        sys.exit(f"only 32-bit screens are supported ({im.bits_per_pixel} bits per pixel)")
    raw = ctypes.string_at(im.data, im.bytes_per_line * im.height)
    order = "little" if im.byte_order == 0 else "big"
    rows = []
    for y in range(im.height):
        line = raw[y * im.bytes_per_line:y * im.bytes_per_line + 4 * im.width]
        if order == "little":  # B G R X per pixel
            rgb = bytearray(3 * im.width)
            rgb[0::3], rgb[1::3], rgb[2::3] = line[2::4], line[1::4], line[0::4]
        else:  # X R G B
            rgb = bytearray(3 * im.width)
            rgb[0::3], rgb[1::3], rgb[2::3] = line[1::4], line[2::4], line[3::4]
        rows.append(b"\0" + bytes(rgb))
    return im.width, im.height, rows


def png(width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(b"".join(rows), 6)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    data = png(*grab())
    with open(sys.argv[1] + ".tmp", "wb") as f:
        f.write(data)
    os.replace(sys.argv[1] + ".tmp", sys.argv[1])
