#!/usr/bin/env python3
"""Draws the Kesmaro icon and writes it as a Windows .ico and as PNG files.

The picture: a stack of data sheets (the numbered series), the front one with thin grey rows
and one row picked out in teal; an elbow arrow carries that row down into a smaller sheet, the
consolidated file, whose rows are all picked rows.

Everything is drawn from shapes given as signed distance functions. A pixel well inside or
well outside a shape is settled by one distance; a pixel on an edge is sampled 4 x 4 times.
Sizes below 64 px snap the shapes to whole pixels, and below 24 px a plainer layout drawn for
16 px takes over, so the small images stay sharp. Only the standard library is used, and the
output is the same bytes on every run.

    make-icon.py --ico kesmaro.ico
    make-icon.py --png kesmaro-32.png --size 32 --png kesmaro-48.png --size 48
    make-icon.py --png-dir share/icons
    make-icon.py --list-png-sizes
"""

import argparse
import math
import os
import struct
import sys
import zlib

PNG_DIR_SIZES = (16, 24, 32, 48, 64, 128, 256)

# (size, bits per pixel) of the images in the .ico, in the order they are stored.
ICO_IMAGES = (
    (256, 32), (64, 32), (48, 32), (32, 32), (24, 32), (16, 32),
    (48, 8), (32, 8), (16, 8),
    (48, 4), (32, 4), (16, 4),
)

# The standard Windows 16-colour palette, in its usual order.
WINDOWS_16 = (
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
)

# Colours (straight sRGB).
PAPER = (255, 255, 255)
PAPER_BACK = (226, 231, 236)
EDGE = (112, 124, 138)
ROW = (184, 192, 201)
TEAL = (0, 128, 128)
TEAL_LIGHT = (120, 196, 196)
SHADOW = (20, 30, 40)


# --- shapes --------------------------------------------------------------------------------
# A shape is a function (x, y) -> signed distance in pixels, negative inside.

def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hw, hh = (x1 - x0) / 2, (y1 - y0) / 2
    r = max(0.0, min(r, hw, hh))

    def sdf(x, y):
        qx = abs(x - cx) - hw + r
        qy = abs(y - cy) - hh + r
        ox, oy = max(qx, 0.0), max(qy, 0.0)
        outside = math.sqrt(ox * ox + oy * oy)  # sqrt is exactly rounded everywhere; hypot is not
        return outside + min(max(qx, qy), 0.0) - r
    sdf.bounds = (x0, y0, x1, y1)
    return sdf


def rect(x0, y0, x1, y1):
    return rounded_rect(x0, y0, x1, y1, 0.0)


def polygon(points):
    """A simple polygon; exact distance (after Inigo Quilez)."""
    pts = list(points)
    n = len(pts)

    def sdf(x, y):
        d = (x - pts[0][0]) ** 2 + (y - pts[0][1]) ** 2
        s = 1.0
        j = n - 1
        for i in range(n):
            ax, ay = pts[i]
            bx, by = pts[j]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / (ex * ex + ey * ey)))
            dx, dy = wx - ex * t, wy - ey * t
            d = min(d, dx * dx + dy * dy)
            c1 = y >= ay
            c2 = y < by
            c3 = ex * wy > ey * wx
            if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
                s = -s
            j = i
        return s * math.sqrt(d)
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    sdf.bounds = (min(xs), min(ys), max(xs), max(ys))
    return sdf


def union(*shapes):
    def sdf(x, y):
        return min(s(x, y) for s in shapes)
    sdf.bounds = (min(s.bounds[0] for s in shapes), min(s.bounds[1] for s in shapes),
                  max(s.bounds[2] for s in shapes), max(s.bounds[3] for s in shapes))
    return sdf


# --- rendering -----------------------------------------------------------------------------

SAMPLES = 4  # per axis, on edge pixels
_OFFSETS = [(i + 0.5) / SAMPLES - 0.5 for i in range(SAMPLES)]
_EDGE = 0.75  # beyond this distance (> half a pixel diagonal) a pixel is fully in or out


