#!/usr/bin/env python3
"""Draws Rimbeacon's pictures and writes them as resource files.

    python3 tools/lib/gen_art.py [output directory]   (default: resources/)
    python3 tools/lib/gen_art.py --hicolor DIR
    python3 tools/lib/gen_art.py --web DIR

Writes background.bmp (369x230, 8-bit palette), rimbeacon.ico (16 to 256 px,
32-bit with alpha, the 256 px image PNG-compressed) and hand.cur (32x32
monochrome, hot spot 0,0). With --hicolor it writes the program icon instead
as DIR/NxN/apps/rimbeacon.png, 16 to 256 px, in the layout of the desktop's
icon theme (the Debian package ships these). With --web it writes the
browser edition's pictures into DIR: background.png, the pixels of
resources/background.bmp as a palette PNG, and the app icons icon-192.png
and icon-512.png. Standard library only, and
deterministic: the same script always writes the same bytes.
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# File formats

def bmp_8bit(width, height, palette, pixels):
    """pixels: rows top to bottom of palette indices."""
    stride = (width + 3) & ~3
    body = bytearray()
    for row in reversed(pixels):
        body += bytes(row) + b"\0" * (stride - width)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(body),
                       2835, 2835, len(palette), 0)
    return header + info + pal + bytes(body)


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png_rgba(size, rgba):
    """rgba: rows top to bottom of (r, g, b, a) tuples."""
    raw = bytearray()
    for row in rgba:
        raw.append(0)
        for px in row:
            raw += bytes(px)
    ihdr = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) +
            png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + png_chunk(b"IEND", b""))


def png_palette(width, height, palette, pixels):
    """pixels: rows top to bottom of palette indices; palette: (r, g, b)."""
    raw = bytearray()
    for row in pixels:
        raw.append(0)
        raw += bytes(row)
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0)
    plte = b"".join(bytes(c) for c in palette)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + png_chunk(b"PLTE", plte) +
            png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + png_chunk(b"IEND", b""))


def read_bmp_8bit(data):
    """The palette and rows (top to bottom) of an 8-bit BMP as bmp_8bit writes it."""
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    colours = struct.unpack_from("<I", data, 46)[0] or 256
    palette = [(data[54 + 4 * i + 2], data[54 + 4 * i + 1], data[54 + 4 * i])
               for i in range(colours)]
    stride = (width + 3) & ~3
    rows = [data[offset + y * stride: offset + y * stride + width] for y in range(height)]
    return width, height, palette, list(reversed(rows))


def dib_rgba(size, rgba):
    """A 32-bit icon image: header, colour rows bottom-up, then the AND mask."""
    colour = bytearray()
    for row in reversed(rgba):
        for (r, g, b, a) in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rgba):
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x >> 3] |= 0x80 >> (x & 7)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                       len(colour) + len(mask), 0, 0, 0, 0)
    return info + bytes(colour) + bytes(mask)


def ico_file(images):
    """images: list of (size, bytes)."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def cur_file(rows, hot_x, hot_y):
    """rows: 32 strings; '#' black, 'o' white, anything else transparent."""
    size = len(rows)
    stride = ((size + 31) // 32) * 4
    xor_bits = bytearray()
    and_bits = bytearray()
    for row in reversed(rows):
        xb = bytearray(stride)
        ab = bytearray(stride)
        for x in range(size):
            ch = row[x] if x < len(row) else "."
            bit = 0x80 >> (x & 7)
            if ch == "o":
                xb[x >> 3] |= bit
            elif ch != "#":
                ab[x >> 3] |= bit
        xor_bits += xb
        and_bits += ab
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0,
                       len(xor_bits) + len(and_bits), 0, 0, 2, 2)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    data = info + palette + bytes(xor_bits) + bytes(and_bits)
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, hot_x, hot_y, len(data), 6 + 16)
    return header + entry + data

# ---------------------------------------------------------------------------
# Drawing helpers

def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def smooth_band(d, lo, hi, soft):
    """1 inside [lo, hi], falling off linearly over `soft` on either side."""
    return clamp01(min(d - lo, hi - d) / soft + 0.5)

