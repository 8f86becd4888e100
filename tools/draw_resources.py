#!/usr/bin/env python3
"""Draws the program's pictures into app/res: the action glyph strip, the
application icon and the About box's two pictures (JPEG, encoded by
ImageMagick's convert); and the editor's pictures into syntaxedit/res: its
gutter images, the wrapped-row glyph, the hyperlink cursor, the colour
button's drop-down arrows and the spin button's glyphs; and the control
library's row indicators, cursors and panning anchors into controls/res. Run it again
after changing a drawing; the outputs are committed, so the build needs no
Python.

Usage: tools/draw_resources.py [OUTDIR]   (default: app/res beside tools/)
"""
import os
import struct
import subprocess
import sys

# The image list takes this colour as transparent (the class library's
# clFuchsia), so glyphs never use it.
MASK = (255, 0, 255)
GLYPH = 16
GLYPH_COUNT = 21

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
LIGHT = (208, 208, 208)
NAVY = (0, 0, 128)
BLUE = (40, 100, 200)
SKY = (150, 190, 240)
GREEN = (0, 150, 0)
LIGHTGREEN = (120, 210, 120)
RED = (200, 0, 0)
YELLOW = (250, 210, 60)
OCHRE = (200, 150, 30)
BROWN = (150, 100, 40)


