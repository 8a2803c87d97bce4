#!/usr/bin/env python3
"""Artwork generator for Dusk.

Draws every picture the program ships from simple vector shapes and writes:

    dusk.ico         program icon: 16, 20, 24, 32, 40 and 48 pixel 32-bit BGRA
                     images and 64 and 256 pixel PNG images, each drawn at its own
                     size (those that load at start up to 150 % need no decoder)
    task_kinds.png   1056 x 96 strip, eleven 96 x 96 task-kind pictures (twice the
                     48 x 48 the list shows at 96 DPI: enough for 200 %), PNG
                     with a palette: as a 32-bit bitmap it would be 258 KB
    program16.bmp    16 x 16 default picture for the process list
    tip.png          1000 x 600 palette PNG of the alarm window, twice its 500 x 300
                     place at 96 DPI (as an 8-bit RLE bitmap it would be 15 KB)

Only the Python 3 standard library is used (struct, zlib, math), so the
output is byte-for-byte reproducible.  Run from anywhere:

    python3 res/generate_artwork.py            # writes next to this script
    python3 res/generate_artwork.py --png DIR  # also writes PNG previews

Rendering model: a picture is a list of layers (shape, colour).  Each pixel
is sampled on an N x N grid; at every sample the layers that contain it are
composited back to front, and the samples are averaged in premultiplied
space.  That gives anti-aliased edges without any external library.
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Shapes: callables (x, y) -> bool, in pixel units, y grows downwards.
# A pixel (i, j) covers the square [i, i+1] x [j, j+1].
# Angles are in degrees, measured clockwise from "12 o'clock".
# ---------------------------------------------------------------------------


def circle(cx, cy, r):
    r2 = r * r
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r2


def ring(cx, cy, r, w):
    ro = (r + w / 2.0) ** 2
    ri = (r - w / 2.0) ** 2

    def f(x, y):
        d = (x - cx) ** 2 + (y - cy) ** 2
        return ri <= d <= ro
    return f


def _seg_dist2(x, y, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    ll = dx * dx + dy * dy
    if ll == 0:
        t = 0.0
    else:
        t = ((x - x0) * dx + (y - y0) * dy) / ll
        t = 0.0 if t < 0 else (1.0 if t > 1 else t)
    px, py = x0 + t * dx - x, y0 + t * dy - y
    return px * px + py * py


def line(x0, y0, x1, y1, w):
    """Stroke of width w with round caps."""
    h2 = (w / 2.0) ** 2
    return lambda x, y: _seg_dist2(x, y, x0, y0, x1, y1) <= h2


def polyline(pts, w):
    h2 = (w / 2.0) ** 2
    segs = list(zip(pts[:-1], pts[1:]))

    def f(x, y):
        for (a, b) in segs:
            if _seg_dist2(x, y, a[0], a[1], b[0], b[1]) <= h2:
                return True
        return False
    return f


def polygon(pts):
    """Filled polygon (even-odd rule)."""
    n = len(pts)

    def f(x, y):
        inside = False
        j = n - 1
        for i in range(n):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y):
                xc = xi + (y - yi) * (xj - xi) / (yj - yi)
                if x < xc:
                    inside = not inside
            j = i
        return inside
    return f


def rrect(x0, y0, x1, y1, rad):
    """Filled rectangle with rounded corners."""
    r2 = rad * rad

    def f(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = x0 + rad if x < x0 + rad else (x1 - rad if x > x1 - rad else x)
        cy = y0 + rad if y < y0 + rad else (y1 - rad if y > y1 - rad else y)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r2
    return f


def rrect_stroke(x0, y0, x1, y1, rad, w):
    """Outline of a rounded rectangle; the stroke lies inside the box."""
    return diff(rrect(x0, y0, x1, y1, rad),
                rrect(x0 + w, y0 + w, x1 - w, y1 - w, max(rad - w, 0)))


def angle_of(cx, cy, x, y):
    a = math.degrees(math.atan2(x - cx, cy - y))
    return a % 360.0


def point_at(cx, cy, r, a):
    t = math.radians(a)
    return (cx + r * math.sin(t), cy - r * math.cos(t))


def arc(cx, cy, r, w, a0, a1, caps=True):
    """Stroke along a circle from angle a0 clockwise to a1."""
    span = (a1 - a0) % 360.0
    band = ring(cx, cy, r, w)
    parts = []
    if caps:
        for a in (a0, a1):
            px, py = point_at(cx, cy, r, a)
            parts.append(circle(px, py, w / 2.0))

    def f(x, y):
        if band(x, y) and (angle_of(cx, cy, x, y) - a0) % 360.0 <= span:
            return True
        for p in parts:
            if p(x, y):
                return True
        return False
    return f


def sector(cx, cy, r, a0, a1):
    span = (a1 - a0) % 360.0
    disc = circle(cx, cy, r)
    return lambda x, y: disc(x, y) and (angle_of(cx, cy, x, y) - a0) % 360.0 <= span


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def ellipse_stroke(cx, cy, rx, ry, w):
    """Approximately constant-width outline of an ellipse."""
    h = w / 2.0

    def f(x, y):
        u, v = (x - cx) / rx, (y - cy) / ry
        q = math.sqrt(u * u + v * v)
        if q == 0:
            return False
        gx, gy = u / (rx * q), v / (ry * q)
        g = math.sqrt(gx * gx + gy * gy)
        return abs(q - 1.0) / g <= h
    return f


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def diff(a, *bs):
    return lambda x, y: a(x, y) and not any(b(x, y) for b in bs)


def inter(*shapes):
    return lambda x, y: all(s(x, y) for s in shapes)


def box(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def moved(shape, dx, dy):
    return lambda x, y: shape(x - dx, y - dy)


def scaled(shape, k):
    """The shape k times larger (also works for colour functions)."""
    return lambda x, y: shape(x / k, y / k)


# ---------------------------------------------------------------------------
# Colours
# ---------------------------------------------------------------------------


def mix(c1, c2, t):
    """Linear blend of two RGB(A) tuples, t = 0 -> c1, t = 1 -> c2."""
    return tuple(a + (b - a) * t for a, b in zip(c1, c2))


def rgba(c, a=255):
    return (c[0], c[1], c[2], a) if len(c) == 3 else tuple(c)


def vgradient(y0, c0, y1, c1):
    """Colour function: vertical linear gradient."""
    c0, c1 = rgba(c0), rgba(c1)

    def f(x, y):
        t = (y - y0) / float(y1 - y0)
        t = 0.0 if t < 0 else (1.0 if t > 1 else t)
        return mix(c0, c1, t)
    return f


WHITE = (255, 255, 255)

# ---------------------------------------------------------------------------
# Canvas
# ---------------------------------------------------------------------------


class Canvas:
    def __init__(self, w, h, ss=4):
        self.w, self.h, self.ss = w, h, ss
        self.layers = []

    def draw(self, shape, colour, bbox=None):
        """Add a layer.  colour: RGB/RGBA tuple or function (x, y) -> RGBA.
        bbox (x0, y0, x1, y1) only speeds rendering up."""
        self.layers.append((shape, colour if callable(colour) else rgba(colour), bbox))

    def render(self):
        """Returns rows (top-down) of straight-alpha (r, g, b, a) byte tuples."""
        n = self.ss
        offs = [(k + 0.5) / n for k in range(n)]
        inv = 1.0 / (n * n)
        rows = []
        for j in range(self.h):
            active = [L for L in self.layers
                      if L[2] is None or (L[2][1] <= j + 1 and L[2][3] >= j)]
            row = []
            for i in range(self.w):
                here = [L for L in active
                        if L[2] is None or (L[2][0] <= i + 1 and L[2][2] >= i)]
                sr = sg = sb = sa = 0.0
                if here:
                    for oy in offs:
                        y = j + oy
                        for ox in offs:
                            x = i + ox
                            r = g = b = a = 0.0   # premultiplied, 0..1
                            for shape, col, _ in here:
                                if shape(x, y):
                                    c = col(x, y) if callable(col) else col
                                    ca = c[3] / 255.0
                                    k = 1.0 - ca
                                    r = c[0] / 255.0 * ca + r * k
                                    g = c[1] / 255.0 * ca + g * k
                                    b = c[2] / 255.0 * ca + b * k
                                    a = ca + a * k
                            sr += r
                            sg += g
                            sb += b
                            sa += a
                row.append(_unpremultiply(sr * inv, sg * inv, sb * inv, sa * inv))
            rows.append(row)
        return rows


class ScaledCanvas(Canvas):
    """A canvas for a drawing made in units k pixels large."""

    def __init__(self, w, h, k, ss=4):
        super().__init__(w, h, ss)
        self.k = k

    def draw(self, shape, colour, bbox=None):
        k = self.k
        super().draw(scaled(shape, k), scaled(colour, k) if callable(colour) else colour,
                     None if bbox is None else tuple(v * k for v in bbox))


def _unpremultiply(r, g, b, a):
    A = int(round(a * 255))
    if A <= 0:
        return (0, 0, 0, 0)
    return (min(255, int(round(r / a * 255))),
            min(255, int(round(g / a * 255))),
            min(255, int(round(b / a * 255))),
            min(255, A))


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------


def bgra_bottom_up(rows):
    out = bytearray()
    for row in reversed(rows):
        for (r, g, b, a) in row:
            out += bytes((b, g, r, a))
    return bytes(out)


def bitmap_info_header(w, h, image_size):
    # biSize, biWidth, biHeight, biPlanes, biBitCount, biCompression (BI_RGB),
    # biSizeImage, biXPelsPerMeter, biYPelsPerMeter, biClrUsed, biClrImportant
    return struct.pack('<IiiHHIIiiII', 40, w, h, 1, 32, 0, image_size,
                       2835, 2835, 0, 0)


def write_bmp(path, rows):
    h, w = len(rows), len(rows[0])
    pixels = bgra_bottom_up(rows)
    info = bitmap_info_header(w, h, len(pixels))
    offset = 14 + len(info)
    head = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    with open(path, 'wb') as f:
        f.write(head + info + pixels)


def ico_bitmap(rows):
    h, w = len(rows), len(rows[0])
    xor = bgra_bottom_up(rows)
    stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line_bits = bytearray(stride)
        for i, px in enumerate(row):
            if px[3] == 0:                      # 1 = transparent
                line_bits[i >> 3] |= 0x80 >> (i & 7)
        mask += line_bits
    info = bitmap_info_header(w, h * 2, len(xor) + len(mask))
    return info + xor + bytes(mask)


def write_ico(path, images):
    """images: rows of each size, smallest first; 64 pixels and up go in as PNG."""
    icondir = struct.pack('<HHH', 0, 1, len(images))
    entries, data = b'', b''
    offset = 6 + 16 * len(images)
    for rows in images:
        h, w = len(rows), len(rows[0])
        image = png_bytes(rows) if w >= 64 else ico_bitmap(rows)
        entries += struct.pack('<BBBBHHII', w & 0xFF, h & 0xFF, 0, 0, 1, 32,
                               len(image), offset + len(data))
        data += image
    with open(path, 'wb') as f:
        f.write(icondir + entries + data)


def write_png(path, rows, scale=1, background=None):
    """Preview writer (RGBA PNG), optional integer zoom and flat background."""
    with open(path, 'wb') as f:
        f.write(png_bytes(rows, scale, background))


def write_png_indexed(path, rows):
    """A palette PNG where the picture has at most 256 colours (the same pixels in
    three quarters of the bytes), else RGBA."""
    colours = sorted({px for row in rows for px in row})
    if len(colours) > 256:
        write_png(path, rows)
        return
    index = {px: i for i, px in enumerate(colours)}
    raw = bytearray()
    for row in rows:
        raw += b'\x00' + bytes(index[px] for px in row)

    def chunk(tag, data):
        c = struct.pack('>I', len(data)) + tag + data
        return c + struct.pack('>I', zlib.crc32(tag + data) & 0xFFFFFFFF)
    ihdr = struct.pack('>IIBBBBB', len(rows[0]), len(rows), 8, 3, 0, 0, 0)
    palette = b''.join(bytes(px[:3]) for px in colours)
    alpha = bytes(px[3] for px in colours)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'PLTE', palette) +
                chunk(b'tRNS', alpha) + chunk(b'IDAT', zlib.compress(bytes(raw), 9)) +
                chunk(b'IEND', b''))


def png_bytes(rows, scale=1, background=None):
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        line_px = bytearray()
        for (r, g, b, a) in row:
            if background is not None:
                t = a / 255.0
                px = (int(round(r * t + background[0] * (1 - t))),
                      int(round(g * t + background[1] * (1 - t))),
                      int(round(b * t + background[2] * (1 - t))), 255)
            else:
                px = (r, g, b, a)
            line_px += bytes(px) * scale
        for _ in range(scale):
            raw += b'\x00' + line_px

    def chunk(tag, data):
        c = struct.pack('>I', len(data)) + tag + data
        return c + struct.pack('>I', zlib.crc32(tag + data) & 0xFFFFFFFF)
    ihdr = struct.pack('>IIBBBBB', w * scale, h * scale, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def downscale(rows, factor):
    """Box-filter reduction (premultiplied), used for 16 px previews."""
    h, w = len(rows) // factor, len(rows[0]) // factor
    out = []
    for j in range(h):
        row = []
        for i in range(w):
            r = g = b = a = 0.0
            for y in range(j * factor, (j + 1) * factor):
                for x in range(i * factor, (i + 1) * factor):
                    pr, pg, pb, pa = rows[y][x]
                    t = pa / 255.0
                    r += pr / 255.0 * t
                    g += pg / 255.0 * t
                    b += pb / 255.0 * t
                    a += t
            n = float(factor * factor)
            row.append(_unpremultiply(r / n, g / n, b / n, a / n))
        out.append(row)
    return out


# ---------------------------------------------------------------------------
# Program icon: 128 x 128
# ---------------------------------------------------------------------------

BLUE = (72, 162, 244)


ICON_SIZES = (16, 20, 24, 32, 40, 48, 64, 256)


def draw_icon(size=128):
    """The icon drawn in units of a 128 pixel icon, at `size` pixels."""
    cv = ScaledCanvas(size, size, size / 128.0, ss=8 if size <= 64 else 3)
    c = 64.0
    # Face: blue disc, slightly lighter at the top, slightly deeper at the
    # bottom (evening sky), with a thin deeper rim so it stands out on light
    # backgrounds.
    cv.draw(circle(c, c, 62.5), (36, 104, 200))
    cv.draw(circle(c, c, 59), vgradient(6, (112, 188, 252), 122, (50, 128, 228)))
    # Hour marks at 6 and 9 (the moon sits near 3, the minute hand at 12).
    for a in (180, 270):
        x0, y0 = point_at(c, c, 50, a)
        x1, y1 = point_at(c, c, 42, a)
        cv.draw(line(x0, y0, x1, y1, 12), WHITE)
    # Crescent moon between 12 and 3, clear of the hands.
    mx, my = point_at(c, c, 33, 60)
    moon = diff(circle(mx, my, 15), circle(mx + 8.5, my - 6.5, 12.5))
    cv.draw(moon, WHITE)
    # Hands: minute hand at 12, hour hand at 8 (evening).  16 px wide so that
    # they stay two whole pixels wide when the icon is shrunk to 16 x 16.
    hx, hy = point_at(c, c, 28, 240)
    cv.draw(line(c, c, hx, hy, 16), WHITE)
    mx2, my2 = point_at(c, c, 42, 0)
    cv.draw(line(c, c, mx2, my2, 16), WHITE)
    cv.draw(circle(c, c, 5), (50, 128, 228))
    return cv.render()


# ---------------------------------------------------------------------------
# Task-kind strip: eleven 48 x 48 pictures
# ---------------------------------------------------------------------------

TASK_COLOURS = [
    (226, 62, 62),     # 0 shut down    - red
    (242, 135, 20),    # 1 restart      - orange
    (140, 82, 214),    # 2 log off      - purple
    (45, 130, 230),    # 3 alarm        - blue
    (36, 164, 82),     # 4 open program - green
    (168, 30, 40),     # 5 close program- dark red
    (0, 148, 148),     # 6 web page     - teal
    (58, 72, 170),     # 7 sleep        - indigo
    (84, 96, 118),     # 8 lock         - slate
    (30, 120, 176),    # 9 hibernate    - ice blue
    (52, 58, 70),      # 10 screen off  - charcoal
]

SW = 4.5        # stroke width shared by all the pictures


def tint(c, t=0.78):
    return mix(c, WHITE, t)


def kind_shutdown(c):
    col = TASK_COLOURS[0]
    yield circle(24, 25, 17.5), tint(col, 0.82)
    yield arc(24, 25, 14, SW, 40, 320), col
    yield line(24, 6.5, 24, 22, SW), col


def arrow_head(cx, cy, r, a, length, half):
    """Triangle on a circle at angle a, pointing clockwise along it."""
    bx, by = point_at(cx, cy, r, a)
    t = math.radians(a)
    tx, ty = math.cos(t), math.sin(t)          # clockwise tangent
    nx, ny = math.sin(t), -math.cos(t)         # outward normal
    return polygon([(bx + tx * length, by + ty * length),
                    (bx + nx * half, by + ny * half),
                    (bx - nx * half, by - ny * half)])


def kind_restart(c):
    col = TASK_COLOURS[1]
    cx, cy, r = 24, 25.5, 14
    yield circle(cx, cy, 17.5), tint(col, 0.82)
    yield arc(cx, cy, r, SW, 75, 345), col
    yield arrow_head(cx, cy, r, 345, 10, 7.5), col


def kind_logoff(c):
    col = TASK_COLOURS[2]
    # door frame: open on the right
    yield rrect(7, 7, 28, 41, 3), tint(col, 0.82)
    yield polyline([(27, 15), (27, 9), (9, 9), (9, 39), (27, 39), (27, 33)], SW), col
    # arrow going out to the right
    yield line(17, 24, 36, 24, SW), col
    yield polygon([(44, 24), (34, 15), (34, 33)]), col


def kind_alarm(c):
    col = TASK_COLOURS[3]
    cx, cy = 24, 26
    # bells, tilted away from the top
    for a in (-42, 42):
        bx, by = point_at(cx, cy, 16.5, a)
        yield sector(bx, by, 8, a - 90, a + 90), col
    # legs
    yield line(cx - 9, cy + 12, cx - 12, cy + 16, 4), col
    yield line(cx + 9, cy + 12, cx + 12, cy + 16, 4), col
    yield circle(cx, cy, 15.5), col
    yield circle(cx, cy, 11.5), tint(col, 0.85)
    yield polyline([(cx, cy - 7.5), (cx, cy), (cx + 6, cy + 3.5)], 3.5), col


def kind_window(col, inner):
    yield rrect(5, 8, 43, 40, 4), tint(col, 0.85)
    yield rrect_stroke(5, 8, 43, 40, 4, 3), col
    yield rrect(5, 8, 43, 16, 4), col
    yield box(5, 12, 43, 16), col
    for s in inner:
        yield s, col


def kind_open(c):
    col = TASK_COLOURS[4]
    return kind_window(col, [polygon([(19, 20.5), (19, 36.5), (32, 28.5)])])


def kind_close(c):
    col = TASK_COLOURS[5]
    return kind_window(col, [line(18.5, 22, 29.5, 34, 4),
                             line(29.5, 22, 18.5, 34, 4)])


def kind_web(c):
    col = TASK_COLOURS[6]
    cx, cy, r = 24, 24, 17
    inside = circle(cx, cy, r)
    yield circle(cx, cy, r + 1.5), tint(col, 0.82)
    yield ring(cx, cy, r, 3.5), col
    yield inter(ellipse_stroke(cx, cy, 7.5, r, 3), inside), col
    yield line(cx, cy - r, cx, cy + r, 3), col
    yield inter(box(cx - r, cy - 1.5, cx + r, cy + 1.5), inside), col
    yield inter(box(cx - r, cy - 9.5, cx + r, cy - 6.5), inside), col
    yield inter(box(cx - r, cy + 6.5, cx + r, cy + 9.5), inside), col


def kind_sleep(c):
    col = TASK_COLOURS[7]
    yield circle(24, 25, 17.5), tint(col, 0.82)
    # a crescent moon, and a small "z" above its opening
    yield diff(circle(22, 27, 13), circle(29.5, 20.5, 10.5)), col
    yield polyline([(31, 8), (39, 8), (31, 16), (39, 16)], 2.8), col


def kind_lock(c):
    col = TASK_COLOURS[8]
    # shackle over a padlock body with a keyhole
    yield arc(24, 20, 8.5, SW, 270, 90), col
    yield line(15.5, 20, 15.5, 24, SW), col
    yield line(32.5, 20, 32.5, 24, SW), col
    yield rrect(9, 22, 39, 42, 4), col
    yield circle(24, 30, 3.2), tint(col, 0.85)
    yield line(24, 30, 24, 36.5, 3), tint(col, 0.85)


def kind_hibernate(c):
    col = TASK_COLOURS[9]
    yield circle(24, 25, 17.5), tint(col, 0.82)
    # a snowflake: three strokes through the centre, each end with a small V
    for a in (0, 60, 120):
        x0, y0 = point_at(24, 25, 12.5, a)
        x1, y1 = point_at(24, 25, 12.5, a + 180)
        yield line(x0, y0, x1, y1, 3.2), col
        for end in (a, a + 180):
            bx, by = point_at(24, 25, 8.0, end)
            for side in (-40, 40):
                tx, ty = point_at(bx, by, 4.6, end + side)
                yield line(bx, by, tx, ty, 2.6), col


def kind_screen_off(c):
    col = TASK_COLOURS[10]
    # a monitor with a dark screen, on its stand, and the power sign on the screen
    yield rrect(6, 9, 42, 35, 3), col
    yield rrect(9.5, 12.5, 38.5, 31.5, 1.2), tint(col, 0.35)
    yield box(21, 35, 27, 40), col
    yield rrect(14, 39, 34, 42.5, 1.5), col
    yield arc(24, 22.5, 5.5, 2.4, 40, 320), tint(col, 0.85)
    yield line(24, 15, 24, 21.5, 2.4), tint(col, 0.85)


KINDS = [kind_shutdown, kind_restart, kind_logoff, kind_alarm,
         kind_open, kind_close, kind_web, kind_sleep, kind_lock,
         kind_hibernate, kind_screen_off]


KIND_SCALE = 2     # drawn for 200 %: the list shrinks them for smaller screens


def draw_kinds():
    cv = ScaledCanvas(48 * len(KINDS) * KIND_SCALE, 48 * KIND_SCALE, KIND_SCALE, ss=4)
    for n, fn in enumerate(KINDS):
        dx = 48 * n
        for shape, col in fn(None):
            cv.draw(moved(shape, dx, 0), col, (dx, 0, dx + 48, 48))
    return cv.render()


# ---------------------------------------------------------------------------
# Default process picture: 16 x 16
# ---------------------------------------------------------------------------


def draw_program16():
    cv = Canvas(16, 16, ss=8)
    frame = (64, 92, 136)
    title = (72, 162, 244)
    green = (30, 158, 64)
    # window: frame, title bar, white client area (edges on pixel boundaries)
    cv.draw(rrect(0, 1, 16, 15, 1.2), frame)
    cv.draw(box(1, 2, 15, 4), title)
    cv.draw(box(1, 4, 15, 14), (252, 252, 252))
    # two text lines
    cv.draw(box(3, 6, 9, 7), (168, 182, 204))
    cv.draw(box(3, 8, 6, 9), (168, 182, 204))
    # green tick in the lower right of the client area
    cv.draw(polyline([(7.0, 10.3), (9.3, 12.5), (13.6, 7.2)], 2.3), green)
    return cv.render()


# ---------------------------------------------------------------------------
# Alarm window picture: 500 x 300, 24-bit, no alpha
#
# The window draws this picture "transparent": every pixel that has the
# colour of the bottom-left pixel (pure white, the margin) is skipped.  So
# the margin is exactly (255, 255, 255) and nothing inside the panel may be
# pure white; light strokes use TIP_LIGHT and blend only towards the blue.
# ---------------------------------------------------------------------------

TIP_W, TIP_H = 500, 300
TIP_PANEL = (11, 4, 490, 299)      # pixel edges: columns 11..489, rows 4..298
TIP_SPLIT = 218                    # first row of the lower band
TIP_RADIUS = 10.0
TIP_UPPER = (72, 177, 229)
TIP_LOWER = (81, 193, 244)
TIP_LIGHT = (254, 254, 254)
TIP_CLOCK_BOX = (40, 36, 170, 166)  # area the clock drawing is rendered in


TIP_SCALE = 2      # drawn for 200 %: the window shrinks it for smaller screens


def _panel_coverage(i, j, n=8, k=TIP_SCALE):
    """Fraction of pixel (i, j) of the k times larger picture covered by the panel."""
    x0, y0, x1, y1 = (v * k for v in TIP_PANEL)
    rad = TIP_RADIUS * k
    if i < x0 or i >= x1 or j < y0 or j >= y1:
        return 0.0
    near_x = i < x0 + rad or i + 1 > x1 - rad
    near_y = j < y0 + rad or j + 1 > y1 - rad
    if not (near_x and near_y):
        return 1.0
    shape = rrect(x0, y0, x1, y1, rad)
    hit = 0
    for ky in range(n):
        for kx in range(n):
            if shape(i + (kx + 0.5) / n, j + (ky + 0.5) / n):
                hit += 1
    return hit / float(n * n)


def tip_clock_layers():
    """Twin-bell alarm clock in light strokes, centred at (105, 106)."""
    cx, cy, k = 105.0, 106.0, 1.08      # centre and scale
    r, w = 38.0 * k, 7.0 * k            # face ring radius and stroke width
    gap = TIP_UPPER                     # paints a blue gap between parts
    # bells: half discs tilted away from the top, each with a small knob
    for a in (-42.0, 42.0):
        bx, by = point_at(cx, cy, 47.5 * k, a)
        yield sector(bx, by, 18 * k, a - 90, a + 90), TIP_LIGHT
        kx, ky = point_at(bx, by, 20.5 * k, a)
        yield circle(kx, ky, 3.6 * k), TIP_LIGHT
    # hammer between the bells
    yield line(cx, cy - r, cx, cy - r - 13 * k, 4.5 * k), TIP_LIGHT
    yield circle(cx, cy - r - 15 * k, 4.8 * k), TIP_LIGHT
    # blue gap around the face, so the bells stand apart from it
    yield circle(cx, cy, r + w / 2 + 3.5 * k), gap
    # legs, joined to the ring
    for a in (145.0, 215.0):
        x0, y0 = point_at(cx, cy, r, a)
        x1, y1 = point_at(cx, cy, r + 15 * k, a)
        yield line(x0, y0, x1, y1, 6.5 * k), TIP_LIGHT
    # the face: a faint light disc inside the ring
    yield circle(cx, cy, r), TIP_LIGHT + (46,)
    yield ring(cx, cy, r, w), TIP_LIGHT
    # hour marks at 12, 3, 6 and 9
    for a in (0, 90, 180, 270):
        x0, y0 = point_at(cx, cy, r - 9 * k, a)
        x1, y1 = point_at(cx, cy, r - 14 * k, a)
        yield line(x0, y0, x1, y1, 4 * k), TIP_LIGHT
    # hands at ten past ten
    hx, hy = point_at(cx, cy, 17 * k, 305)
    yield line(cx, cy, hx, hy, 5.5 * k), TIP_LIGHT
    mx, my = point_at(cx, cy, 25 * k, 60)
    yield line(cx, cy, mx, my, 4 * k), TIP_LIGHT
    yield circle(cx, cy, 5 * k), TIP_LIGHT
    yield circle(cx, cy, 2 * k), gap


def draw_tip():
    """Returns rows (top-down) of opaque (r, g, b) tuples."""
    k = TIP_SCALE
    bx0, by0, bx1, by1 = (v * k for v in TIP_CLOCK_BOX)
    cv = ScaledCanvas(bx1 - bx0, by1 - by0, k, ss=4)
    for shape, col in tip_clock_layers():
        cv.draw(moved(shape, -TIP_CLOCK_BOX[0], -TIP_CLOCK_BOX[1]), col)
    clock = cv.render()

    rows = []
    for j in range(TIP_H * k):
        panel = TIP_UPPER if j < TIP_SPLIT * k else TIP_LOWER
        row = []
        for i in range(TIP_W * k):
            cov = _panel_coverage(i, j)
            if cov <= 0.0:
                row.append(WHITE)
                continue
            c = panel
            if bx0 <= i < bx1 and by0 <= j < by1:
                r, g, b, a = clock[j - by0][i - bx0]
                c = mix(c, (r, g, b), a / 255.0)
            # rounded corners blend towards the white margin
            c = tuple(int(round(v)) for v in mix(WHITE, c, cov))
            if c == WHITE:          # never let a panel pixel turn transparent
                c = (254, 254, 254)
            row.append(c)
        rows.append(row)
    return rows


def write_png_quantised(path, rows):
    """Palette PNG of an opaque picture: the most frequent 256 colours (the rest,
    a few anti-aliased edge pixels, take the nearest of them)."""
    counts = {}
    for row in rows:
        for c in row:
            counts[c] = counts.get(c, 0) + 1
    palette = sorted(counts, key=lambda c: -counts[c])[:256]
    index = {c: n for n, c in enumerate(palette)}

    def nearest(c):
        if c not in index:
            index[c] = min(range(len(palette)),
                           key=lambda n: sum((a - b) ** 2 for a, b in zip(c, palette[n])))
        return index[c]
    raw = bytearray()
    for row in rows:
        raw += b'\x00' + bytes(nearest(c) for c in row)

    def chunk(tag, data):
        c = struct.pack('>I', len(data)) + tag + data
        return c + struct.pack('>I', zlib.crc32(tag + data) & 0xFFFFFFFF)
    ihdr = struct.pack('>IIBBBBB', len(rows[0]), len(rows), 8, 3, 0, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) +
                chunk(b'PLTE', b''.join(bytes(c) for c in palette)) +
                chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


# ---------------------------------------------------------------------------


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    png_dir = None
    if len(argv) >= 2 and argv[0] == '--png':
        png_dir = argv[1]

    icon = draw_icon()
    write_ico(os.path.join(here, 'dusk.ico'), [draw_icon(n) for n in ICON_SIZES])
    kinds = draw_kinds()
    write_png_indexed(os.path.join(here, 'task_kinds.png'), kinds)
    prog = draw_program16()
    write_bmp(os.path.join(here, 'program16.bmp'), prog)
    tip = draw_tip()
    write_png_quantised(os.path.join(here, 'tip.png'), tip)

    if png_dir:
        os.makedirs(png_dir, exist_ok=True)
        small = downscale(icon, 8)
        for name, bg in (('light', (243, 243, 243)), ('dark', (32, 32, 32))):
            write_png(os.path.join(png_dir, 'icon128_%s.png' % name), icon, 2, bg)
            write_png(os.path.join(png_dir, 'icon16_%s.png' % name), small, 16, bg)
            write_png(os.path.join(png_dir, 'kinds_%s.png' % name), kinds, 4, bg)
            write_png(os.path.join(png_dir, 'program16_%s.png' % name), prog, 16, bg)
        write_png(os.path.join(png_dir, 'kinds_1x.png'), kinds, 1, (255, 255, 255))
        write_png(os.path.join(png_dir, 'tip.png'),
                  [[c + (255,) for c in row] for row in tip])
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
