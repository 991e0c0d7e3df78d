#!/usr/bin/env python3
"""Draws the images of the resource package and writes them into resources/.

Run from anywhere:  python3 scripts/make-images.py   (the output is committed; run it
again after changing a drawing). Standard library only; the output is the same bytes on
every run.

Every shape is drawn from a signed distance: a pixel's coverage is how far its centre
lies inside the edge (clamped to one pixel), which gives antialiased edges at any size.
Images that the toolkit picks by display scale are drawn again at 125, 150, 175 and
200 % rather than enlarged, so they stay sharp.

What it draws (sizes at 100 %; one accent colour, #1E6FD9, for the whole product):
  main/shadow.png         window shadow for a nine-grid: 6 px of shadow around a
                          transparent centre, corners 8 (24 x 24)
  main/search.png         magnifier, 16 x 16
  common/check_*.png      check box: normal, hot, selected (ticked), disabled, 16 x 16
  common/radio_*.png      radio button: normal, hot, selected, disabled, 16 x 16
  sysbtn/<b>_<state>.png  caption buttons lang (globe), about (i in a circle), min,
                          close, menu; states normal, hot, pushed; 28 x 28, white glyphs
                          for the accent caption bar (close turns red when hot)
  scrollbar.bmp           24-bit strip of 16 x 16 cells on the rail colour, in this order:
                          0-3 up arrow, 4-7 down, 8-11 left, 12-15 right (each normal,
                          hot, pushed, disabled), 16-18 vertical thumb, 19-21 horizontal
                          thumb (normal, hot, pushed), 22 rail
  other/loading.gif       busy spinner, 32 x 32, 12 frames
  other/loading2.gif      ring of fading dots, 40 x 40, 8 frames
  other/loading3.gif      three pulsing dots, 48 x 16, 12 frames
The PNGs and the BMP also come as name@125, name@150, name@175 and name@200 (1.25, 1.5,
1.75 and 2 times the size).
"""
import argparse
import math
import os
import struct
import sys
import zlib

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources"))

WHITE = (255, 255, 255)
ACCENT = (0x1E, 0x6F, 0xD9)
ACCENT_DARK = (0x17, 0x58, 0xB0)
ACCENT_TINT = (0xEC, 0xF3, 0xFD)
BORDER = (0x98, 0xA1, 0xAE)
DISABLED_BORDER = (0xC8, 0xCD, 0xD5)
DISABLED_FILL = (0xF1, 0xF2, 0xF4)
GREY_GLYPH = (0x76, 0x80, 0x90)
RED = (0xE8, 0x11, 0x23)
RED_DARK = (0xB3, 0x0E, 0x1C)
SHADOW = (0x10, 0x1A, 0x2A)
RAIL = (0xF1, 0xF3, 0xF6)
THUMB = (0xC2, 0xC8, 0xD1)
THUMB_HOT = (0xA4, 0xAD, 0xBA)
ARROW = (0x6B, 0x74, 0x82)
ARROW_DISABLED = (0xC4, 0xC9, 0xD0)

SCALES = ((100, 1.0), (125, 1.25), (150, 1.5), (175, 1.75), (200, 2.0))


# ---- signed distances (negative inside) --------------------------------------------

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2


