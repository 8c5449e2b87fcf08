#!/usr/bin/env python3
"""Draws the program's icons and bitmaps and writes them as .ico / .bmp files.

Standard library only. Run from anywhere: the files land next to this script.
Shapes are described in unit coordinates (0..1 across the picture) and
rendered with supersampling, so one description serves every icon size.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------------------
# A tiny raster: RGBA floats, shapes as coverage tests, "over" compositing.
# ---------------------------------------------------------------------------


class Canvas:
    def __init__(self, width, height, background=(0, 0, 0, 0)):
        self.width = width
        self.height = height
        self.px = [list(background) for _ in range(width * height)]

    def get(self, x, y):
        return self.px[y * self.width + x]

    def blend(self, x, y, colour, coverage):
        """Puts colour (r, g, b[, a]) over pixel (x, y) with the given coverage."""
        if coverage <= 0:
            return
        r, g, b = colour[:3]
        a = (colour[3] if len(colour) > 3 else 1.0) * min(coverage, 1.0)
        dst = self.px[y * self.width + x]
        out_a = a + dst[3] * (1 - a)
        if out_a <= 0:
            return
        for i, c in enumerate((r, g, b)):
            dst[i] = (c * a + dst[i] * dst[3] * (1 - a)) / out_a
        dst[3] = out_a

    def fill(self, inside, colour, samples=4):
        """Fills every pixel by the share of its sub-samples for which
        inside(u, v) holds; (u, v) are unit coordinates of the picture.
        colour is (r, g, b[, a]) or a function (x, y) -> (r, g, b)."""
        n = samples * samples
        for y in range(self.height):
            for x in range(self.width):
                hits = 0
                for j in range(samples):
                    v = (y + (j + 0.5) / samples) / self.height
                    for i in range(samples):
                        u = (x + (i + 0.5) / samples) / self.width
                        if inside(u, v):
                            hits += 1
                if hits:
                    col = colour(x, y) if callable(colour) else colour
                    self.blend(x, y, col, hits / n)

    def shade(self, func):
        """Sets every pixel to func(x, y) -> (r, g, b) (opaque)."""
        for y in range(self.height):
            for x in range(self.width):
                r, g, b = func(x, y)
                self.px[y * self.width + x] = [r, g, b, 1.0]


def rgb(hex_colour, alpha=1.0):
    return ((hex_colour >> 16) & 255, (hex_colour >> 8) & 255, hex_colour & 255, alpha)


# Shape tests in unit coordinates --------------------------------------------

def circle(cx, cy, r):
    return lambda u, v: (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def ellipse(cx, cy, rx, ry):
    return lambda u, v: ((u - cx) / rx) ** 2 + ((v - cy) / ry) ** 2 <= 1


def rect(x0, y0, x1, y1):
    return lambda u, v: x0 <= u <= x1 and y0 <= v <= y1


def round_rect(x0, y0, x1, y1, r):
    def inside(u, v):
        if not (x0 <= u <= x1 and y0 <= v <= y1):
            return False
        cx = min(max(u, x0 + r), x1 - r)
        cy = min(max(v, y0 + r), y1 - r)
        return (u - cx) ** 2 + (v - cy) ** 2 <= r * r
    return inside


def polygon(points):
    def inside(u, v):
        hit = False
        n = len(points)
        for i in range(n):
            (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
            if (ay > v) != (by > v):
                if u < ax + (v - ay) * (bx - ax) / (by - ay):
                    hit = not hit
        return hit
    return inside


def segment(ax, ay, bx, by, width):
    """A line from a to b with round caps."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    half2 = (width / 2) ** 2

    def inside(u, v):
        t = 0 if length2 == 0 else max(0, min(1, ((u - ax) * dx + (v - ay) * dy) / length2))
        px, py = ax + t * dx, ay + t * dy
        return (u - px) ** 2 + (v - py) ** 2 <= half2
    return inside


def union(*shapes):
    return lambda u, v: any(s(u, v) for s in shapes)


def minus(shape, hole):
    return lambda u, v: shape(u, v) and not hole(u, v)


def outline(shape, inner):
    return minus(shape, inner)


def bubble(x0, y0, x1, y1, r, tail):
    """A speech bubble: rounded body plus a triangular tail (list of points)."""
    return union(round_rect(x0, y0, x1, y1, r), polygon(tail))


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------


def to_bytes_bgr(canvas, background=(255, 255, 255)):
    """Flattens the canvas onto an opaque background; rows bottom-up, BGR,
    each row padded to 4 bytes."""
    row_pad = (4 - (canvas.width * 3) % 4) % 4
    out = bytearray()
    for y in range(canvas.height - 1, -1, -1):
        for x in range(canvas.width):
            r, g, b, a = canvas.get(x, y)
            px = [round(c * a + bg * (1 - a)) for c, bg in zip((r, g, b), background)]
            out += bytes((min(255, px[2]), min(255, px[1]), min(255, px[0])))
        out += b"\0" * row_pad
    return bytes(out)


