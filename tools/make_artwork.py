#!/usr/bin/env python3
"""Draw Pelmira's artwork and write it to res/art/.

Pictures:
  pelmira.ico      application icon: a monitor showing rainbow stripes with a
                   green tick; 256..16 px at 32 bpp, 48/32/16 px at 8 bpp;
                   the 256 px image stored PNG-compressed, as Vista and later
                   read it
  logo.bmp         40x135 About-box strip: the monitor plus "Pelmira" set
                   vertically like a book spine
  adapter.bmp      16x16 display adapter card (tree view)
  monitor.bmp      16x16 monitor (tree view)
  cross.bmp        32x32 red X (premultiplied alpha, for AlphaBlend)
  arrow_right.bmp  32x32 blue arrows (premultiplied alpha)
  arrow_left.bmp

Everything is drawn from simple shapes by a tiny supersampling rasteriser,
or, for the smallest pictures, from hand-made pixel maps.  Only the
standard library is used and the output is the same bytes on every run.

Run from the repository root:  python3 tools/make_artwork.py
"""
import math
import os
import struct
import zlib

OUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res", "art")


# ---------------------------------------------------------------- shapes
# Each shape has a bounding box (x0, y0, x1, y1) and an inside(x, y) test.
# Coordinates are in pixels, y pointing down; pixel (i, j) spans [i, i+1).

def _seg_dist2(px, py, ax, ay, bx, by):
    """Squared distance from point p to segment ab."""
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / ll))
    ex, ey = ax + t * dx - px, ay + t * dy - py
    return ex * ex + ey * ey


class Rect:
    def __init__(self, x0, y0, x1, y1):
        self.bbox = (x0, y0, x1, y1)

    def inside(self, x, y):
        x0, y0, x1, y1 = self.bbox
        return x0 <= x < x1 and y0 <= y < y1


class RoundRect:
    def __init__(self, x0, y0, x1, y1, r):
        self.bbox, self.r = (x0, y0, x1, y1), r

    def inside(self, x, y):
        x0, y0, x1, y1 = self.bbox
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        r = self.r
        cx = min(max(x, x0 + r), x1 - r)      # nearest point of the inner rectangle
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


class Ellipse:
    def __init__(self, cx, cy, rx, ry):
        self.c, self.rad = (cx, cy), (rx, ry)
        self.bbox = (cx - rx, cy - ry, cx + rx, cy + ry)

    def inside(self, x, y):
        return ((x - self.c[0]) / self.rad[0]) ** 2 + ((y - self.c[1]) / self.rad[1]) ** 2 <= 1.0


class Polygon:
    """Even-odd polygon, optionally grown by `grow` pixels (rounded corners)."""

    def __init__(self, pts, grow=0.0):
        self.pts, self.grow = pts, grow
        xs, ys = [p[0] for p in pts], [p[1] for p in pts]
        self.bbox = (min(xs) - grow, min(ys) - grow, max(xs) + grow, max(ys) + grow)
        self.edges = list(zip(pts, pts[1:] + pts[:1]))

    def inside(self, x, y):
        hit = False
        for (ax, ay), (bx, by) in self.edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                hit = not hit
        if hit or self.grow <= 0:
            return hit
        g2 = self.grow * self.grow
        return any(_seg_dist2(x, y, ax, ay, bx, by) <= g2 for (ax, ay), (bx, by) in self.edges)


class Strokes:
    """Polylines stroked with round caps and joins."""

    def __init__(self, lines, width):
        self.segs = []
        for line in lines:                     # a lone point makes a round dot
            self.segs += list(zip(line, line[1:])) if len(line) > 1 else [(line[0], line[0])]
        self.r2 = (width / 2.0) ** 2
        h = width / 2.0
        pts = [p for line in lines for p in line]
        self.bbox = (min(p[0] for p in pts) - h, min(p[1] for p in pts) - h,
                     max(p[0] for p in pts) + h, max(p[1] for p in pts) + h)

    def inside(self, x, y):
        r2 = self.r2
        return any(_seg_dist2(x, y, a[0], a[1], b[0], b[1]) <= r2 for a, b in self.segs)