def segment(ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def d(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - width / 2
    return d


def polyline(points, width):
    parts = [segment(*points[i], *points[i + 1], width) for i in range(len(points) - 1)]
    return lambda x, y: min(p(x, y) for p in parts)


def rounded_rect(x0, y0, x1, y1, radius):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def d(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius
    return d


def ellipse_ring(cx, cy, rx, ry, width):
    # First-order distance to the ellipse: the implicit value over its gradient.
    def d(x, y):
        u, v = (x - cx) / rx, (y - cy) / ry
        q = math.hypot(u, v)
        if q < 1e-9:
            return min(rx, ry) - width / 2
        gx, gy = u / (rx * q), v / (ry * q)
        return abs((q - 1) / math.hypot(gx, gy)) - width / 2
    return d


def arc(cx, cy, r, width, start, sweep):
    # A stroke along the circle from angle start over sweep (radians), round caps.
    ends = [(cx + r * math.cos(a), cy + r * math.sin(a)) for a in (start, start + sweep)]

    def d(x, y):
        a = (math.atan2(y - cy, x - cx) - start) % (2 * math.pi)
        if a <= sweep:
            return abs(math.hypot(x - cx, y - cy) - r) - width / 2
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - width / 2
    return d


def intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def coverage(distance):
    return max(0.0, min(1.0, 0.5 - distance))


# ---- a canvas of straight-alpha RGBA floats ------------------------------------------

class Canvas:
    def __init__(self, width, height, background=None):
        self.width, self.height = width, height
        r, g, b, a = (0.0, 0.0, 0.0, 0.0) if background is None else (*[c / 255 for c in background], 1.0)
        self.pixels = [[r, g, b, a] for _ in range(width * height)]

    def fill(self, shape, color, alpha=1.0, box=None):
        x0, y0, x1, y1 = box if box else (0, 0, self.width, self.height)
        cr, cg, cb = (c / 255 for c in color)
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                a = coverage(shape(x + 0.5, y + 0.5)) * alpha
                if a <= 0:
                    continue
                p = self.pixels[y * self.width + x]
                out = a + p[3] * (1 - a)
                for i, c in enumerate((cr, cg, cb)):
                    p[i] = (c * a + p[i] * p[3] * (1 - a)) / out
                p[3] = out

    def set_alpha(self, x, y, color, alpha):
        self.pixels[y * self.width + x] = [*(c / 255 for c in color), alpha]

    def rgba_rows(self):
        for y in range(self.height):
            row = bytearray()
            for p in self.pixels[y * self.width:(y + 1) * self.width]:
                row += bytes(round(max(0.0, min(1.0, v)) * 255) for v in p)
            yield bytes(row)


# ---- file formats --------------------------------------------------------------------

def png_bytes(canvas):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\x00" + row for row in canvas.rgba_rows())
    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def bmp_bytes(canvas):
    # 24-bit, bottom-up rows of BGR padded to four bytes; the canvas is opaque.
    stride = (canvas.width * 3 + 3) & ~3
    rows = list(canvas.rgba_rows())
    body = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for x in range(canvas.width):
            r, g, b = row[x * 4:x * 4 + 3]
            line += bytes((b, g, r))
        body += line + b"\x00" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    return header + info + bytes(body)


def lzw_encode(indices, min_code_size):
    """GIF's variable-width LZW: codes packed least significant bit first."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    out = bytearray()
    bits = 0
    bit_count = 0

    def emit(code, width):
        nonlocal bits, bit_count
        bits |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bits & 0xFF)
            bits >>= 8
            bit_count -= 8

    def reset():
        return {(i,): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, width = reset()
    emit(clear, width)
    current = ()
    for index in indices:
        candidate = current + (index,)
        if candidate in table:
            current = candidate
            continue
        emit(table[current], width)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            # The decoder widens its codes one step later than the table grows here.
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table, next_code, width = reset()
        current = (index,)
    if current:
        emit(table[current], width)
        # The decoder adds an entry for this last code too, and may widen before the end code.
        if next_code < 4096 and next_code + 1 > (1 << width) and width < 12:
            width += 1
    emit(end, width)
    if bit_count:
        out.append(bits & 0xFF)
    return bytes(out)


def gif_bytes(width, height, frames, delay_cs, color):
    """Frames are lists of intensities 0..1: the colour blended over white."""
    levels = 64
    palette = bytearray()
    for k in range(levels):
        t = k / (levels - 1)
        palette += bytes(round(255 + (c - 255) * t) for c in color)
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0x80 | 0x70 | 5, 0, 0)  # 64-entry global table
    data += palette
    data += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"  # loop for ever
    for frame in frames:
        data += b"\x21\xF9\x04" + struct.pack("<BHBB", 0x04, delay_cs, 0, 0)  # keep, no transparency
        data += b"\x2C" + struct.pack("<HHHHB", 0, 0, width, height, 0)
        indices = [round(max(0.0, min(1.0, v)) * (levels - 1)) for v in frame]
        encoded = lzw_encode(indices, 6)
        data += b"\x06"
        for i in range(0, len(encoded), 255):
            block = encoded[i:i + 255]
            data += bytes((len(block),)) + block
        data += b"\x00"
    data += b"\x3B"
    return bytes(data)


class Intensity:
    """A one-colour frame: paint accumulates like alpha over white."""

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.values = [0.0] * (width * height)

    def fill(self, shape, strength=1.0):
        for y in range(self.height):
            for x in range(self.width):
                a = coverage(shape(x + 0.5, y + 0.5)) * strength
                if a > 0:
                    i = y * self.width + x
                    self.values[i] += a * (1 - self.values[i])


# ---- the drawings ----------------------------------------------------------------------

def px(s, v):
    """A length at this scale, at least one pixel, whole pixels for crisp strokes."""
    return max(1, round(v * s))


def shadow(s):
    # The band is the window's shadow margin, which the toolkit scales rounding halves up.
    size, corner = int(6 * s + 0.5), px(s, 8)
    extent = 2 * corner + px(s, 8)
    canvas = Canvas(extent, extent)
    # The window is square-cornered; the distance from a square rounds the outer edge.
    inner = rounded_rect(size, size, extent - size, extent - size, 0)
    for y in range(extent):
        for x in range(extent):
            d = inner(x + 0.5, y + 0.5)
            if d <= 0:
                continue
            t = min(1.0, d / size)
            canvas.set_alpha(x, y, SHADOW, 0.30 * (1 - t) ** 2)
    return canvas


def search(s):
    n = round(16 * s)
    canvas = Canvas(n, n)
    canvas.fill(ring(6.5 * s, 6.5 * s, 4.6 * s, 1.5 * s), GREY_GLYPH)
    canvas.fill(segment(10.2 * s, 10.2 * s, 14 * s, 14 * s, 2.0 * s), GREY_GLYPH)
    return canvas


def check_box(s, state):
    n = round(16 * s)
    canvas = Canvas(n, n)
    margin, stroke, radius = px(s, 1), px(s, 1), 2.5 * s
    border, fill = {
        "normal": (BORDER, WHITE),
        "hot": (ACCENT, ACCENT_TINT),
        "selected": (ACCENT, ACCENT),
        "disabled": (DISABLED_BORDER, DISABLED_FILL),
    }[state]
    canvas.fill(rounded_rect(margin, margin, n - margin, n - margin, radius), border)
    canvas.fill(rounded_rect(margin + stroke, margin + stroke, n - margin - stroke, n - margin - stroke,
                             max(0.5, radius - stroke)), fill)
    if state == "selected":
        tick = [(4.4 * s, 8.3 * s), (6.9 * s, 10.8 * s), (11.7 * s, 5.6 * s)]
        canvas.fill(polyline(tick, 1.7 * s), WHITE)
    return canvas


def radio(s, state):
    n = round(16 * s)
    canvas = Canvas(n, n)
    c, stroke = n / 2, px(s, 1)
    outer = n / 2 - px(s, 1)
    border, fill = {
        "normal": (BORDER, WHITE),
        "hot": (ACCENT, ACCENT_TINT),
        "selected": (ACCENT, WHITE),
        "disabled": (DISABLED_BORDER, DISABLED_FILL),
    }[state]
    canvas.fill(circle(c, c, outer), border)
    canvas.fill(circle(c, c, outer - stroke), fill)
    if state == "selected":
        canvas.fill(circle(c, c, 3.3 * s), ACCENT)
    return canvas


def caption_glyph(name, s, n):
    """The white glyph of a caption button, centred in an n x n image."""
    c = n / 2
    w = 1.3 * s  # stroke width of the glyphs
    if name == "min":
        y = math.floor(c) + 0.5 if px(s, 1.3) % 2 else math.floor(c)
        return [segment(c - 5.5 * s, y, c + 5.5 * s, y, px(s, 1.3))]
    if name == "close":
        r = 5.0 * s
        return [segment(c - r, c - r, c + r, c + r, w), segment(c - r, c + r, c + r, c - r, w)]
    if name == "menu":
        shapes = []
        for dy in (-4, 0, 4):
            y = math.floor(c + dy * s) + 0.5
            shapes.append(segment(c - 6 * s, y, c + 6 * s, y, px(s, 1.3)))
        return shapes
    if name == "about":
        return [ring(c, c, 7 * s, w), circle(c, c - 3.4 * s, 1.0 * s),
                segment(c, c - 0.8 * s, c, c + 3.8 * s, 1.6 * s)]
    if name == "lang":
        r = 7 * s
        globe = circle(c, c, r + w / 2)  # keeps the inner lines inside the outline
        return [ring(c, c, r, w),
                intersect(ellipse_ring(c, c, 3.2 * s, r, w), globe),
                segment(c - r, c, c + r, c, w * 0.9),
                intersect(segment(c - r, c - 3.6 * s, c + r, c - 3.6 * s, w * 0.9), globe),
                intersect(segment(c - r, c + 3.6 * s, c + r, c + 3.6 * s, w * 0.9), globe)]
    raise ValueError(name)


def caption_button(name, s, state):
    n = round(28 * s)
    canvas = Canvas(n, n)
    plate = rounded_rect(0, 0, n, n, 4 * s)
    if state == "hot":
        if name == "close":
            canvas.fill(plate, RED)
        else:
            canvas.fill(plate, WHITE, 0.20)
    elif state == "pushed":
        if name == "close":
            canvas.fill(plate, RED_DARK)
        else:
            canvas.fill(plate, (0, 0, 0), 0.20)
    for shape in caption_glyph(name, s, n):
        canvas.fill(shape, WHITE)
    return canvas


def scrollbar(s):
    cell = round(16 * s)
    cells = 23
    canvas = Canvas(cell * cells, cell, RAIL)

    def box(i):
        return (i * cell, 0, (i + 1) * cell, cell)

    # Arrow chevrons: pointing up, then rotated for down, left and right.
    directions = {"up": (0, -1), "down": (0, 1), "left": (-1, 0), "right": (1, 0)}
    for d, (name, (dx, dy)) in enumerate(directions.items()):
        for k, state in enumerate(("normal", "hot", "pushed", "disabled")):
            i = d * 4 + k
            x0 = i * cell
            c = cell / 2
            if state in ("hot", "pushed"):
                canvas.fill(rounded_rect(x0 + px(s, 1), px(s, 1), x0 + cell - px(s, 1), cell - px(s, 1), 2 * s),
                            THUMB if state == "hot" else THUMB_HOT, box=box(i))
            color = ARROW_DISABLED if state == "disabled" else (WHITE if state == "pushed" else ARROW)
            # Chevron tip towards (dx, dy), arms 3.5 units back and across.
            tip = (x0 + c + dx * 2 * s, c + dy * 2 * s)
            back = 3.5 * s
            arm1 = (tip[0] - dx * back + dy * back, tip[1] - dy * back + dx * back)
            arm2 = (tip[0] - dx * back - dy * back, tip[1] - dy * back - dx * back)
            canvas.fill(polyline([arm1, tip, arm2], 1.6 * s), color, box=box(i))
    for k, color in enumerate((THUMB, THUMB_HOT, ACCENT)):
        i = 16 + k
        x0 = i * cell
        inset = 4 * s
        canvas.fill(rounded_rect(x0 + inset, px(s, 1), x0 + cell - inset, cell - px(s, 1), 4 * s), color, box=box(i))
        i = 19 + k
        x0 = i * cell
        canvas.fill(rounded_rect(x0 + px(s, 1), inset, x0 + cell - px(s, 1), cell - inset, 4 * s), color, box=box(i))
    # Cell 22 is the bare rail.
    return canvas


def spinner_frames():
    n, count = 32, 12
    frames = []
    for f in range(count):
        frame = Intensity(n, n)
        frame.fill(ring(16, 16, 11.5, 3.5), 0.16)
        frame.fill(arc(16, 16, 11.5, 3.5, -math.pi / 2 + f * 2 * math.pi / count, math.radians(100)))
        frames.append(frame.values)
    return n, n, frames


def dot_ring_frames():
    n, count = 40, 8
    fades = (1.0, 0.78, 0.6, 0.46, 0.35, 0.27, 0.21, 0.16)
    frames = []
    for f in range(count):
        frame = Intensity(n, n)
        for i in range(count):
            a = -math.pi / 2 + i * 2 * math.pi / count
            frame.fill(circle(20 + 14 * math.cos(a), 20 + 14 * math.sin(a), 3.4), fades[(f - i) % count])
        frames.append(frame.values)
    return n, n, frames


def pulse_frames():
    width, height, count = 48, 16, 12
    frames = []
    for f in range(count):
        frame = Intensity(width, height)
        for i, x in enumerate((12, 24, 36)):
            phase = (f - i * count / 6) / count * 2 * math.pi
            t = (1 + math.cos(phase)) / 2
            frame.fill(circle(x, 8, 2.6 + 1.8 * t), 0.3 + 0.7 * t)
        frames.append(frame.values)
    return width, height, frames


# ---- the image set -----------------------------------------------------------------------

def variant_name(path, percent):
    if percent == 100:
        return path
    stem, ext = os.path.splitext(path)
    return "%s@%d%s" % (stem, percent, ext)


def images():
    for percent, s in SCALES:
        yield variant_name("main/shadow.png", percent), png_bytes(shadow(s))
        yield variant_name("main/search.png", percent), png_bytes(search(s))
        for state in ("normal", "hot", "selected", "disabled"):
            yield variant_name("common/check_%s.png" % state, percent), png_bytes(check_box(s, state))
            yield variant_name("common/radio_%s.png" % state, percent), png_bytes(radio(s, state))
        for name in ("lang", "about", "min", "close", "menu"):
            for state in ("normal", "hot", "pushed"):
                yield variant_name("sysbtn/%s_%s.png" % (name, state), percent), png_bytes(caption_button(name, s, state))
        yield variant_name("scrollbar.bmp", percent), bmp_bytes(scrollbar(s))
    yield "other/loading.gif", gif_bytes(*spinner_frames(), 8, ACCENT)
    yield "other/loading2.gif", gif_bytes(*dot_ring_frames(), 10, ACCENT)
    yield "other/loading3.gif", gif_bytes(*pulse_frames(), 8, ACCENT)


def main():
    parser = argparse.ArgumentParser(description="Draws the resource images.")
    parser.add_argument("--out", default=ROOT, help="folder to write into (default: resources/)")
    out = parser.parse_args().out
    written = 0
    for path, data in images():
        target = os.path.join(out, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as f:
            f.write(data)
        written += 1
    print("make-images: wrote %d files into %s" % (written, out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