# ---------------------------------------------------------------------------
# Background: a pale blue-violet spoked wheel with its tyre, brightest at the
# left, where the dialog's labels and edits sit.

BG_W, BG_H = 369, 230
# The lightest and the deepest tone of the picture. The deepest stays light
# enough for the grey (100,100,100) and red outlines and the dark texts.
BG_LIGHT = (250, 250, 255)
BG_DEEP = (166, 160, 214)
WHEEL_CX, WHEEL_CY = 258.0, 122.0
TYRE_OUT, TYRE_IN = 150.0, 112.0
RIM_OUT, RIM_IN = 112.0, 98.0
HUB_R, CAP_R = 26.0, 12.0
SPOKES = 5


def wheel_tone(x, y):
    """Depth of the picture at a point, 0 (background) to 1 (deepest)."""
    dx, dy = x - WHEEL_CX, y - WHEEL_CY
    r = math.hypot(dx, dy)
    ang = math.atan2(dy, dx)
    soft = 0.9
    tone = 0.0
    # Tyre with a tread of shallow blocks around its outer part.
    tyre = smooth_band(r, TYRE_IN, TYRE_OUT, soft)
    if tyre > 0.0:
        tread = 0.0
        if r > TYRE_OUT - 12.0:
            tread = 0.12 if math.sin(ang * 72.0) > 0.0 else 0.0
        sidewall = 0.08 * math.cos((r - TYRE_IN) / (TYRE_OUT - TYRE_IN) * math.pi)
        tone = max(tone, tyre * (0.62 + tread - sidewall))
    # Rim: a band with a bright lip and a darker bead seat.
    rim = smooth_band(r, RIM_IN, RIM_OUT, soft)
    if rim > 0.0:
        t = (r - RIM_IN) / (RIM_OUT - RIM_IN)
        tone = max(tone, rim * (0.30 + 0.25 * t))
    # Spokes: pairs of tapering arms from hub to rim.
    if HUB_R - 2.0 < r < RIM_IN + 1.0:
        best = 0.0
        for k in range(SPOKES):
            for split in (-0.10, 0.10):
                a0 = -math.pi / 2 + k * 2 * math.pi / SPOKES
                # The two arms of a pair meet at the hub and part at the rim.
                a = a0 + split * (r - HUB_R) / (RIM_IN - HUB_R)
                d = abs(math.remainder(ang - a, 2 * math.pi)) * r
                half = 5.0 - 2.5 * (r - HUB_R) / (RIM_IN - HUB_R)
                best = max(best, smooth_band(d, -half, half, soft))
        tone = max(tone, best * 0.45)
    # Hub and centre cap with lug holes.
    hub = smooth_band(r, -1.0, HUB_R, soft)
    if hub > 0.0:
        t = 0.50
        if r < CAP_R:
            t = 0.30
        else:
            for k in range(SPOKES):
                a = -math.pi / 2 + (k + 0.5) * 2 * math.pi / SPOKES
                hx = WHEEL_CX + 19.0 * math.cos(a)
                hy = WHEEL_CY + 19.0 * math.sin(a)
                if math.hypot(x - hx, y - hy) < 3.2:
                    t = 0.68
        tone = max(tone, hub * t)
    return tone


def background():
    palette = []
    for i in range(256):
        t = i / 255.0
        palette.append(tuple(round(BG_LIGHT[c] + (BG_DEEP[c] - BG_LIGHT[c]) * t)
                             for c in range(3)))
    samples = ((0.25, 0.25), (0.75, 0.25), (0.25, 0.75), (0.75, 0.75))
    pixels = []
    for y in range(BG_H):
        row = []
        for x in range(BG_W):
            tone = sum(wheel_tone(x + sx, y + sy) for sx, sy in samples) / 4.0
            # Brightest at the left: the picture fades in from left to right,
            # over a faint wash that deepens the same way.
            fade = 0.15 + 0.85 * (x / (BG_W - 1)) ** 1.4
            wash = 0.10 * (x / (BG_W - 1)) + 0.04 * (y / (BG_H - 1))
            t = clamp01(wash + tone * fade)
            row.append(round(t * 255))
        pixels.append(row)
    return bmp_8bit(BG_W, BG_H, palette, pixels)

