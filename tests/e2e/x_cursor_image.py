#!/usr/bin/env python3
"""Writes the pointer image the X display shows right now (XFixes), for the
about box test: Wine gives a test process no access to the bits of another
process's cursor, but it hands every cursor to the X server, which can say
what it shows.

    x_cursor_image.py OUTPUT

OUTPUT gets "width height xhot yhot" on its first line, then one line per
row, one character per pixel: '.' transparent, 'K' opaque black, 'W' opaque
white, '?' anything else. It is written under another name and renamed, so a
reader never sees half of it.
"""
import ctypes
import ctypes.util
import os
import sys


class XFixesCursorImage(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_short),
        ("y", ctypes.c_short),
        ("width", ctypes.c_ushort),
        ("height", ctypes.c_ushort),
        ("xhot", ctypes.c_ushort),
        ("yhot", ctypes.c_ushort),
        ("cursor_serial", ctypes.c_ulong),
        ("pixels", ctypes.POINTER(ctypes.c_ulong)),
        ("atom", ctypes.c_ulong),
        ("name", ctypes.c_char_p),
    ]


def pixel_char(argb):
    argb &= 0xFFFFFFFF
    if argb >> 24 == 0:
        return "."
    if argb == 0xFF000000:
        return "K"
    if argb == 0xFFFFFFFF:
        return "W"
    return "?"


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: x_cursor_image.py OUTPUT\n")
        return 2
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XFree.argtypes = [ctypes.c_void_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(XFixesCursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]

    display = x11.XOpenDisplay(None)
    if not display:
        sys.stderr.write("x_cursor_image.py: no X display\n")
        return 1
    image_ptr = xfixes.XFixesGetCursorImage(display)
    if not image_ptr:
        x11.XCloseDisplay(display)
        sys.stderr.write("x_cursor_image.py: no cursor image\n")
        return 1
    image = image_ptr.contents
    lines = ["%d %d %d %d" % (image.width, image.height, image.xhot, image.yhot)]
    for y in range(image.height):
        row = image.pixels[y * image.width:(y + 1) * image.width]
        lines.append("".join(pixel_char(p) for p in row))
    x11.XFree(image_ptr)
    x11.XCloseDisplay(display)

    output = sys.argv[1]
    partial = output + ".part"
    with open(partial, "w") as f:
        f.write("\n".join(lines) + "\n")
    os.replace(partial, output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