def arc(cx, cy, rx, ry, a0, a1, n=12):
    """Points along an elliptical arc in y-up glyph space; angles in degrees,
    anticlockwise from +x."""
    return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / n)),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / n))) for i in range(n + 1)]


# ------------------------------------------------------------ rasteriser
# A layer is (shape, paint, opacity); paint is an (r, g, b) tuple or a
# function (x, y) -> (r, g, b).  Layers are listed bottom to top.

def vgrad(top, bottom, y0, y1):
    """Paint that blends from `top` at y0 to `bottom` at y1."""
    def paint(x, y):
        t = min(1.0, max(0.0, (y - y0) / float(y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return paint


def render(w, h, layers, ss=6):
    """Rasterise layers into straight-alpha (r, g, b, a) ints, rows top-down.

    Each pixel is sampled on an ss x ss grid; samples are averaged with
    premultiplied colour so that edges do not pick up dark fringes."""
    offs = [(i + 0.5) / ss for i in range(ss)]
    n = float(ss * ss)
    out = []
    for py in range(h):
        row_layers = [l for l in layers if l[0].bbox[1] < py + 1 and l[0].bbox[3] > py]
        for px in range(w):
            cand = [l for l in reversed(row_layers) if l[0].bbox[0] < px + 1 and l[0].bbox[2] > px]
            if not cand:
                out.append((0, 0, 0, 0))
                continue
            sr = sg = sb = sa = 0.0
            for oy in offs:
                y = py + oy
                for ox in offs:
                    x = px + ox
                    keep = 1.0                 # light still passing through, top-down
                    for shape, paint, alpha in cand:
                        if shape.inside(x, y):
                            c = paint(x, y) if callable(paint) else paint
                            k = keep * alpha
                            sr += k * c[0]; sg += k * c[1]; sb += k * c[2]; sa += k
                            keep -= k
                            if keep <= 0.0:
                                break
            if sa <= 0.0:
                out.append((0, 0, 0, 0))
            else:
                out.append((_c8(sr / sa), _c8(sg / sa), _c8(sb / sa), _c8(255.0 * sa / n)))
    return out


def _c8(v):
    return max(0, min(255, int(math.floor(v + 0.5))))


def from_map(rows, palette):
    """Pixels from a character map; '.' is transparent."""
    out = []
    for row in rows:
        assert len(row) == len(rows[0]), row
        for ch in row:
            out.append((0, 0, 0, 0) if ch == "." else tuple(palette[ch]) + (255,))
    return out


def paste_over(dst, dw, src, sw, ox, oy):
    """Composite straight-alpha src onto opaque dst at (ox, oy)."""
    for i, (r, g, b, a) in enumerate(src):
        d = (oy + i // sw) * dw + ox + i % sw
        dr, dg, db, _ = dst[d]
        t = a / 255.0
        dst[d] = (_c8(dr + (r - dr) * t), _c8(dg + (g - dg) * t), _c8(db + (b - db) * t), 255)


# --------------------------------------------------------------- colours
RAINBOW7 = [(232, 38, 38), (250, 140, 28), (250, 218, 36), (58, 186, 64),
            (36, 196, 222), (40, 88, 228), (142, 60, 206)]
RAINBOW6 = [(232, 38, 38), (250, 212, 32), (58, 186, 64),
            (36, 196, 222), (40, 88, 228), (150, 60, 206)]
BEZEL_TOP, BEZEL_BOTTOM = (70, 76, 88), (30, 33, 40)
STAND_TOP, STAND_BOTTOM = (92, 98, 110), (40, 44, 52)
TICK_LIGHT, TICK_DARK, TICK_EDGE = (110, 222, 96), (30, 150, 50), (18, 70, 28)
WHITE = (255, 255, 255)


# ------------------------------------------------------------ the monitor
# Layout of the big picture, in units of 1/256 of the icon.
BIG = dict(unit=256, bezel=(10, 24, 246, 192), radius=14,
           screen=(24, 38, 232, 178), stripes=RAINBOW7,
           neck=[(112, 192), (144, 192), (150, 222), (106, 222)],
           foot=(70, 218, 186, 236), foot_radius=8,
           tick=[(128, 162), (164, 198), (230, 116)], tick_w=30,
           white_w=14, edge_w=8, gloss=True)

# The 32 px picture has its own grid: six 4-pixel stripes, 2 px bezel.
SMALL32 = dict(unit=32, bezel=(2, 3, 30, 23), radius=1.5,
               screen=(4, 5, 28, 21), stripes=RAINBOW6,
               neck=[(14, 23), (18, 23), (18, 26), (14, 26)],
               foot=(10, 26, 22, 28), foot_radius=1,
               tick=[(16.5, 19.5), (20.5, 23.5), (28, 14.5)], tick_w=3.8,
               white_w=2.2, edge_w=1.4, gloss=False)


def monitor_layers(L, size):
    """Layers for the monitor picture `L`, scaled to `size` pixels.

    Every rectangle edge and stripe boundary is snapped to a whole pixel, so
    the bezel and stripes stay sharp; only curves and diagonals are smoothed."""
    s = size / float(L["unit"])
    snap = lambda v: math.floor(v * s + 0.5)
    bx0, by0, bx1, by1 = [snap(v) for v in L["bezel"]]
    sx0, sy0, sx1, sy1 = [snap(v) for v in L["screen"]]
    fx0, fy0, fx1, fy1 = [snap(v) for v in L["foot"]]
    layers = [
        (Polygon([(x * s, y * s) for x, y in L["neck"]]), vgrad(STAND_TOP, STAND_BOTTOM, by1, fy0), 1.0),
        (RoundRect(fx0, fy0, fx1, fy1, L["foot_radius"] * s), vgrad(STAND_TOP, STAND_BOTTOM, fy0, fy1), 1.0),
        (RoundRect(bx0, by0, bx1, by1, L["radius"] * s), vgrad(BEZEL_TOP, BEZEL_BOTTOM, by0, by1), 1.0),
    ]
    cols = L["stripes"]
    edges = [sx0 + (sx1 - sx0) * i / float(len(cols)) for i in range(len(cols) + 1)]
    edges = [math.floor(e + 0.5) for e in edges]
    for c, x0, x1 in zip(cols, edges, edges[1:]):
        # a touch lighter at the top of the screen, a touch darker at the bottom
        light = tuple(min(255, v + 26) for v in c)
        dark = tuple(v * 0.86 for v in c)
        layers.append((Rect(x0, sy0, x1, sy1), vgrad(light, dark, sy0, sy1), 1.0))
    if L["gloss"]:
        # a faint diagonal reflection across the upper left of the glass
        w, h = sx1 - sx0, sy1 - sy0
        layers.append((Polygon([(sx0, sy0), (sx0 + w * 0.58, sy0), (sx0, sy0 + h * 0.80)]), WHITE, 0.14))
    # the tick: a dark green edge, a white rim, then the green stroke itself
    pts = [(x * s, y * s) for x, y in L["tick"]]
    tw, ww, ew = L["tick_w"] * s, L["white_w"] * s, L["edge_w"] * s
    layers.append((Strokes([pts], tw + ww + ew), TICK_EDGE, 1.0))
    layers.append((Strokes([pts], tw + ww), WHITE, 1.0))
    ty0, ty1 = min(p[1] for p in pts), max(p[1] for p in pts)
    layers.append((Strokes([pts], tw), vgrad(TICK_LIGHT, TICK_DARK, ty0, ty1), 1.0))
    return layers


# The 16 px icon is drawn pixel by pixel: a 1 px bezel, six 2-pixel stripes
# and a bold tick of 3-pixel steps with a white rim and a lit upper edge.
ICON16 = [
    "................",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kRRYYGGCCBBVVk.",
    ".KRRYYGGCCBBVVK.",
    ".KRRYYGGCCBBVVK.",
    ".KRRYYGGCCBBVwww",
    ".KRRYYGGCCBBwwtt",
    ".KRRYYwwwwBwwtgg",
    ".KRRYYwttwwwtggw",
    ".KKKKKwggtwtggww",
    "......wwggtggww.",
    "....SSSwwgggww..",
    "........wwgww...",
    ".........www....",
    "................",
]
ICON16_PALETTE = {
    "k": (66, 72, 84), "K": (36, 40, 48), "S": (92, 98, 110),
    "R": RAINBOW6[0], "Y": RAINBOW6[1], "G": RAINBOW6[2],
    "C": RAINBOW6[3], "B": RAINBOW6[4], "V": RAINBOW6[5],
    "w": WHITE, "t": TICK_LIGHT, "g": TICK_DARK,
}


def icon_pixels(size):
    if size == 16:
        return from_map(ICON16, ICON16_PALETTE)
    if size == 32:
        return render(32, 32, monitor_layers(SMALL32, 32), ss=8)
    return render(size, size, monitor_layers(BIG, size), ss=8 if size <= 64 else 4)


# ------------------------------------------------------- small pixel art
ADAPTER16 = [
    "................",
    "................",
    "mmm.............",
    "MmPPPPPPPPPPPPPe",
    ".mPPPPddddPPPPPe",
    ".mPPPdFffFdPccPe",
    ".mPPdfFFfffdccPe",
    ".mPPdffhhFFdPPPe",
    ".mPPdFFhhffdPhPe",
    ".mPPdfffFFfdPhPe",
    ".MPPPdFffFdPPPPe",
    ".MPPPPddddPPPPPe",
    ".MeeeeeeeeeeeeeE",
    ".M..yeyeyeyey...",
    ".M..YEYEYEYEY...",
    "................",
]
ADAPTER16_PALETTE = {
    "m": (200, 206, 214), "M": (140, 146, 156),     # bracket, light and shaded
    "P": (34, 140, 66), "e": (20, 96, 44), "E": (14, 70, 32),   # circuit board
    "y": (240, 196, 64), "Y": (196, 150, 40),       # gold contact fingers
    "d": (40, 42, 48),                               # fan housing
    "f": (96, 100, 110), "F": (70, 74, 82), "h": (170, 176, 186),  # fan blades, hub
    "c": (24, 26, 30),                               # memory chip
}

MONITOR16 = [
    "................",
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kLLLLLLLLLLLlK.",
    ".kLLLLLLLLLLlbK.",
    ".KLLLLLLLLLlbbK.",
    ".KLLLLLLLLlbbbK.",
    ".KlllllllllbbbK.",
    ".KbbbbbbbbbbbbK.",
    ".KbbbbbbbbbbbbK.",
    ".KKKKKKKKKKKKKK.",
    "......ssss......",
    "....SSSSSSSS....",
    "....ssssssss....",
    "................",
    "................",
]
MONITOR16_PALETTE = {
    "k": (66, 72, 84), "K": (36, 40, 48), "S": (110, 116, 126), "s": (58, 64, 74),
    "L": (96, 160, 240), "l": (64, 128, 226), "b": (34, 84, 190),
}


# ---------------------------------------------------------- 32 px symbols
def cross_layers():
    a, b = 7.5, 24.5
    lines = [[(a, a), (b, b)], [(b, a), (a, b)]]
    return [(Strokes(lines, 8.4), (150, 18, 18), 1.0),
            (Strokes(lines, 6.2), vgrad((246, 78, 66), (200, 28, 28), a, b), 1.0)]


def arrow_layers():
    pts = [(4, 12), (17, 12), (17, 5), (28, 16), (17, 27), (17, 20), (4, 20)]
    return [(Polygon(pts, grow=1.0), (18, 52, 140), 1.0),
            (Polygon(pts), vgrad((96, 160, 246), (30, 90, 210), 6, 26), 1.0)]


def mirrored(pixels, w, h):
    """The picture flipped left to right, pixel for pixel."""
    return [pixels[y * w + (w - 1 - x)] for y in range(h) for x in range(w)]


# ------------------------------------------------------------------ logo
# A stroke font for "Pelmira".  Glyph units: baseline y = 0, x-height 7,
# cap height 10, y up.  Each glyph is (advance, list of polylines).
def _glyphs():
    bowl_p = [(0, 10), (3.4, 10)] + arc(3.4, 7.6, 2.6, 2.4, 90, -90, 10)[1:] + [(0, 5.2)]
    e = [(0.4, 3.6), (5.8, 3.6)] + arc(3.1, 3.6, 2.7, 3.5, 0, 315, 20)[1:]
    m_arch = lambda x0: [(x0, 4.6)] + arc(x0 + 2.2, 4.8, 2.2, 2.2, 170, 0, 8)[1:] + [(x0 + 4.4, 0)]
    return {
        "P": (7.5, [[(0, 0), (0, 10)], bowl_p]),
        "e": (7.4, [e]),
        "l": (2.6, [[(0, 0), (0, 10.6)]]),
        "m": (11.4, [[(0, 0), (0, 7)], m_arch(0), m_arch(4.4)]),
        "i": (2.6, [[(0, 0), (0, 7)], [(0, 9.6)]]),
        "r": (5.2, [[(0, 0), (0, 7)], [(0, 4.2)] + arc(2.6, 4.4, 2.6, 2.6, 170, 60, 6)[1:]]),
        "a": (6.6, [arc(2.7, 3.5, 2.7, 3.5, 0, 360, 24), [(5.4, 7), (5.4, 0)]]),
    }


def text_layers(text, x_base, y_start, scale, weight, colour):
    """Stroke `text` turned 90 degrees anticlockwise: it reads upwards from
    y_start, tops of the letters to the left, baseline along x = x_base."""
    glyphs = _glyphs()
    pen, lines = 0.0, []
    for ch in text:
        adv, polys = glyphs[ch]
        for poly in polys:
            # glyph (gx, gy) -> image: along the text goes up, glyph-up goes left
            lines.append([(x_base - gy * scale, y_start - (pen + gx) * scale) for gx, gy in poly])
        pen += adv
    return [(Strokes(lines, weight * scale), colour, 1.0)]


def logo_pixels():
    """White strip: the monitor at the top, the name running up below it."""
    w, h = 40, 135
    px = [(255, 255, 255, 255)] * (w * h)
    paste_over(px, w, render(36, 36, monitor_layers(BIG, 36), ss=8), 36, 2, 3)
    name, scale, gap = "Pelmira", 1.75, 1.8       # gap: spacing after the last letter
    glyphs = _glyphs()
    length = (sum(glyphs[c][0] for c in name) - gap) * scale
    middle = (44 + h - 6) / 2.0                    # between the picture and the bottom
    layers = text_layers(name, 28.5, middle + length / 2, scale, 1.25, (34, 38, 46))
    paste_over(px, w, render(w, h, layers, ss=6), w, 0, 0)
    return px


# --------------------------------------------------------------- writers
def bmp_bytes(w, h, pixels, bpp, premultiply=False):
    """A BMP file (BITMAPFILEHEADER + BITMAPINFOHEADER, BI_RGB, bottom-up)."""
    stride = (w * bpp // 8 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for r, g, b, a in pixels[y * w:(y + 1) * w]:
            if bpp == 24:
                row += bytes((b, g, r))
            elif a == 0:
                row += b"\0\0\0\0"
            else:
                if premultiply:
                    r, g, b = (_c8(v * a / 255.0) for v in (r, g, b))
                row += bytes((b, g, r, a))
        data += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bpp, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    return head + info + bytes(data)


def and_mask(size, pixels, transparent):
    """1-bpp mask, bottom-up, rows padded to 32 bits; 1 = transparent."""
    stride = (size + 31) // 32 * 4
    out = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(stride)
        for x in range(size):
            if transparent(pixels[y * size + x]):
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def ico_dib32(size, pixels):
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for r, g, b, a in pixels[y * size:(y + 1) * size]:
            xor += bytes((b, g, r, a)) if a else b"\0\0\0\0"
    mask = and_mask(size, pixels, lambda p: p[3] == 0)
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + mask


def ico_png(size, pixels):
    """A PNG image (8-bit RGBA, not premultiplied), each row filtered by its
    left neighbour, with fully transparent pixels stored as zero."""
    raw = bytearray()
    for y in range(size):
        row = [v for p in pixels[y * size:(y + 1) * size] for v in (p if p[3] else (0, 0, 0, 0))]
        raw.append(1)                          # filter type Sub
        raw += bytes((row[i] - (row[i - 4] if i >= 4 else 0)) & 0xFF for i in range(len(row)))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def make_palette():
    """256 colours: the 6x6x6 colour cube, then the picture's own colours
    (each stripe at three shades, bezel, tick) and greys to fill up.
    Entry 0 is black."""
    pal = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    extra = []
    for c in RAINBOW7 + RAINBOW6:
        extra += [tuple(min(255, v + 20) for v in c), c, tuple(_c8(v * 0.9) for v in c)]
    extra += [BEZEL_TOP, BEZEL_BOTTOM, STAND_TOP, STAND_BOTTOM, TICK_LIGHT, TICK_DARK, TICK_EDGE]
    for c in extra:
        if c not in pal:
            pal.append(c)
    level = 12
    while len(pal) < 256:                      # greys between the cube's own
        if level % 51:
            pal.append((level, level, level))
        level += 23
    return pal


def quantise(pixels, pal):
    """Nearest palette index for each pixel (weighted RGB distance)."""
    cache, out = {}, []
    for r, g, b, a in pixels:
        if a < 128:
            out.append(0)
            continue
        if (r, g, b) not in cache:
            cache[(r, g, b)] = min(range(len(pal)), key=lambda i: 3 * (pal[i][0] - r) ** 2 +
                                   4 * (pal[i][1] - g) ** 2 + 2 * (pal[i][2] - b) ** 2)
        out.append(cache[(r, g, b)])
    return out


def ico_dib8(size, pixels, pal):
    idx = quantise(pixels, pal)
    stride = (size + 3) & ~3
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        xor += bytes(idx[y * size:(y + 1) * size]) + b"\0" * (stride - size)
    mask = and_mask(size, pixels, lambda p: p[3] < 128)
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 8, 0, len(xor) + len(mask), 0, 0, 0, 0)
    quads = b"".join(bytes((b, g, r, 0)) for r, g, b in pal)
    return info + quads + bytes(xor) + mask


def ico_bytes(images):
    """ICO file from (size, bpp, dib bytes) entries, kept in the given order."""
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for size, bpp, dib in images:
        dim = size if size < 256 else 0        # 0 stands for 256
        entries += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, bpp, len(dib), offset)
        blobs += dib
        offset += len(dib)
    return head + entries + blobs


# ------------------------------------------------------------------ main
def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    icons = {size: icon_pixels(size) for size in (256, 128, 96, 64, 48, 32, 16)}
    pal = make_palette()
    images = [(256, 32, ico_png(256, icons[256]))]
    images += [(s, 32, ico_dib32(s, icons[s])) for s in (128, 96, 64, 48, 32, 16)]
    images += [(s, 8, ico_dib8(s, icons[s], pal)) for s in (48, 32, 16)]
    arrow = render(32, 32, arrow_layers(), ss=8)
    files = {
        "pelmira.ico": ico_bytes(images),
        "logo.bmp": bmp_bytes(40, 135, logo_pixels(), 24),
        "adapter.bmp": bmp_bytes(16, 16, from_map(ADAPTER16, ADAPTER16_PALETTE), 32),
        "monitor.bmp": bmp_bytes(16, 16, from_map(MONITOR16, MONITOR16_PALETTE), 32),
        "cross.bmp": bmp_bytes(32, 32, render(32, 32, cross_layers(), ss=8), 32, premultiply=True),
        "arrow_right.bmp": bmp_bytes(32, 32, arrow, 32, premultiply=True),
        "arrow_left.bmp": bmp_bytes(32, 32, mirrored(arrow, 32, 32), 32, premultiply=True),
    }
    for name, data in sorted(files.items()):
        with open(os.path.join(OUT_DIR, name), "wb") as f:
            f.write(data)
        print("%-16s %7d bytes" % (name, len(data)))


if __name__ == "__main__":
    main()