class Canvas:
    """Premultiplied RGBA in floats, row by row."""

    def __init__(self, size):
        self.size = size
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(size * size)]

    def fill(self, shape, colour, opacity=1.0, blur=0.0):
        """Paints shape over what is there. blur > 0 gives a soft edge that wide (for shadows)."""
        r, g, b = (c / 255.0 for c in colour)
        x0, y0, x1, y1 = shape.bounds
        pad = 1 + blur
        ix0, iy0 = max(0, int(math.floor(x0 - pad))), max(0, int(math.floor(y0 - pad)))
        ix1 = min(self.size, int(math.ceil(x1 + pad)))
        iy1 = min(self.size, int(math.ceil(y1 + pad)))
        for py in range(iy0, iy1):
            for px in range(ix0, ix1):
                cx, cy = px + 0.5, py + 0.5
                d = shape(cx, cy)
                if blur > 0:
                    cover = min(1.0, max(0.0, 0.5 - d / blur))
                elif d >= _EDGE:
                    continue
                elif d <= -_EDGE:
                    cover = 1.0
                else:
                    hits = 0
                    for oy in _OFFSETS:
                        for ox in _OFFSETS:
                            if shape(cx + ox, cy + oy) < 0:
                                hits += 1
                    cover = hits / (SAMPLES * SAMPLES)
                a = cover * opacity
                if a <= 0:
                    continue
                p = self.px[py * self.size + px]
                k = 1.0 - a
                p[0] = r * a + p[0] * k
                p[1] = g * a + p[1] * k
                p[2] = b * a + p[2] * k
                p[3] = a + p[3] * k

    def rgba(self):
        """Rows of straight (r, g, b, a) byte tuples, top row first."""
        rows = []
        for y in range(self.size):
            row = []
            for p in self.px[y * self.size:(y + 1) * self.size]:
                a = p[3]
                if a <= 1e-6:
                    row.append((0, 0, 0, 0))
                    continue
                row.append(tuple(int(round(min(1.0, c / a) * 255)) for c in p[:3])
                           + (int(round(a * 255)),))
            rows.append(row)
        return rows


# --- the drawing ---------------------------------------------------------------------------

def _sheet(canvas, x0, y0, x1, y1, radius, edge, paper, shadow):
    """A sheet of paper: soft shadow, edge line, paper inside."""
    if shadow > 0:
        canvas.fill(rounded_rect(x0 + shadow * 0.3, y0 + shadow * 0.6, x1 + shadow * 0.3,
                                 y1 + shadow * 0.6, radius),
                    SHADOW, opacity=0.28, blur=shadow * 1.5)
    canvas.fill(rounded_rect(x0, y0, x1, y1, radius), EDGE)
    canvas.fill(rounded_rect(x0 + edge, y0 + edge, x1 - edge, y1 - edge,
                             max(0.0, radius - edge)), paper)


def draw(size):
    """Renders the icon at size x size pixels and returns its Canvas."""
    canvas = Canvas(size)
    if size < 24:
        _draw_small(canvas, size / 16.0)
        return canvas

    u = size / 32.0  # the drawing is laid out on a 32-unit grid
    snap_to_pixels = size < 64

    def p(v):
        """Grid units to pixels, on whole pixels for small sizes."""
        v *= u
        return float(math.floor(v + 0.5)) if snap_to_pixels else v

    edge = max(1.0, math.floor(u * 0.75 + 0.5)) if snap_to_pixels else u * 0.75
    shadow = u * 0.9
    radius = u * 1.2

    # The series: a sheet behind, the front sheet with its rows.
    _sheet(canvas, p(7), p(1), p(23), p(22), radius, edge, PAPER_BACK, shadow)
    _sheet(canvas, p(3), p(4), p(19), p(28), radius, edge, PAPER, shadow)

    row_h = max(1.0, p(1)) if snap_to_pixels else u * 1.1
    band = (p(9), p(13))  # the picked row
    left, right = p(6), p(16)
    key_end = p(9)          # first column of a row
    value_start = p(10.5)   # second column
    for gy in (6.5, 15.5, 18.5, 21.5, 24.5):
        y = p(gy)
        if size >= 48:
            canvas.fill(rect(left, y, key_end, y + row_h), ROW)
            canvas.fill(rect(value_start, y, right, y + row_h), ROW)
        else:
            canvas.fill(rect(left, y, right, y + row_h), ROW)

    # The picked row, and the arrow that carries it on: right along the row, then down.
    stem = (p(22.5), p(26))
    mid = (stem[0] + stem[1]) / 2
    head_top = p(16)
    # A 45-degree head whose corners sit on whole pixels when snapped.
    head_half = (stem[1] - stem[0]) / 2 + (max(1.0, math.floor(u * 2 + 0.5))
                                           if snap_to_pixels else u * 2.25)
    arrow = union(
        rect(p(3) + edge, band[0], stem[1], band[1]),
        rect(stem[0], band[0], stem[1], head_top + 0.5),
        polygon([(mid - head_half, head_top), (mid + head_half, head_top),
                 (mid, head_top + head_half)]),
    )
    canvas.fill(arrow, TEAL)
    if size >= 48:
        y = (band[0] + band[1]) / 2 - row_h / 2
        canvas.fill(rect(left, y, key_end, y + row_h), PAPER)
        canvas.fill(rect(value_start, y, right, y + row_h), PAPER)

    # The consolidated file: every row in it is a picked row.
    _sheet(canvas, p(17), p(21), p(31), p(31), radius * 0.8, edge, PAPER, shadow)
    for gy in (23.5, 26.5):
        y = p(gy)
        h = max(1.0, p(1.5)) if snap_to_pixels else u * 1.5
        canvas.fill(rect(p(19.5), y, p(28.5), y + h), TEAL_LIGHT if gy > 24 else TEAL)
    return canvas