def write_bmp(path, canvas, background=(255, 255, 255)):
    pixels = to_bytes_bgr(canvas, background)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0,
                       len(pixels), 2835, 2835, 0, 0)
    head = b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(head + info + pixels)


def icon_image(canvas):
    """One icon image: BITMAPINFOHEADER (double height), 32-bit BGRA rows
    bottom-up, then the 1-bit AND mask (set where fully transparent)."""
    w, h = canvas.width, canvas.height
    colour = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = canvas.get(x, y)
            colour += bytes((round(b), round(g), round(r), round(a * 255)))
    mask_row = ((w + 31) // 32) * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(mask_row)
        for x in range(w):
            if round(canvas.get(x, y)[3] * 255) == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                       len(colour) + len(mask), 0, 0, 0, 0)
    return info + bytes(colour) + bytes(mask)


def write_ico(path, canvases):
    images = [icon_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.width % 256, c.height % 256, 0, 0, 1, 32,
                           len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


# ---------------------------------------------------------------------------
# The pictures
# ---------------------------------------------------------------------------

BLUE = 0x2F7BD9
BLUE_DARK = 0x1D5BAA
ORANGE = 0xF08A24
RED = 0xE0393E
GREEN = 0x2EA86B
STEEL = 0x5A7FA8
SLATE = 0x56687D
NEAR_WHITE = 0xFEFEFE  # pure white is the mask colour of the tree bitmaps


def chat_bubble_shape(x0=0.08, y0=0.14, x1=0.92, y1=0.70):
    """The program's mark: a rounded speech bubble with its tail at the lower left."""
    w = x1 - x0
    return bubble(x0, y0, x1, y1, 0.16 * w / 0.84,
                  [(x0 + 0.16 * w, y1 - 0.02), (x0 + 0.10 * w, y1 + 0.22 * w),
                   (x0 + 0.40 * w, y1 - 0.02)])


def three_dots(cx, cy, spacing, r):
    return union(circle(cx - spacing, cy, r), circle(cx, cy, r), circle(cx + spacing, cy, r))


def bubble_dots(size, cy, spacing, r):
    """The three dots inside the bubble. Tiny pictures get crisp 2 x 2 pixel
    dots on whole-pixel positions instead of blurred discs."""
    if size > 20:
        return three_dots(0.5, cy, spacing, r)
    y = round(cy * size) / size
    step = 3 / size
    return three_dots(0.5, y, step, 1.2 / size)


def app_icon(size):
    c = Canvas(size, size)
    # A rounded tile with a soft vertical gradient, the white bubble on top.
    tile = round_rect(0.04, 0.04, 0.96, 0.96, 0.20)
    top, bottom = rgb(0x4A9BEA), rgb(BLUE_DARK)

    def tile_colour(x, y):
        t = y / max(1, size - 1)
        return tuple(top[i] * (1 - t) + bottom[i] * t for i in range(3))
    c.fill(tile, tile_colour)
    c.fill(chat_bubble_shape(0.18, 0.22, 0.82, 0.66), rgb(0xFFFFFF))
    c.fill(bubble_dots(size, 0.44, 0.14, 0.055), rgb(BLUE))
    return c


def tray_icon(size, new_message):
    c = Canvas(size, size)
    body = rgb(ORANGE if new_message else BLUE)
    edge = rgb(0xB85F0E if new_message else BLUE_DARK)
    c.fill(chat_bubble_shape(0.03, 0.10, 0.97, 0.72), edge)
    c.fill(chat_bubble_shape(0.08, 0.15, 0.92, 0.67), body)
    c.fill(bubble_dots(size, 0.41, 0.20, 0.075), rgb(0xFFFFFF))
    if new_message:
        c.fill(circle(0.80, 0.20, 0.20), rgb(0xFFFFFF))
        c.fill(circle(0.80, 0.20, 0.15), rgb(RED))
    return c


def tree_bitmap(draw):
    c = Canvas(22, 22, (255, 255, 255, 1.0))
    draw(c)
    return c


def triangle_down(c):
    c.fill(polygon([(0.26, 0.36), (0.74, 0.36), (0.50, 0.66)]), rgb(SLATE))


def triangle_right(c):
    c.fill(polygon([(0.36, 0.26), (0.66, 0.50), (0.36, 0.74)]), rgb(SLATE))


def person(c, colour, dark, cx=0.50):
    c.fill(union(circle(cx, 0.32, 0.20), ellipse(cx, 0.92, 0.36, 0.34)), rgb(dark))
    c.fill(union(circle(cx, 0.32, 0.16), ellipse(cx, 0.92, 0.31, 0.30)), rgb(colour))
    c.fill(ellipse(cx - 0.06, 0.26, 0.06, 0.045), rgb(NEAR_WHITE, 0.55))


def own_client(c):
    person(c, GREEN, 0x1E7A4B, cx=0.42)
    # the own client's mark: a small blue bubble badge at the upper right
    c.fill(circle(0.80, 0.22, 0.19), rgb(NEAR_WHITE))
    c.fill(bubble(0.64, 0.09, 0.96, 0.33, 0.07, [(0.68, 0.30), (0.66, 0.42), (0.78, 0.30)]),
           rgb(BLUE))


def other_client(c):
    person(c, STEEL, 0x3E5C7E)


def hash_client(c):
    back = bubble(0.05, 0.08, 0.66, 0.52, 0.12, [(0.14, 0.48), (0.10, 0.66), (0.30, 0.48)])
    front = bubble(0.34, 0.38, 0.95, 0.82, 0.12, [(0.72, 0.78), (0.88, 0.96), (0.86, 0.78)])
    c.fill(back, rgb(BLUE))
    c.fill(union(round_rect(0.30, 0.34, 0.99, 0.86, 0.14)), rgb(NEAR_WHITE))
    c.fill(front, rgb(GREEN))
    c.fill(three_dots(0.645, 0.60, 0.14, 0.05), rgb(NEAR_WHITE))


def user_list_background():
    """A light, calm wash of gentle waves; every term repeats exactly across
    the 419 x 101 tile, so the pattern brush tiles without seams."""
    w, h = 419, 101
    c = Canvas(w, h)
    base = (236, 242, 248)

    def colour(x, y):
        a = 2 * math.pi * (x / w)
        b = 2 * math.pi * (y / h)
        wave = (math.sin(3 * a + 2 * b) * 0.55 + math.sin(-2 * a + 3 * b) * 0.30
                + math.sin(5 * a + b) * 0.15)
        tint = 7.0 * wave
        return (base[0] + tint * 0.9, base[1] + tint * 0.7, base[2] + tint * 0.4)
    c.shade(colour)
    return c


def notice_background():
    """181 x 116: a header band for the title, a soft body, a thin frame and
    the program's bubble at the title's left."""
    w, h = 181, 116
    c = Canvas(w, h)
    band = 24

    def colour(x, y):
        if y < band:
            t = y / band
            return (196 - 18 * t, 222 - 12 * t, 246 - 4 * t)
        t = (y - band) / (h - band)
        return (246 - 12 * t, 250 - 8 * t, 255 - 4 * t)
    c.shade(colour)
    for x in range(w):  # line under the header band
        c.blend(x, band, rgb(0x8FB5DD), 1.0)
    frame = Canvas(w, h)
    for x in range(w):
        for y in (0, h - 1):
            frame.blend(x, y, rgb(0x5E8FC4), 1.0)
    for y in range(h):
        for x in (0, w - 1):
            frame.blend(x, y, rgb(0x5E8FC4), 1.0)
    for i, p in enumerate(frame.px):
        if p[3]:
            c.px[i] = p
    # small mark at (7, 4), 18 x 18 pixels
    mark = Canvas(18, 18)
    mark.fill(chat_bubble_shape(0.03, 0.10, 0.97, 0.72), rgb(BLUE_DARK))
    mark.fill(chat_bubble_shape(0.08, 0.15, 0.92, 0.67), rgb(BLUE))
    mark.fill(bubble_dots(18, 0.41, 0.20, 0.075), rgb(0xFFFFFF))
    for y in range(18):
        for x in range(18):
            p = mark.get(x, y)
            c.blend(7 + x, 4 + y, p[:3], p[3])
    return c


# Tool bar: 16 x 15 buttons on the button-face grey that the tool bar maps to
# the system colour. Order: New, Open, Save, Cut, Copy, Paste, Print, About.
BUTTON_FACE = (192, 192, 192)


def tb_new(c):
    page = polygon([(0.22, 0.06), (0.62, 0.06), (0.80, 0.26), (0.80, 0.94), (0.22, 0.94)])
    c.fill(page, rgb(0x505050))
    c.fill(polygon([(0.28, 0.13), (0.58, 0.13), (0.73, 0.30), (0.73, 0.87), (0.28, 0.87)]),
           rgb(0xFFFFFF))
    c.fill(polygon([(0.58, 0.10), (0.58, 0.30), (0.77, 0.30)]), rgb(0x909090))


def tb_open(c):
    c.fill(polygon([(0.06, 0.22), (0.34, 0.22), (0.42, 0.32), (0.82, 0.32), (0.82, 0.86),
                    (0.06, 0.86)]), rgb(0x9A6B12))
    c.fill(polygon([(0.10, 0.30), (0.32, 0.30), (0.39, 0.38), (0.78, 0.38), (0.78, 0.80),
                    (0.10, 0.80)]), rgb(0xF2C14E))
    c.fill(polygon([(0.24, 0.50), (0.98, 0.50), (0.82, 0.86), (0.06, 0.86)]), rgb(0xE0A526))


def tb_save(c):
    c.fill(round_rect(0.10, 0.08, 0.90, 0.92, 0.06), rgb(0x24467A))
    c.fill(rect(0.26, 0.12, 0.74, 0.42), rgb(0xFFFFFF))
    c.fill(rect(0.30, 0.60, 0.70, 0.92), rgb(0xB8C4D6))
    c.fill(rect(0.56, 0.64, 0.64, 0.86), rgb(0x24467A))


def tb_cut(c):
    c.fill(segment(0.30, 0.08, 0.62, 0.62, 0.09), rgb(0x404040))
    c.fill(segment(0.70, 0.08, 0.38, 0.62, 0.09), rgb(0x404040))
    for cx in (0.30, 0.70):
        c.fill(outline(circle(cx, 0.76, 0.17), circle(cx, 0.76, 0.09)), rgb(0xB02020))


def tb_copy(c):
    for dx, dy in ((0.0, 0.0), (0.30, 0.30)):
        c.fill(rect(0.08 + dx, 0.06 + dy, 0.60 + dx, 0.64 + dy), rgb(0x505050))
        c.fill(rect(0.14 + dx, 0.12 + dy, 0.54 + dx, 0.58 + dy), rgb(0xFFFFFF))


def tb_paste(c):
    c.fill(round_rect(0.12, 0.12, 0.80, 0.94, 0.06), rgb(0x8A5A1E))
    c.fill(rect(0.32, 0.04, 0.60, 0.20), rgb(0x505050))
    c.fill(rect(0.44, 0.40, 0.94, 0.96), rgb(0x505050))
    c.fill(rect(0.50, 0.46, 0.88, 0.90), rgb(0xFFFFFF))


def tb_print(c):
    c.fill(rect(0.26, 0.06, 0.74, 0.40), rgb(0x505050))
    c.fill(rect(0.31, 0.11, 0.69, 0.40), rgb(0xFFFFFF))
    c.fill(round_rect(0.06, 0.38, 0.94, 0.78, 0.08), rgb(0x606060))
    c.fill(rect(0.26, 0.62, 0.74, 0.94), rgb(0x505050))
    c.fill(rect(0.31, 0.66, 0.69, 0.89), rgb(0xFFFFFF))
    c.fill(circle(0.80, 0.50, 0.05), rgb(0x40D040))


def tb_about(c):
    c.fill(circle(0.50, 0.50, 0.46), rgb(BLUE_DARK))
    c.fill(circle(0.50, 0.50, 0.40), rgb(BLUE))
    c.fill(circle(0.50, 0.27, 0.08), rgb(0xFFFFFF))
    c.fill(round_rect(0.42, 0.42, 0.58, 0.80, 0.04), rgb(0xFFFFFF))


TOOLBAR_BUTTONS = [tb_new, tb_open, tb_save, tb_cut, tb_copy, tb_paste, tb_print, tb_about]


def toolbar():
    strip = Canvas(16 * len(TOOLBAR_BUTTONS), 15, BUTTON_FACE + (1.0,))
    for i, draw in enumerate(TOOLBAR_BUTTONS):
        button = Canvas(15, 15)  # a square picture inside the 16 x 15 cell
        draw(button)
        for y in range(15):
            for x in range(15):
                p = button.get(x, y)
                strip.blend(16 * i + x, y, p[:3], p[3])
    return strip


def main():
    out = lambda name: os.path.join(HERE, name)
    write_ico(out("ZQ.ico"), [app_icon(s) for s in (16, 32, 48, 64)])
    write_ico(out("tray_normal.ico"), [tray_icon(s, False) for s in (16, 32)])
    write_ico(out("tray_new_message.ico"), [tray_icon(s, True) for s in (16, 32)])
    write_bmp(out("tree_group_open.bmp"), tree_bitmap(triangle_down))
    write_bmp(out("tree_group_closed.bmp"), tree_bitmap(triangle_right))
    write_bmp(out("tree_own_client.bmp"), tree_bitmap(own_client))
    write_bmp(out("tree_other_client.bmp"), tree_bitmap(other_client))
    write_bmp(out("tree_hash_client.bmp"), tree_bitmap(hash_client))
    write_bmp(out("user_list_background.bmp"), user_list_background())
    write_bmp(out("msgwnd_background.bmp"), notice_background())
    write_bmp(out("toolbar.bmp"), toolbar(), BUTTON_FACE)


if __name__ == "__main__":
    main()