# ---------------------------------------------------------------------------
# Icon: a dark-violet disc in a pale lavender ring with a white curved mark,
# transparent outside the circle.

ICON_SIZES = (16, 24, 32, 48, 64, 256)
RING = (216, 204, 242)
DISC = (74, 36, 118)
MARK = (255, 255, 255)


def icon_sample(u, v):
    """Colour and coverage at (u, v) in the unit square; None outside."""
    dx, dy = u - 0.5, v - 0.5
    r = math.hypot(dx, dy)
    if r > 0.5:
        return None
    if r > 0.37:
        return RING
    # The mark: a thick arc like a beam sweeping over the wheel, with round ends.
    mx, my = 0.5, 0.71
    mr = math.hypot(u - mx, v - my)
    ang = math.degrees(math.atan2(v - my, u - mx))
    start, end, radius, half = -160.0, -20.0, 0.27, 0.055
    if start <= ang <= end and abs(mr - radius) <= half:
        return MARK
    for a in (start, end):
        ex = mx + radius * math.cos(math.radians(a))
        ey = my + radius * math.sin(math.radians(a))
        if math.hypot(u - ex, v - ey) <= half:
            return MARK
    # A small beacon dot under the arc.
    if math.hypot(u - 0.5, v - 0.63) <= 0.07:
        return MARK
    return DISC


def icon_image(size):
    n = 8 if size < 64 else 4
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    c = icon_sample((x + (sx + 0.5) / n) / size, (y + (sy + 0.5) / n) / size)
                    if c is not None:
                        hits += 1
                        for i in range(3):
                            acc[i] += c[i]
            if hits == 0:
                row.append((0, 0, 0, 0))
            else:
                a = round(255 * hits / (n * n))
                row.append(tuple(round(acc[i] / hits) for i in range(3)) + (a,))
        rows.append(row)
    return rows


def icon():
    images = []
    for size in ICON_SIZES:
        rgba = icon_image(size)
        images.append((size, png_rgba(size, rgba) if size >= 256 else dib_rgba(size, rgba)))
    return ico_file(images)

# ---------------------------------------------------------------------------
# Cursor: a pointing hand, index finger up. The hot spot is the top-left
# pixel; the fingertip is a few pixels to its right.

HAND = [
    ".....##.........................",
    "....#oo#........................",
    "....#oo#........................",
    "....#oo#........................",
    "....#oo#........................",
    "....#oo###......................",
    "....#oo#oo###...................",
    "....#oo#oo#oo##.................",
    "....#oo#oo#oo#o#................",
    ".##.#oo#oo#oo#oo#...............",
    "#oo##oooooooooooo#..............",
    "#ooo#oooooooooooo#..............",
    ".#oo#oooooooooooo#..............",
    "..#oooooooooooooo#..............",
    "..#ooooooooooooo#...............",
    "...#oooooooooooo#...............",
    "...#ooooooooooo#................",
    "....#oooooooooo#................",
    "....#oooooooooo#................",
    ".....#oooooooo#.................",
    ".....#oooooooo#.................",
    ".....##########.................",
] + ["." * 32] * 10


HICOLOR_SIZES = (16, 24, 32, 48, 64, 128, 256)


def hicolor(out):
    for size in HICOLOR_SIZES:
        folder = os.path.join(out, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "rimbeacon.png"), "wb") as f:
            f.write(png_rgba(size, icon_image(size)))


WEB_ICON_SIZES = (192, 512)


def web(out):
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "..", "..", "resources", "background.bmp"), "rb") as f:
        width, height, palette, rows = read_bmp_8bit(f.read())
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "background.png"), "wb") as f:
        f.write(png_palette(width, height, palette, rows))
    for size in WEB_ICON_SIZES:
        with open(os.path.join(out, "icon-%d.png" % size), "wb") as f:
            f.write(png_rgba(size, icon_image(size)))


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--hicolor":
        hicolor(sys.argv[2])
        return
    if len(sys.argv) == 3 and sys.argv[1] == "--web":
        web(sys.argv[2])
        return
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "resources")
    files = {
        "background.bmp": background(),
        "rimbeacon.ico": icon(),
        "hand.cur": cur_file(HAND, 0, 0),
    }
    for name, data in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