class Canvas:
    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.px = [[fill] * width for _ in range(height)]

    def dot(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.line(x0, y0, x1, y0, c)
        self.line(x0, y1, x1, y1, c)
        self.line(x0, y0, x0, y1, c)
        self.line(x1, y0, x1, y1, c)

    def line(self, x0, y0, x1, y1, c):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.dot(round(x0 + (x1 - x0) * i / steps),
                     round(y0 + (y1 - y0) * i / steps), c)

    def disc(self, cx, cy, r, fill, edge):
        for y in range(self.height):
            for x in range(self.width):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if d <= r - 0.5:
                    self.dot(x, y, fill)
                elif d <= r + 0.5:
                    self.dot(x, y, edge)

    def polygon(self, points, c):
        # Even-odd fill at pixel centres.
        for y in range(self.height):
            for x in range(self.width):
                px, py = x + 0.5, y + 0.5
                inside = False
                for i in range(len(points)):
                    ax, ay = points[i]
                    bx, by = points[i - 1]
                    if (ay > py) != (by > py) and \
                            px < ax + (py - ay) * (bx - ax) / (by - ay):
                        inside = not inside
                if inside:
                    self.dot(x, y, c)


def cylinder(c, x0, y0, x1, y1, body=SKY, edge=NAVY):
    c.rect(x0, y0 + 1, x1, y1 - 1, body)
    c.line(x0, y0 + 1, x0, y1 - 1, edge)
    c.line(x1, y0 + 1, x1, y1 - 1, edge)
    c.line(x0 + 1, y0, x1 - 1, y0, edge)
    c.line(x0 + 1, y0 + 2, x1 - 1, y0 + 2, edge)
    c.line(x0 + 1, y1, x1 - 1, y1, edge)


def page(c, x0=3, y0=1, x1=12, y1=14):
    c.rect(x0, y0, x1, y1, WHITE)
    c.frame(x0, y0, x1, y1, GREY)
    for y in range(y0 + 3, y1 - 1, 2):
        c.line(x0 + 2, y, x1 - 2, y, LIGHT)


def pencil(c):
    c.polygon([(3, 13), (4, 10), (11, 3), (13, 5), (6, 12)], YELLOW)
    c.line(4, 10, 11, 3, OCHRE)
    c.line(6, 12, 13, 5, OCHRE)
    c.line(11, 3, 13, 5, RED)
    c.line(12, 2, 14, 4, RED)
    c.dot(3, 13, BLACK)
    c.dot(4, 12, BLACK)


def info(c):
    c.disc(7.5, 7.5, 7, BLUE, NAVY)
    c.rect(7, 3, 8, 4, WHITE)
    c.rect(7, 6, 8, 12, WHITE)
    c.line(6, 6, 6, 6, WHITE)
    c.line(6, 12, 9, 12, WHITE)


def create_db(c):
    cylinder(c, 1, 2, 11, 14)
    c.rect(11, 9, 13, 15, GREEN)
    c.rect(9, 11, 15, 13, GREEN)


def save(c):
    c.rect(1, 1, 14, 14, NAVY)
    c.rect(4, 2, 11, 7, WHITE)
    c.rect(4, 10, 11, 14, LIGHT)
    c.rect(5, 11, 6, 13, NAVY)


def db_status(c):
    cylinder(c, 1, 1, 10, 12)
    c.disc(11, 11, 3.5, WHITE, BLACK)
    c.line(13, 13, 15, 15, BLACK)


def options(c):
    c.disc(7.5, 7.5, 6.5, GREY, BLACK)
    for x, y in ((7, 0), (7, 14), (0, 7), (14, 7), (2, 2), (12, 12), (2, 12), (12, 2)):
        c.rect(x, y, x + 1, y + 1, BLACK)
    c.disc(7.5, 7.5, 2.5, WHITE, BLACK)


def synchronize(c):
    c.polygon([(1, 5), (10, 5), (10, 2), (15, 6.5), (10, 11), (10, 8), (1, 8)], GREEN)
    c.polygon([(15, 10), (6, 10), (6, 7), (1, 11.5), (6, 16), (6, 13), (15, 13)], BLUE)


def exit_door(c):
    c.rect(2, 1, 10, 14, BROWN)
    c.frame(2, 1, 10, 14, BLACK)
    c.dot(8, 8, YELLOW)
    c.polygon([(9, 6), (12, 6), (12, 3), (16, 7.5), (12, 12), (12, 9), (9, 9)], RED)


def folder(c):
    c.rect(1, 3, 6, 5, OCHRE)
    c.rect(1, 5, 14, 13, YELLOW)
    c.frame(1, 5, 14, 13, OCHRE)
    c.line(1, 3, 6, 3, OCHRE)


def run_script(c):
    page(c, 1, 1, 10, 14)
    c.polygon([(7, 5), (15, 10), (7, 15)], GREEN)
    c.line(7, 5, 7, 15, (0, 100, 0))


def extract(c):
    cylinder(c, 0, 1, 7, 10)
    page(c, 8, 5, 15, 15)
    c.polygon([(4, 12), (7, 12), (7, 10), (10, 13.5), (7, 17), (7, 15), (4, 15)], GREEN)


# Index in the strip -> drawing; the actions name these indices.
DRAWINGS = {
    1: pencil,
    3: info,
    5: create_db,
    6: save,
    7: db_status,
    9: options,
    12: synchronize,
    17: exit_door,
    18: folder,
    19: run_script,
    20: extract,
}


def bmp24(canvas):
    row = (canvas.width * 3 + 3) & ~3
    data = bytearray()
    for y in reversed(range(canvas.height)):
        line = bytearray()
        for r, g, b in canvas.px[y]:
            line += bytes((b, g, r))
        data += line + bytes(row - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 24, 0,
                         len(data), 2835, 2835, 0, 0)
    return b'BM' + struct.pack('<IHHI', 14 + len(header) + len(data), 0, 0,
                               14 + len(header)) + header + data


def glyph_strip():
    strip = Canvas(GLYPH * GLYPH_COUNT, GLYPH, MASK)
    for index, draw in DRAWINGS.items():
        glyph = Canvas(GLYPH, GLYPH, MASK)
        draw(glyph)
        for y in range(GLYPH):
            for x in range(GLYPH):
                strip.px[y][index * GLYPH + x] = glyph.px[y][x]
    return bmp24(strip)


def icon_image(size):
    # Drawn on a 16-pixel grid and scaled, so each size shows the same mark.
    c = Canvas(16, 16, MASK)
    cylinder(c, 0, 0, 9, 9)
    cylinder(c, 6, 6, 15, 15, LIGHTGREEN, (0, 90, 0))
    scale = size // 16
    rows = []
    for y in range(size):
        rows.append([c.px[y // scale][x // scale] for x in range(size)])
    return rows


def icon_entry(rows):
    size = len(rows)
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b in row:
            alpha = 0 if (r, g, b) == MASK else 255
            xor += bytes((b, g, r, alpha) if alpha else (0, 0, 0, 0))
    mask_row = ((size + 31) // 32) * 4
    and_mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_row)
        for x, px in enumerate(row):
            if px == MASK:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                         len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def icon():
    sizes = (16, 32, 48)
    images = [icon_entry(icon_image(s)) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b''.join(images)


# A 5 by 7 pixel capital alphabet, as far as the logo spells.
LETTERS = {
    'A': ('01110', '10001', '10001', '11111', '10001', '10001', '10001'),
    'C': ('01111', '10000', '10000', '10000', '10000', '10000', '01111'),
    'E': ('11111', '10000', '10000', '11110', '10000', '10000', '11111'),
    'H': ('10001', '10001', '10001', '11111', '10001', '10001', '10001'),
    'L': ('10000', '10000', '10000', '10000', '10000', '10000', '11111'),
    'M': ('10001', '11011', '10101', '10101', '10001', '10001', '10001'),
    'N': ('10001', '11001', '10101', '10011', '10001', '10001', '10001'),
    'O': ('01110', '10001', '10001', '10001', '10001', '10001', '01110'),
    'R': ('11110', '10001', '10001', '11110', '10100', '10010', '10001'),
    'S': ('01111', '10000', '10000', '01110', '00001', '00001', '11110'),
    'V': ('10001', '10001', '10001', '10001', '10001', '01010', '00100'),
    'Y': ('10001', '10001', '01010', '00100', '00100', '00100', '00100'),
    ' ': ('00000',) * 7,
}


def text_width(text, scale):
    return len(text) * 6 * scale - scale


def text(c, x, y, s, scale, colour):
    for ch in s:
        for row, bits in enumerate(LETTERS[ch]):
            for col, bit in enumerate(bits):
                if bit == '1':
                    c.rect(x + col * scale, y + row * scale,
                           x + col * scale + scale - 1, y + row * scale + scale - 1, colour)
        x += 6 * scale


def ellipse(c, cx, cy, rx, ry, fill=None, edge=None, lower_only=False):
    for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
        if lower_only and y + 0.5 < cy:
            continue
        for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
            d = (((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2) ** 0.5
            if edge and abs(d - 1) * min(rx, ry) < 0.6:
                c.dot(x, y, edge)
            elif fill and d < 1:
                c.dot(x, y, fill)


def database(c, cx, top, bottom, rx, ry, body, lid, edge):
    """A database drum: a body between two ellipses, with two bands."""
    c.rect(int(cx - rx), top, int(cx + rx) - 1, bottom, body)
    ellipse(c, cx, bottom, rx, ry, fill=body)
    for band in (top + (bottom - top) // 3, top + 2 * (bottom - top) // 3, bottom):
        ellipse(c, cx, band, rx, ry, edge=edge, lower_only=True)
    c.line(int(cx - rx), top, int(cx - rx), bottom, edge)
    c.line(int(cx + rx) - 1, top, int(cx + rx) - 1, bottom, edge)
    ellipse(c, cx, top, rx, ry, fill=lid, edge=edge)


LOGO_SIZE = (150, 41)
PICTURE_SIZE = (200, 51)


def about_logo():
    """The product's mark and name on white, for the top of the About box."""
    c = Canvas(*LOGO_SIZE, WHITE)
    database(c, 14, 8, 24, 9, 3, SKY, WHITE, NAVY)
    database(c, 26, 17, 33, 9, 3, LIGHTGREEN, WHITE, (0, 90, 0))
    name, tagline = 'VELMORA', 'SCHEMA SYNC'
    left = 44 + (LOGO_SIZE[0] - 44 - text_width(name, 2)) // 2
    text(c, left, 7, name, 2, NAVY)
    c.line(left, 24, left + text_width(name, 2) - 1, 24, SKY)
    text(c, left + (text_width(name, 2) - text_width(tagline, 1)) // 2, 28, tagline, 1, GREY)
    return c


def about_picture():
    """Two databases made equal: the picture at the bottom of the About box."""
    width, height = PICTURE_SIZE
    c = Canvas(width, height, WHITE)
    for y in range(height):
        t = y / (height - 1)
        c.line(0, y, width - 1, y, (round(235 - 40 * t), round(242 - 25 * t), round(252 - 10 * t)))
    database(c, 34, 10, 40, 20, 6, SKY, (220, 235, 252), NAVY)
    database(c, 166, 10, 40, 20, 6, LIGHTGREEN, (220, 245, 220), (0, 90, 0))
    scale, dx, dy = 3, 76, 1
    arrows = (([(1, 5), (10, 5), (10, 2), (15, 6.5), (10, 11), (10, 8), (1, 8)], GREEN),
              ([(15, 10), (6, 10), (6, 7), (1, 11.5), (6, 16), (6, 13), (15, 13)], BLUE))
    for points, colour in arrows:
        c.polygon([(dx + x * scale, dy + y * scale) for x, y in points], colour)
    return c


# The editor's gutter images: one strip of 15 x 16 cells on the button face
# colour (the image lists take it as transparent, the painter takes each
# image's bottom-left pixel): bookmarks 0-9, then the breakpoint mark and the
# execution point.
FACE = (192, 192, 192)
GUTTER_CELL = 15
GUTTER_STRIP = 254
DIGITS = ('111', '101', '101', '101', '111'), ('010', '110', '010', '010', '111'), \
    ('111', '001', '111', '100', '111'), ('111', '001', '111', '001', '111'), \
    ('101', '101', '111', '001', '001'), ('111', '100', '111', '001', '111'), \
    ('111', '100', '111', '101', '111'), ('111', '001', '010', '010', '010'), \
    ('111', '101', '111', '101', '111'), ('111', '101', '111', '001', '111')


def bookmark(c, digit):
    c.rect(2, 1, 11, 13, (0, 120, 200))
    c.frame(2, 1, 11, 13, NAVY)
    for row, bits in enumerate(DIGITS[digit]):
        for col, bit in enumerate(bits):
            if bit == '1':
                c.rect(4 + col * 2, 2 + row * 2, 5 + col * 2, 3 + row * 2, WHITE)


def breakpoint_mark(c):
    c.disc(7, 7, 5, RED, (120, 0, 0))


def execution_point(c):
    c.polygon([(2, 4), (8, 4), (8, 1), (14, 7.5), (8, 14), (8, 11), (2, 11)], (0, 170, 0))


def gutter_strip():
    strip = Canvas(GUTTER_STRIP, 16, FACE)
    drawings = [lambda c, d=d: bookmark(c, d) for d in range(10)] + [breakpoint_mark, execution_point]
    for index, draw in enumerate(drawings):
        cell = Canvas(GUTTER_CELL, 16, FACE)
        draw(cell)
        for y in range(16):
            for x in range(GUTTER_CELL):
                strip.px[y][index * GUTTER_CELL + x] = cell.px[y][x]
    return bmp24(strip)


def wrapped_glyph():
    """The mark of a row that continues the line above: a bent arrow."""
    c = Canvas(GUTTER_CELL, 16, FACE)
    c.line(11, 2, 11, 10, NAVY)
    c.line(12, 2, 12, 10, NAVY)
    c.line(4, 10, 12, 10, NAVY)
    c.line(4, 11, 12, 11, NAVY)
    c.polygon([(1, 10.5), (5, 6.5), (5, 14.5)], NAVY)
    return bmp24(c)


def arrow(c, x0, y0, width, colour, up=False):
    """A filled arrow head width pixels wide (odd) at its base."""
    rows = (width + 1) // 2
    for i in range(rows):
        y = y0 + (rows - 1 - i if up else i)
        c.line(x0 + i, y, x0 + width - 1 - i, y, colour)


def colour_button_arrow(disabled=False):
    """The drop-down mark right of the colour button's swatch; the corner
    pixel at the bottom left is the transparent colour."""
    if not disabled:
        c = Canvas(7, 4, FACE)
        arrow(c, 0, 0, 7, BLACK)
        return bmp24(c)
    c = Canvas(8, 5, FACE)
    arrow(c, 1, 1, 7, WHITE)
    arrow(c, 0, 0, 7, GREY)
    return bmp24(c)


def spin_glyph(up):
    c = Canvas(9, 5, FACE)
    arrow(c, 1, 0 if up else 1, 7, BLACK, up)
    return bmp24(c)

def font_type_canvas(truetype, background=WHITE):
    """The type mark of a font-name list row (the corner pixel is the
    transparent colour): two overlapping letters T, grey behind black, for
    TrueType fonts, and a letter A on a page for the others."""
    c = Canvas(13, 13, background)
    if truetype:
        for dx, dy, colour in ((0, 0, GREY), (4, 3, BLACK)):
            c.rect(dx + 1, dy + 1, dx + 7, dy + 2, colour)
            c.rect(dx + 3, dy + 1, dx + 5, dy + 9, colour)
        return c
    c.frame(1, 0, 11, 12, GREY)
    c.line(3, 10, 6, 2, NAVY)
    c.line(6, 2, 9, 10, NAVY)
    c.line(4, 7, 8, 7, NAVY)
    return c


def font_type_icon(truetype):
    return bmp24(font_type_canvas(truetype))


HAND = (
    '.....XX.........',
    '....X..X........',
    '....X..X........',
    '....X..X........',
    '....X..XXX......',
    '....X..X..XXX...',
    '....X..X..X..XX.',
    '.XX.X..X..X..X.X',
    'X..XX........X.X',
    'X...X..........X',
    '.X.............X',
    '..X............X',
    '..X...........X.',
    '...X..........X.',
    '....X........X..',
    '.....XXXXXXXXX..',
)


def mono_cursor(grid, hot_x, hot_y):
    """A 32 x 32 monochrome cursor from rows of 'X' (black), '.' (white) and
    anything else (transparent)."""
    size = 32
    and_mask = bytearray()
    xor = bytearray()
    for y in reversed(range(size)):
        and_row = bytearray(b'\xff' * 4)
        xor_row = bytearray(4)
        for x in range(size):
            ch = grid[y][x] if y < len(grid) and x < len(grid[y]) else ' '
            if ch in 'X.':
                and_row[x // 8] &= ~(0x80 >> (x % 8)) & 0xFF
            if ch == '.':
                xor_row[x // 8] |= 0x80 >> (x % 8)
        and_mask += and_row
        xor += xor_row
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 1, 0, len(xor) + len(and_mask), 0, 0, 2, 0)
    image = header + palette + xor + and_mask
    return (struct.pack('<HHH', 0, 2, 1) +
            struct.pack('<BBBBHHII', size, size, 0, 0, hot_x, hot_y, len(image), 22) + image)


def hyper_hand():
    """A pointing hand with its tip as the hot spot."""
    grid = []
    for row in HAND:
        edge = [x for x, ch in enumerate(row) if ch == 'X']
        line = [' '] * len(row)
        if edge:
            for x in range(edge[0], edge[-1] + 1):
                line[x] = 'X' if row[x] == 'X' else '.'
        grid.append(''.join(line))
    return mono_cursor(grid, 5, 0)


def scroll_cursor(directions, dot=True, plus=False):
    """The panning and drag cursors: arrows pointing out of a centre dot
    (hot spot at the centre), or a plain arrow with a plus box."""
    g = [[' '] * 32 for _ in range(32)]

    def put(x, y, ch):
        if 0 <= x < 32 and 0 <= y < 32 and (ch == 'X' or g[y][x] == ' '):
            g[y][x] = ch

    c = 15
    for d in directions:
        for i in range(6):
            for j in range(-i, i + 1):
                ch = 'X' if abs(j) == i or i == 5 else '.'
                if d == 'up':
                    put(c + j, c - 11 + i, ch)
                elif d == 'down':
                    put(c + j, c + 11 - i, ch)
                elif d == 'left':
                    put(c - 11 + i, c + j, ch)
                elif d == 'right':
                    put(c + 11 - i, c + j, ch)
    if dot:
        for y in range(c - 2, c + 3):
            for x in range(c - 2, c + 3):
                put(x, y, 'X' if abs(x - c) == 2 or abs(y - c) == 2 else '.')
    if plus:
        for y in range(0, 12):
            for x in range(0, y + 1):
                put(x, y, 'X' if x == 0 or x == y or y == 11 else '.')
        for y in range(18, 27):
            for x in range(18, 27):
                edge = x in (18, 26) or y in (18, 26)
                cross = (x == 22 and 20 <= y <= 24) or (y == 22 and 20 <= x <= 24)
                put(x, y, 'X' if edge or cross else '.')
    return mono_cursor([''.join(row) for row in g], 0 if plus else c, 0 if plus else c)


# The control library's cursors by resource name.
CONTROL_CURSORS = {
    'dragcopy.cur': lambda: scroll_cursor([], dot=False, plus=True),
    'fullscroll.cur': lambda: scroll_cursor(['up', 'down', 'left', 'right']),
    'horscroll.cur': lambda: scroll_cursor(['left', 'right']),
    'verscroll.cur': lambda: scroll_cursor(['up', 'down']),
    'upscroll.cur': lambda: scroll_cursor(['up']),
    'rightscroll.cur': lambda: scroll_cursor(['right']),
    'downscroll.cur': lambda: scroll_cursor(['down']),
    'leftscroll.cur': lambda: scroll_cursor(['left']),
}


def panning_anchor(directions):
    """The mark shown under the mouse while the middle button pans: a
    grey disc with a dot and triangles for the directions it scrolls."""
    size = 28
    c = Canvas(size, size, WHITE)
    mid = (size - 1) / 2
    c.disc(mid, mid, mid, LIGHT, GREY)
    m = size // 2
    c.rect(m - 2, m - 2, m + 1, m + 1, BLACK)
    for d in directions:
        for i in range(5):
            for j in range(-i, i + 1):
                x, y = {'up': (m + j, 3 + i), 'down': (m + j, size - 4 - i),
                        'left': (3 + i, m + j), 'right': (size - 4 - i, m + j)}[d]
                c.dot(x, y, BLACK)
    return bmp24(c)


# The control library's panning anchors by resource name.
PANNING_ANCHORS = {
    'fullscroll.bmp': lambda: panning_anchor(['up', 'down', 'left', 'right']),
    'horscroll.bmp': lambda: panning_anchor(['left', 'right']),
    'verscroll.bmp': lambda: panning_anchor(['up', 'down']),
}


def jpeg(canvas):
    ppm = b'P6 %d %d 255\n' % (canvas.width, canvas.height)
    ppm += b''.join(bytes(px) for row in canvas.px for px in row)
    return subprocess.run(['convert', 'ppm:-', '-strip', '-sampling-factor', '1x1', '-quality', '92',
                           'jpg:-'], input=ppm, stdout=subprocess.PIPE, check=True).stdout


# The control library's row indicators: 5 x 9 in 16 colours on white (the
# image list takes it as transparent): the current row, editing, inserting, a
# row of a multiple selection, the current row within one.
PALETTE16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
             (128, 128, 128), (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
             (255, 0, 255), (0, 255, 255), (255, 255, 255)]
INDICATORS = {
    'arrow.bmp': ('     ', '#    ', '##   ', '###  ', '#### ', '###  ', '##   ', '#    ', '     '),
    'edit.bmp': ('## ##', '  #  ', '  #  ', '  #  ', '  #  ', '  #  ', '  #  ', '  #  ', '## ##'),
    'insert.bmp': ('     ', '     ', '# # #', ' ### ', '#####', ' ### ', '# # #', '     ', '     '),
    'multidot.bmp': ('     ', '     ', '     ', ' ### ', ' ### ', ' ### ', '     ', '     ', '     '),
    'multiarrow.bmp': ('#    ', '##   ', '###  ', '#### ', '###  ', '##   ', '#  ##', '   ##', '     '),
}


def bmp4(canvas):
    row = ((canvas.width + 1) // 2 + 3) & ~3
    data = bytearray()
    for y in reversed(range(canvas.height)):
        line = bytearray(row)
        for x, px in enumerate(canvas.px[y]):
            line[x // 2] |= PALETTE16.index(px) << (0 if x % 2 else 4)
        data += line
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in PALETTE16)
    header = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 4, 0,
                         len(data), 2835, 2835, 16, 16)
    offset = 14 + len(header) + len(palette)
    return b'BM' + struct.pack('<IHHI', offset + len(data), 0, 0, offset) + header + palette + data


def indicator(rows):
    c = Canvas(5, 9, WHITE)
    for y, line in enumerate(rows):
        for x, ch in enumerate(line):
            if ch == '#':
                c.dot(x, y, BLACK)
    return bmp4(c)


# ---- The toolbar library (bars/res) ----

def bar_cursor_grid():
    return [[' '] * 32 for _ in range(32)]


def bar_put(g, x, y, ch):
    if 0 <= x < 32 and 0 <= y < 32 and (ch == 'X' or g[y][x] == ' '):
        g[y][x] = ch


def bar_arrow(g):
    """The plain pointer at the top left (hot spot 0, 0)."""
    for y in range(0, 16):
        for x in range(0, min(y, 10) + 1):
            edge = x == 0 or x == min(y, 10) or y == 15
            bar_put(g, x, y, 'X' if edge else '.')


def bar_box(g, plus):
    """The dragged command: a small dotted box below the pointer, with a plus
    box beside it when the drag copies."""
    for y in range(18, 27):
        for x in range(6, 17):
            edge = x in (6, 16) or y in (18, 26)
            bar_put(g, x, y, ('X' if (x + y) % 2 else '.') if edge else ' ')
    if plus:
        for y in range(20, 29):
            for x in range(18, 27):
                edge = x in (18, 26) or y in (20, 28)
                cross = (x == 22 and 22 <= y <= 26) or (y == 24 and 20 <= x <= 24)
                bar_put(g, x, y, 'X' if edge or cross else '.')


def bar_drag_cursor(plus=False):
    g = bar_cursor_grid()
    bar_arrow(g)
    bar_box(g, plus)
    return mono_cursor([''.join(row) for row in g], 0, 0)


def bar_no_drop_cursor():
    """A ring with a slash, centred on the hot spot."""
    g = bar_cursor_grid()
    c = 15
    for y in range(32):
        for x in range(32):
            d = (x - c) ** 2 + (y - c) ** 2
            ring = 64 <= d <= 121
            slash = d < 64 and abs((x - c) + (y - c)) <= 1
            if ring or slash:
                bar_put(g, x, y, 'X')
            elif d <= 144 and d >= 49:
                bar_put(g, x, y, '.')
    return mono_cursor([''.join(row) for row in g], c, c)


def bar_edit_sizing_cursor():
    """A vertical bar with arrows to the left and right (hot spot at its centre)."""
    g = bar_cursor_grid()
    c = 15
    for y in range(c - 7, c + 8):
        for x in (c - 1, c, c + 1):
            bar_put(g, x, y, 'X' if x == c else '.')
    for i in range(5):
        for j in range(-i, i + 1):
            bar_put(g, c - 7 + i, c + j, 'X')
            bar_put(g, c + 7 - i, c + j, 'X')
    for x in range(c - 6, c + 7):
        bar_put(g, x, c, 'X')
    return mono_cursor([''.join(row) for row in g], c, c)


def bmp8(canvas):
    """A 256-colour bitmap of the canvas (its colours make the palette)."""
    palette = sorted(set(px for row in canvas.px for px in row))
    row = (canvas.width + 3) & ~3
    data = bytearray()
    for y in reversed(range(canvas.height)):
        line = bytearray(row)
        for x, px in enumerate(canvas.px[y]):
            line[x] = palette.index(px)
        data += line
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    table += bytes(4 * (256 - len(palette)))
    header = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    offset = 14 + len(header) + len(table)
    return b'BM' + struct.pack('<IHHI', offset + len(data), 0, 0, offset) + header + table + data


def bar_submenu_expand():
    """The expand button of personalised menus: a round button shaded from a
    light top to a darker bottom, with a black double chevron pointing down, on
    a magenta key."""
    c = Canvas(16, 16, (255, 0, 255))
    for y in range(16):
        for x in range(16):
            if (x - 7.5) ** 2 + (y - 7.5) ** 2 <= 7.2 ** 2:
                shade = 250 - y * 9
                c.dot(x, y, (shade, shade, shade))
    for top in (4, 8):
        for i in range(3):
            for x in (4 + i, 5 + i, 10 - i, 11 - i):
                c.dot(x, top + i, BLACK)
    return bmp8(c)


# The glyphs of the extended bar items: 16 x 16 on the silver key colour (the
# bottom-left pixel), which none of their drawings use inside.
BAR_KEY = (192, 192, 192)


def bar_color_combo_glyph():
    """Sixteen colour squares in a 4 x 4 grid with dark lines between them."""
    c = Canvas(16, 16, BAR_KEY)
    colours = [BLACK, (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
               GREY, WHITE, (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
               (0, 255, 255), (255, 128, 0)]
    c.rect(0, 0, 15, 15, (64, 64, 64))
    for i, colour in enumerate(colours):
        x, y = 1 + (i % 4) * 4, 1 + (i // 4) * 4
        c.rect(x, y, x + 2, y + 2, colour)
    c.dot(0, 15, BAR_KEY)
    return bmp8(c)


def bar_font_name_combo_glyph():
    """A large navy letter A beside a small black a: a font's name."""
    c = Canvas(16, 16, BAR_KEY)
    c.line(1, 14, 5, 2, NAVY)
    c.line(2, 14, 6, 2, NAVY)
    c.line(6, 2, 10, 14, NAVY)
    c.line(7, 2, 11, 14, NAVY)
    c.line(4, 10, 8, 10, NAVY)
    c.rect(12, 9, 14, 9, BLACK)
    c.rect(14, 10, 14, 14, BLACK)
    c.rect(12, 11, 13, 11, BLACK)
    c.rect(11, 12, 11, 13, BLACK)
    c.rect(12, 14, 13, 14, BLACK)
    return bmp4(c)


def bar_date_combo_glyph():
    """A calendar sheet: a red band with two rings and a grid of days, one of
    them marked."""
    c = Canvas(16, 16, BAR_KEY)
    c.rect(1, 2, 14, 14, WHITE)
    c.frame(1, 2, 14, 14, BLACK)
    c.rect(2, 3, 13, 5, (255, 0, 0))
    for x in (4, 11):
        c.rect(x, 0, x, 3, BLACK)
    for y in range(7, 14, 2):
        for x in range(3, 13, 2):
            c.dot(x, y, GREY)
    c.rect(8, 9, 10, 11, (0, 0, 255))
    return bmp4(c)


def bar_tree_view_combo_glyph():
    """A root and three children on dotted tree lines, the last one open."""
    c = Canvas(16, 16, BAR_KEY)
    for y in range(4, 14, 2):
        c.dot(3, y, GREY)
    for y in (6, 10, 14):
        for x in range(4, 7, 2):
            c.dot(x, y - 1, GREY)
    c.rect(1, 0, 6, 3, (0, 0, 128))
    for y, colour in ((4, (255, 255, 0)), (8, (0, 128, 0)), (12, (255, 0, 0))):
        c.rect(7, y, 13, y + 3, colour)
        c.frame(7, y, 13, y + 3, BLACK)
    return bmp4(c)


def bar_image_combo_glyph():
    """A small picture: a sun over green hills under a blue sky, framed."""
    c = Canvas(16, 16, BAR_KEY)
    c.rect(1, 2, 14, 13, (0, 255, 255))
    c.disc(10, 5, 2, (255, 255, 0), (255, 255, 0))
    c.polygon([(1, 14), (1, 10), (5, 7), (9, 11), (12, 9), (15, 12), (15, 14)], (0, 128, 0))
    c.frame(1, 2, 14, 13, BLACK)
    return bmp4(c)


def bar_window_box(c, x0, y0, x1, y1):
    """A small window: a frame with a two-pixel title band."""
    c.frame(x0, y0, x1, y1, BLACK)
    c.line(x0, y0 + 1, x1, y0 + 1, BLACK)


def bar_caption_glyph(kind):
    """The pictures of an MDI child's caption commands in its copied system
    menu, black on a magenta key (the bottom-left pixel is transparent)."""
    c = Canvas(16, 16, MASK)
    if kind == 'close':
        for i in range(8):
            for dx in (0, 1):
                c.dot(4 + i + dx, 4 + i, BLACK)
                c.dot(11 - i + dx - 1, 4 + i, BLACK)
    elif kind == 'minimize':
        c.rect(4, 10, 9, 11, BLACK)
    elif kind == 'maximize':
        bar_window_box(c, 3, 3, 12, 11)
    else:
        bar_window_box(c, 6, 2, 12, 8)
        c.rect(3, 5, 9, 11, MASK)
        bar_window_box(c, 3, 5, 9, 11)
    return bmp24(c)


BAR_RESOURCES = {
    'mdiclose.bmp': lambda: bar_caption_glyph('close'),
    'mdirestore.bmp': lambda: bar_caption_glyph('restore'),
    'mdimaximize.bmp': lambda: bar_caption_glyph('maximize'),
    'mdiminimize.bmp': lambda: bar_caption_glyph('minimize'),
    'submenuexpand.bmp': bar_submenu_expand,
    'truetypefont.bmp': lambda: bmp4(font_type_canvas(True)),
    'nontruetypefont.bmp': lambda: bmp4(font_type_canvas(False)),
    'colorcombo.bmp': bar_color_combo_glyph,
    'fontnamecombo.bmp': bar_font_name_combo_glyph,
    'datecombo.bmp': bar_date_combo_glyph,
    'treeviewcombo.bmp': bar_tree_view_combo_glyph,
    'imagecombo.bmp': bar_image_combo_glyph,
    'drag.cur': bar_drag_cursor,
    'dragcopy.cur': lambda: bar_drag_cursor(plus=True),
    'dragnodrop.cur': bar_no_drop_cursor,
    'editsizing.cur': bar_edit_sizing_cursor,
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'app', 'res')
    outputs = {
        'actions.bmp': glyph_strip,
        'velmora.ico': icon,
        'about_logo.jpg': lambda: jpeg(about_logo()),
        'about_picture.jpg': lambda: jpeg(about_picture()),
    }
    editor_dir = os.path.join(here, '..', 'syntaxedit', 'res')
    editor = {
        'gutter.bmp': gutter_strip,
        'wrapped.bmp': wrapped_glyph,
        'hyperhand.cur': hyper_hand,
        'arrow.bmp': colour_button_arrow,
        'arrow_disabled.bmp': lambda: colour_button_arrow(True),
        'spinup.bmp': lambda: spin_glyph(True),
        'spindown.bmp': lambda: spin_glyph(False),
    }
    controls_dir = os.path.join(here, '..', 'controls', 'res')
    controls = {name: lambda rows=rows: indicator(rows) for name, rows in INDICATORS.items()}
    controls.update(CONTROL_CURSORS)
    controls.update(PANNING_ANCHORS)
    bars_dir = os.path.join(here, '..', 'bars', 'res')
    editors_dir = os.path.join(here, '..', 'editors', 'res')
    editors = {
        'fontcombo_ttf.bmp': lambda: font_type_icon(True),
        'fontcombo_nonttf.bmp': lambda: font_type_icon(False),
    }
    for folder, pictures in ((outdir, outputs), (editor_dir, editor), (controls_dir, controls),
                             (bars_dir, BAR_RESOURCES), (editors_dir, editors)):
        os.makedirs(folder, exist_ok=True)
        for name, draw in pictures.items():
            with open(os.path.join(folder, name), 'wb') as f:
                f.write(draw())

if __name__ == '__main__':
    main()