def _draw_small(canvas, k):
    """The plain layout for small sizes, drawn pixel by pixel for 16 px (k = size / 16): no
    shadows, three rows, one row in the output sheet, and an arrow head stepped 5, 3, 1 pixels
    wide so that no pixel is half covered."""
    def r(x0, y0, x1, y1):
        return rect(x0 * k, y0 * k, x1 * k, y1 * k)

    def sheet(x0, y0, x1, y1, paper):
        canvas.fill(rounded_rect(x0 * k, y0 * k, x1 * k, y1 * k, k), EDGE)
        canvas.fill(r(x0 + 1, y0 + 1, x1 - 1, y1 - 1), paper)

    sheet(4, 0, 12, 10, PAPER_BACK)
    sheet(1, 2, 10, 15, PAPER)
    for y in (4, 10, 12):
        canvas.fill(r(3, y, 8, y + 1), ROW)
    canvas.fill(union(r(2, 6, 14, 8), r(11, 6, 14, 9), r(10, 8, 15, 9),
                      r(11, 9, 14, 10), r(12, 10, 13, 11)), TEAL)
    sheet(7, 11, 16, 16, PAPER)
    canvas.fill(r(9, 13, 14, 14), TEAL)


# --- PNG -----------------------------------------------------------------------------------

def _chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def encode_png(rows):
    """RGBA rows -> PNG bytes. Each row gets the filter with the smallest sum of residues."""
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    prev = bytes(width * 4)
    for row in rows:
        cur = bytes(c for px in row for c in px)
        best = None
        for kind in range(5):
            out = bytearray([kind])
            for i, x in enumerate(cur):
                a = cur[i - 4] if i >= 4 else 0
                b = prev[i]
                c = prev[i - 4] if i >= 4 else 0
                pred = (0, a, b, (a + b) // 2, _paeth(a, b, c))[kind]
                out.append((x - pred) & 0xFF)
            cost = sum(v if v < 128 else 256 - v for v in out[1:])
            if best is None or cost < best[0]:
                best = (cost, out)
        raw += best[1]
        prev = cur
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", ihdr)
            + _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _chunk(b"IEND", b""))


# --- palettes ------------------------------------------------------------------------------

def _distance(c1, c2):
    """Squared colour distance weighted for the eye ("redmean")."""
    rm = (c1[0] + c2[0]) / 2
    dr, dg, db = c1[0] - c2[0], c1[1] - c2[1], c1[2] - c2[2]
    return (2 + rm / 256) * dr * dr + 4 * dg * dg + (2 + (255 - rm) / 256) * db * db


def nearest(colour, palette):
    return min(range(len(palette)), key=lambda i: (_distance(colour, palette[i]), i))


def adaptive_palette(rows, count=256):
    """Black first (the colour under transparent pixels), then up to count - 1 colours of the
    opaque pixels, reduced by median cut when there are more."""
    colours = sorted({px[:3] for row in rows for px in row if px[3] >= 128})
    boxes = [colours] if colours else []
    while 0 < len(boxes) < count - 1:
        # Split the box with the widest channel range at its median.
        def spread(box):
            return max(max(c[k] for c in box) - min(c[k] for c in box) for k in range(3))
        i = max(range(len(boxes)), key=lambda j: (spread(boxes[j]), -j))
        box = boxes[i]
        if len(box) < 2:
            break
        k = max(range(3), key=lambda ch: max(c[ch] for c in box) - min(c[ch] for c in box))
        box = sorted(box, key=lambda c: (c[k], c))
        half = len(box) // 2
        boxes[i:i + 1] = [box[:half], box[half:]]
    palette = [(0, 0, 0)]
    for box in boxes:
        n = len(box)
        palette.append(tuple(int(round(sum(c[k] for c in box) / n)) for k in range(3)))
    return palette + [(0, 0, 0)] * (count - len(palette))


