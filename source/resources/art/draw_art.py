#!/usr/bin/env python3
"""Draws every bitmap, icon and cursor of the data source's windows from simple shapes and
writes them as .bmp, .ico and .cur files, plus art.rc naming them for the resource compiler.

Plain Python on purpose: the Windows trees build without any imaging package. Each picture is
a small grid of colours drawn with rectangles, lines, discs and polygons."""

import struct
import sys
from pathlib import Path

CLEAR = None  # transparent (icons and cursors only)
BLACK, WHITE = (0, 0, 0), (255, 255, 255)
GRAY, DARK, LIGHT = (192, 192, 192), (128, 128, 128), (224, 224, 224)
BLUE, NAVY, GREEN, RED = (40, 90, 200), (20, 40, 110), (40, 160, 60), (200, 40, 40)
YELLOW, CYAN, SAND = (240, 200, 40), (40, 190, 210), (210, 190, 140)


class Canvas:
    def __init__(self, width, height, fill=CLEAR):
        self.width, self.height = width, height
        self.px = [[fill] * width for _ in range(height)]

    def dot(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):  # inclusive corners, filled
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.line(x0, y0, x1, y0, c)
        self.line(x0, y1, x1, y1, c)
        self.line(x0, y0, x0, y1, c)
        self.line(x1, y0, x1, y1, c)

    def line(self, x0, y0, x1, y1, c, thick=1):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            for t in range(thick):
                self.dot(x0 + (t if dx < -dy else 0), y0 + (t if dx >= -dy else 0), c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def disc(self, cx, cy, r, c, inner=-1.0):  # a ring when inner >= 0
        for y in range(self.height):
            for x in range(self.width):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if inner < d <= r:
                    self.dot(x, y, c)

    def polygon(self, points, c):
        for y in range(self.height):
            for x in range(self.width):
                if inside(points, x + 0.5, y + 0.5):
                    self.dot(x, y, c)


def inside(points, x, y):
    hit = False
    for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            hit = not hit
    return hit


# ---- file formats -------------------------------------------------------------------------

def bmp_bytes(canvas, background=GRAY):
    row_bytes = (canvas.width * 3 + 3) & ~3
    rows = b""
    for y in reversed(range(canvas.height)):
        row = bytearray()
        for c in canvas.px[y]:
            r, g, b = c if c is not CLEAR else background
            row += bytes((b, g, r))
        rows += bytes(row) + b"\0" * (row_bytes - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(rows),
                       2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return head + info + rows


def icon_image(canvas):
    """The DIB of one icon or cursor image: 32-bit colour with alpha, then the AND mask."""
    w, h = canvas.width, canvas.height
    colour = b""
    mask = b""
    mask_row = ((w + 31) // 32) * 4
    for y in reversed(range(h)):
        bits = 0
        row = bytearray(mask_row)
        for x, c in enumerate(canvas.px[y]):
            if c is CLEAR:
                colour += b"\0\0\0\0"
                row[x // 8] |= 0x80 >> (x % 8)
            else:
                colour += bytes((c[2], c[1], c[0], 255))
        mask += bytes(row)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return info + colour + mask


def icon_file(canvas, hotspot=None):
    image = icon_image(canvas)
    kind = 2 if hotspot else 1
    planes, bits = hotspot if hotspot else (1, 32)
    head = struct.pack("<HHH", 0, kind, 1)
    entry = struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0, planes, bits,
                        len(image), 6 + 16)
    return head + entry + image


# ---- the pictures --------------------------------------------------------------------------

def scanner_body(c, x0, y0, x1, y1):
    """A flatbed seen from the front: lid, glass edge and a green lamp light."""
    c.rect(x0, y0 + (y1 - y0) // 3, x1, y1, LIGHT)
    c.frame(x0, y0 + (y1 - y0) // 3, x1, y1, BLACK)
    c.polygon([(x0, y0 + (y1 - y0) // 3), (x0 + 3, y0), (x1 - 3, y0), (x1, y0 + (y1 - y0) // 3)],
              DARK)
    c.line(x0 + 3, y0, x1 - 3, y0, BLACK)
    c.rect(x0 + 2, y1 - 3, x0 + 4, y1 - 2, GREEN)


def main_icon():
    c = Canvas(32, 32)
    scanner_body(c, 2, 8, 29, 26)
    c.rect(8, 4, 23, 12, WHITE)  # a page going in
    c.frame(8, 4, 23, 12, BLACK)
    for y in (6, 8, 10):
        c.line(10, y, 21, y, BLUE)
    return c


def question_mark(c, x, y, colour):
    """A question mark 7 pixels wide and 11 high with its top-left at (x, y)."""
    c.line(x + 1, y, x + 5, y, colour)
    c.line(x, y + 1, x, y + 2, colour)
    c.line(x + 6, y + 1, x + 6, y + 3, colour)
    c.line(x + 5, y + 4, x + 3, y + 6, colour)
    c.line(x + 3, y + 7, x + 3, y + 7, colour)
    c.rect(x + 3, y + 9, x + 3, y + 10, colour)


def arrow(c, x, y, fill=WHITE, edge=BLACK):
    points = [(x, y), (x, y + 16), (x + 4, y + 12), (x + 7, y + 19), (x + 9, y + 18),
              (x + 6, y + 11), (x + 11, y + 11)]
    c.polygon(points, edge)
    inner = [(x + 1, y + 3), (x + 1, y + 13), (x + 4, y + 10), (x + 7, y + 17), (x + 8, y + 16),
             (x + 5, y + 10), (x + 9, y + 10)]
    c.polygon(inner, fill)


def quick_help():
    c = Canvas(16, 16, GRAY)
    arrow(c, 1, 0)
    question_mark(c, 9, 3, NAVY)
    return c


def calibrator():
    c = Canvas(24, 24, GRAY)
    for i, colour in enumerate((RED, GREEN, BLUE, YELLOW, CYAN)):
        c.rect(2 + i * 4, 3, 5 + i * 4, 14, colour)
    c.frame(1, 2, 22, 15, BLACK)
    c.disc(12, 19, 4, WHITE)
    c.disc(12, 19, 4, BLACK, inner=3.2)
    c.line(12, 19, 15, 16, RED)
    return c


def earth():
    c = Canvas(24, 24, GRAY)
    c.disc(11.5, 11.5, 10.5, BLUE)
    c.polygon([(5, 6), (10, 4), (12, 8), (9, 12), (6, 11)], GREEN)
    c.polygon([(13, 12), (18, 11), (19, 16), (14, 19)], GREEN)
    c.disc(11.5, 11.5, 10.5, NAVY, inner=9.6)
    c.line(2, 12, 21, 12, NAVY)
    return c


def scanner_saver():
    c = Canvas(24, 24, GRAY)
    scanner_body(c, 1, 8, 22, 21)
    c.polygon([(12, 1), (19, 3), (16, 9), (11, 7)], GREEN)  # a leaf: the lamp saver
    c.line(11, 8, 18, 2, (20, 100, 30))
    return c


def about(brand):
    c = Canvas(96, 64, WHITE)
    scanner_body(c, 10, 18, 85, 54)
    c.rect(30, 8, 65, 24, WHITE)
    c.frame(30, 8, 65, 24, BLACK)
    for y in (12, 16, 20):
        c.line(33, y, 62, y, BLUE)
    if brand:  # the branded picture carries a coloured band
        c.rect(0, 58, 95, 63, NAVY)
        c.rect(0, 0, 95, 3, NAVY)
    return c


def help_cursor():
    c = Canvas(32, 32)
    arrow(c, 0, 0)
    c.disc(18, 9, 7, WHITE)
    c.disc(18, 9, 7, BLACK, inner=6.0)
    question_mark(c, 15, 4, BLACK)
    return c


def two_way(horizontal_a, horizontal_b, diagonal):
    """A resizing cursor: a double arrow through the hot spot at (15, 15)."""
    c = Canvas(32, 32)
    (ax, ay), (bx, by) = horizontal_a, horizontal_b
    c.line(15 + ax, 15 + ay, 15 + bx, 15 + by, BLACK, thick=2)
    for (px, py), (qx, qy) in (((ax, ay), (bx, by)), ((bx, by), (ax, ay))):
        # arrow head at (px, py) pointing away from (qx, qy)
        ux, uy = (px > qx) - (px < qx), (py > qy) - (py < qy)
        tip = (15 + px + ux, 15 + py + uy)
        if diagonal:
            wing1 = (tip[0] - 6 * ux, tip[1])
            wing2 = (tip[0], tip[1] - 6 * uy)
        else:
            wing1 = (tip[0] - 5 * ux - 4 * uy, tip[1] - 5 * uy - 4 * ux)
            wing2 = (tip[0] - 5 * ux + 4 * uy, tip[1] - 5 * uy + 4 * ux)
        c.polygon([tip, wing1, wing2], BLACK)
    return c


def hand():
    c = Canvas(32, 32)
    c.polygon([(8, 12), (8, 22), (12, 28), (22, 28), (25, 20), (25, 12), (8, 12)], WHITE)
    for x in (8, 12, 16, 20):
        c.rect(x + 1, 6 if x in (12, 16) else 8, x + 3, 14, WHITE)
        c.frame(x, 5 if x in (12, 16) else 7, x + 4, 14, BLACK)
    c.polygon([(8, 12), (8, 22), (12, 28), (22, 28), (25, 20), (25, 12)], WHITE)
    c.line(8, 12, 8, 22, BLACK)
    c.line(8, 22, 12, 28, BLACK)
    c.line(12, 28, 22, 28, BLACK)
    c.line(22, 28, 25, 20, BLACK)
    c.line(25, 20, 25, 12, BLACK)
    return c


def magnifier(plus):
    c = Canvas(32, 32)
    c.disc(11, 11, 9, WHITE)
    c.disc(11, 11, 9, BLACK, inner=7.6)
    c.line(17, 17, 27, 27, BLACK, thick=3)
    c.line(7, 11, 15, 11, BLACK, thick=2)
    if plus:
        c.line(11, 7, 11, 15, BLACK, thick=2)
    return c


def picker():
    c = Canvas(32, 32)
    c.line(1, 30, 14, 17, BLACK, thick=2)
    c.polygon([(12, 15), (16, 19), (24, 11), (20, 7)], DARK)
    c.disc(24, 7, 5, BLACK)
    c.dot(0, 31, BLACK)
    return c


def tool_button(draw):
    """A 24 x 24 tool-bar picture on the button's gray."""
    c = Canvas(24, 24, GRAY)
    draw(c)
    return c


def hi_low(c):
    # a coarse and a fine grid side by side
    for x in range(2, 11, 4):
        c.line(x, 4, x, 19, BLACK)
    for y in range(4, 20, 4):
        c.line(2, y, 10, y, BLACK)
    for x in range(13, 23, 2):
        c.line(x, 4, x, 19, NAVY)
    for y in range(4, 20, 2):
        c.line(13, y, 21, y, NAVY)


def batch(c):
    for i, colour in enumerate((WHITE, WHITE, WHITE)):
        x, y = 3 + i * 4, 3 + i * 4
        c.rect(x, y, x + 11, y + 11, colour)
        c.frame(x, y, x + 11, y + 11, BLACK)
    c.line(14, 18, 19, 18, BLUE)


def crop(c):
    c.line(6, 2, 6, 17, BLACK, thick=2)
    c.line(6, 17, 21, 17, BLACK, thick=2)
    c.line(2, 6, 17, 6, BLACK, thick=2)
    c.line(17, 6, 17, 21, BLACK, thick=2)


def zoom(c):
    c.disc(9.5, 9.5, 7, WHITE)
    c.disc(9.5, 9.5, 7, BLACK, inner=5.8)
    c.line(14, 14, 21, 21, BLACK, thick=3)
    c.line(6, 9, 13, 9, BLACK)
    c.line(9, 6, 9, 13, BLACK)


def picker_tool(fill):
    def draw(c):
        c.line(3, 20, 12, 11, BLACK, thick=2)
        c.polygon([(10, 9), (14, 13), (19, 8), (15, 4)], DARK)
        c.disc(18, 5, 3.5, BLACK)
        c.rect(2, 21, 7, 23, fill)
    return draw


BITMAPS = {
    "IDB_HIRES": lambda: tool_button(hi_low), "IDB_BSCAN": lambda: tool_button(batch),
    "IDB_CROP": lambda: tool_button(crop), "IDB_ZOOMIN": lambda: tool_button(zoom),
    "IDB_PICKHT": lambda: tool_button(picker_tool(WHITE)),
    "IDB_PICKSD": lambda: tool_button(picker_tool(BLACK)),
    "IDB_QUICKHELP": quick_help, "IDB_MCALIBZ": calibrator, "IDB_EARTH": earth,
    "IDB_SCANNER": scanner_saver, "IDB_ABOUT_BRAND": lambda: about(True),
    "IDB_ABOUT_NOBRAND": lambda: about(False),
}
ICONS = {"IDMAIN": main_icon}
CURSORS = {  # name: (picture, hot spot)
    "IDC_SENSIHELP": (help_cursor, (0, 0)),
    "IDSIZENWSE": (lambda: two_way((-9, -9), (9, 9), True), (15, 15)),
    "IDSIZENESW": (lambda: two_way((9, -9), (-9, 9), True), (15, 15)),
    "IDSIZENS": (lambda: two_way((0, -11), (0, 11), False), (15, 15)),
    "IDSIZEWE": (lambda: two_way((-11, 0), (11, 0), False), (15, 15)),
    "IDHAND1": (hand, (16, 16)),
    "IDZOOMIN": (lambda: magnifier(True), (11, 11)),
    "IDZOOMOUT": (lambda: magnifier(False), (11, 11)),
    "IDC_PICKER": (picker, (0, 31)),
}


def main(argv):
    out = Path(argv[1])
    out.mkdir(parents=True, exist_ok=True)
    lines = ["// Generated by draw_art.py: the windows' bitmaps, icons and cursors."]
    for name, draw in BITMAPS.items():
        (out / f"{name}.bmp").write_bytes(bmp_bytes(draw()))
        lines.append(f'{name} BITMAP "{name}.bmp"')
    for name, draw in ICONS.items():
        (out / f"{name}.ico").write_bytes(icon_file(draw()))
        lines.append(f'{name} ICON "{name}.ico"')
    for name, (draw, spot) in CURSORS.items():
        (out / f"{name}.cur").write_bytes(icon_file(draw(), hotspot=spot))
        lines.append(f'{name} CURSOR "{name}.cur"')
    (out / "art.rc").write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main(sys.argv)