# --- ICO -----------------------------------------------------------------------------------

def _and_mask(rows):
    """1 bit per pixel, set where the pixel is transparent; rows bottom-up, padded to 4 bytes."""
    size = len(rows)
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, px in enumerate(row):
            if px[3] < 128:
                line[x >> 3] |= 0x80 >> (x & 7)
        out += line
    return out


def encode_dib(rows, bits):
    """An icon image as BITMAPINFOHEADER + palette + XOR bitmap + AND mask."""
    size = len(rows)
    if bits == 32:
        palette = []
        xor = bytearray()
        for row in reversed(rows):
            for r, g, b, a in row:
                xor += bytes((b, g, r, a)) if a else bytes(4)
    else:
        palette = list(WINDOWS_16) if bits == 4 else adaptive_palette(rows)
        cache = {}
        stride = ((size * bits + 31) // 32) * 4
        xor = bytearray()
        for row in reversed(rows):
            line = bytearray(stride)
            for x, px in enumerate(row):
                if px[3] < 128:
                    index = 0  # black under a transparent pixel: the screen shows through
                else:
                    c = px[:3]
                    if c not in cache:
                        cache[c] = nearest(c, palette)
                    index = cache[c]
                if bits == 8:
                    line[x] = index
                else:
                    line[x >> 1] |= index << (0 if x & 1 else 4)
            xor += line
    mask = _and_mask(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(xor) + len(mask), 0, 0, len(palette), 0)
    quads = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    return header + quads + bytes(xor) + bytes(mask)


def encode_ico(images):
    """images: (size, bits, data) in storage order -> .ico bytes."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        dim = 0 if size >= 256 else size
        colours = 16 if bits == 4 else 0
        out += struct.pack("<BBBBHHII", dim, dim, colours, 0, 1, bits, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def build_ico():
    renders = {}
    images = []
    for size, bits in ICO_IMAGES:
        if size not in renders:
            renders[size] = draw(size).rgba()
        rows = renders[size]
        data = encode_png(rows) if size >= 256 else encode_dib(rows, bits)
        images.append((size, bits, data))
    return encode_ico(images)


# --- command line --------------------------------------------------------------------------

def _write(path, data):
    parent = os.path.dirname(path)
    if parent:
        os.makedirs(parent, exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main(argv=None):
    parser = argparse.ArgumentParser(description="Draws the Kesmaro icon.")
    parser.add_argument("--ico", metavar="PATH", help="write the Windows icon here")
    parser.add_argument("--png", metavar="PATH", action="append", default=[],
                        help="write a PNG here; give its --size after it")
    parser.add_argument("--size", metavar="N", type=int, action="append", default=[],
                        help="size in pixels of the PNG named before it")
    parser.add_argument("--png-dir", metavar="DIR",
                        help="write kesmaro-N.png for N in " + ", ".join(map(str, PNG_DIR_SIZES)))
    parser.add_argument("--list-png-sizes", action="store_true",
                        help="print the sizes --png-dir writes, for the build, and stop")
    args = parser.parse_args(argv)

    if args.list_png_sizes:
        print(" ".join(map(str, PNG_DIR_SIZES)))
        return 0

    if len(args.png) != len(args.size):
        parser.error("every --png needs one --size")
    if any(not 1 <= n <= 1024 for n in args.size):
        parser.error("--size must be between 1 and 1024")
    if not (args.ico or args.png or args.png_dir):
        parser.error("nothing to write: give --ico, --png with --size, or --png-dir")

    pngs = list(zip(args.png, args.size))
    if args.png_dir:
        pngs += [(os.path.join(args.png_dir, "kesmaro-%d.png" % n), n) for n in PNG_DIR_SIZES]
    renders = {}
    for path, n in pngs:
        if n not in renders:
            renders[n] = encode_png(draw(n).rgba())
        _write(path, renders[n])
    if args.ico:
        _write(args.ico, build_ico())
    return 0


if __name__ == "__main__":
    sys.exit(main())
