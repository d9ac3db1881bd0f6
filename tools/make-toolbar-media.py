#!/usr/bin/env python3
"""Draws the toolbar band's bitmaps.

Writes into modules/Solvane/res/ (24-bit Windows BMP files, bottom-up rows):
  BTN*.bmp          the button glyphs, named after their buttons in capitals,
                    16 pixels high; the buttons without a caption get their
                    icon followed by the site's name (the main button: the
                    emblem and the product's name; the button draws its
                    own drop-down arrow), the
                    others a 16x16 icon; BTNTOOLS holds two 16x16 images side
                    by side (normal, disabled); BTNPOPUPBLOCKER is the popup
                    button's look until the setting has been read
  POPUP_BLOCKED.bmp, POPUP_ALLOWED.bmp   the popup-blocker button's two glyphs
  IMGBLOCKPOPUPS.bmp  the popup menu's image strip, three 18x15 images
                    (block, allow, help)
  ABOUTLOGO.bmp     the About dialog's logo, 256x64
and Solvane-media.rc, which lists them as BITMAP resources.

Everything outside a drawing is the transparent key colour (magenta, the
colour of the bottom-left pixel), as toolbar glyphs and image lists expect.
The output is committed; run this again only to change the drawings.
"""
import math
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
OUT = os.path.join(ROOT, "modules", "Solvane", "res")

KEY = (255, 0, 255)
# What the edges of the big logo are smoothed against: a light button face.
MATTE = (236, 236, 236)
SUB = 4  # samples per pixel side when measuring how much of a pixel a shape covers


# --- shapes: functions of a point in pixel coordinates ((0,0) is the top-left
# corner of the top-left pixel) that tell whether it is inside.

def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def polygon(points):
    def inside(x, y):
        hit = False
        for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
            if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                hit = not hit
        return hit
    return inside


def stroke(x1, y1, x2, y2, width):
    """A line with round ends."""
    half = width / 2.0

    def inside(x, y):
        dx, dy = x2 - x1, y2 - y1
        length = dx * dx + dy * dy
        t = 0.0 if length == 0 else max(0.0, min(1.0, ((x - x1) * dx + (y - y1) * dy) / length))
        return (x - x1 - t * dx) ** 2 + (y - y1 - t * dy) ** 2 <= half * half
    return inside


def arc(cx, cy, r, width, start, end):
    """Part of a ring, from angle `start` to `end` in degrees, counter-clockwise
    from three o'clock as seen on screen (y grows downwards)."""
    half = width / 2.0

    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) > half:
            return False
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        s, e = start % 360, end % 360
        return s <= a <= e if s <= e else a >= s or a <= e
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, *holes):
    return lambda x, y: shape(x, y) and not any(h(x, y) for h in holes)


def clip(shape, area):
    return lambda x, y: shape(x, y) and area(x, y)


# --- colours

def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def vertical(top, bottom, y0, y1):
    """A gradient from `top` at y0 to `bottom` at y1."""
    return lambda x, y: mix(top, bottom, max(0.0, min(1.0, (y - y0) / float(max(1e-6, y1 - y0)))))


def flat(colour):
    return lambda x, y: colour


class Canvas:
    def __init__(self, width, height, matte=None, smooth=False):
        self.width, self.height = width, height
        self.matte = matte  # None: hard edges against the key colour
        self.smooth = smooth or matte is not None  # False: every edge is hard, pixel by pixel
        self.px = [[KEY] * width for _ in range(height)]

    def paint(self, shape, colour, dx=0, dy=0):
        """Paints `shape` (moved by dx, dy); `colour` is a colour or a function of
        the point. Inside the drawing the edges are smoothed; against the key
        colour they stay hard (or are smoothed against the matte colour), so
        that no pinkish fringe appears on the toolbar."""
        fill = colour if callable(colour) else flat(colour)
        for py in range(self.height):
            for px in range(self.width):
                hits = 0
                for sy in range(SUB):
                    for sx in range(SUB):
                        if shape(px + (sx + 0.5) / SUB - dx, py + (sy + 0.5) / SUB - dy):
                            hits += 1
                if not hits:
                    continue
                cover = hits / float(SUB * SUB)
                c = fill(px + 0.5 - dx, py + 0.5 - dy)
                under = self.px[py][px]
                if under == KEY:
                    if self.matte is not None:
                        if cover >= 0.2:
                            self.px[py][px] = mix(self.matte, c, cover)
                    elif cover >= 0.5:
                        self.px[py][px] = c
                elif self.smooth:
                    self.px[py][px] = mix(under, c, cover)
                elif cover >= 0.5:
                    self.px[py][px] = c

    def pixel(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = colour

    def blit(self, other, x0, y0):
        for y in range(other.height):
            for x in range(other.width):
                if other.px[y][x] != KEY:
                    self.pixel(x0 + x, y0 + y, other.px[y][x])

    def outline(self, colour, inside_too=False):
        """Darkens the drawing's own border: every drawn pixel next to the key."""
        edge = []
        for y in range(self.height):
            for x in range(self.width):
                if self.px[y][x] == KEY:
                    continue
                for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):
                    if not (0 <= nx < self.width and 0 <= ny < self.height) or self.px[ny][nx] == KEY:
                        edge.append((x, y))
                        break
        for x, y in edge:
            self.px[y][x] = colour

    def greyed(self):
        """The disabled look: light grey shades of the drawing."""
        out = Canvas(self.width, self.height)
        for y in range(self.height):
            for x in range(self.width):
                c = self.px[y][x]
                if c != KEY:
                    lum = (c[0] * 30 + c[1] * 59 + c[2] * 11) / 100.0
                    v = int(round(128 + lum * 0.45))
                    out.px[y][x] = (v, v, v)
        return out

    def bmp(self):
        row_size = (self.width * 3 + 3) & ~3
        rows = []
        for y in reversed(range(self.height)):  # bottom-up
            row = bytearray()
            for r, g, b in self.px[y]:
                row += bytes((b, g, r))
            row += b"\0" * (row_size - len(row))
            rows.append(bytes(row))
        image = b"".join(rows)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
        header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
        return header + info + image


# --- the small font of the button names: 8 pixels from the top of the capitals
# to the baseline, 2 below it, as the toolbar's own 8-point face.

FONT = {
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#....", "#####"],
    "S": [".###.", "#...#", "#....", ".###.", "....#", "....#", "#...#", ".###."],
    "G": [".####.", "#....#", "#.....", "#.....", "#..###", "#....#", "#...##", ".###.#"],
    "A": ["..#..", ".#.#.", ".#.#.", "#...#", "#...#", "#####", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "#...#", "####."],
    "a": ["", "", ".##.", "...#", ".###", "#..#", "#..#", ".###"],
    "c": ["", "", ".##", "#..", "#..", "#..", "#..", ".##"],
    "e": ["", "", ".##.", "#..#", "####", "#...", "#..#", ".##."],
    "g": ["", "", ".###", "#..#", "#..#", "#..#", "#..#", ".###", "...#", ".##."],
    "h": ["#...", "#...", "###.", "#..#", "#..#", "#..#", "#..#", "#..#"],
    "k": ["#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#", "#..#"],
    "l": ["#", "#", "#", "#", "#", "#", "#", "#"],
    "m": ["", "", "###.##.", "#..#..#", "#..#..#", "#..#..#", "#..#..#", "#..#..#"],
    "n": ["", "", "###.", "#..#", "#..#", "#..#", "#..#", "#..#"],
    "o": ["", "", ".##.", "#..#", "#..#", "#..#", "#..#", ".##."],
    "p": ["", "", "###.", "#..#", "#..#", "#..#", "#..#", "###.", "#...", "#..."],
    "r": ["", "", "#.#", "##.", "#..", "#..", "#..", "#.."],
    "u": ["", "", "#..#", "#..#", "#..#", "#..#", "#..#", ".###"],
    "y": ["", "", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", "..#..", ".#...", "#...."],
    "z": ["", "", "####", "...#", "..#.", ".#..", "#...", "####"],
    ".": ["", "", "", "", "", "", "", "#"],
}
TEXT = (0, 0, 0)


def text_width(text):
    return sum(max(len(r) for r in FONT[ch]) for ch in text) + len(text) - 1


def draw_text(canvas, text, x, top, colour=TEXT):
    for ch in text:
        rows = FONT[ch]
        for dy, row in enumerate(rows):
            for dx, bit in enumerate(row):
                if bit == "#":
                    canvas.pixel(x + dx, top + dy, colour)
        x += max(len(r) for r in rows) + 1


# --- the icons (16x16 unless said otherwise)

INK = (38, 38, 52)


def icon_search_web():
    c = Canvas(16, 16)
    # A globe seen through a magnifying glass.
    c.paint(circle(6.5, 6.5, 5.6), vertical((120, 186, 245), (28, 92, 190), 1, 12))
    land = union(polygon([(3.0, 3.5), (6.5, 2.6), (7.2, 5.0), (5.2, 6.6), (5.8, 9.0), (4.0, 9.6), (2.6, 6.5)]),
                 polygon([(8.6, 6.2), (11.0, 6.6), (10.8, 9.6), (8.8, 10.8), (8.0, 8.6)]))
    c.paint(clip(land, circle(6.5, 6.5, 5.2)), vertical((120, 210, 110), (40, 140, 50), 2, 11))
    c.paint(ring(6.5, 6.5, 6.4, 5.2), vertical((150, 150, 160), (60, 60, 72), 0, 13))
    c.paint(stroke(11.0, 11.0, 14.4, 14.4, 2.8), vertical((160, 110, 60), (90, 55, 25), 10, 15))
    c.paint(stroke(10.2, 10.2, 11.2, 11.2, 2.2), (70, 70, 82))
    c.paint(arc(6.5, 6.5, 3.6, 1.1, 100, 160), (235, 245, 255))
    return c


def icon_badge_g():
    c = Canvas(16, 16)
    c.paint(circle(8, 8, 7.2), vertical((96, 156, 240), (24, 80, 176), 0, 16))
    c.paint(ring(8, 8, 7.2, 6.2), (20, 56, 130))
    letter = union(arc(8, 8, 3.9, 2.2, 40, 320), stroke(8.2, 8.2, 11.7, 8.2, 2.2), stroke(11.7, 8.0, 11.7, 10.6, 2.0))
    c.paint(letter, (255, 255, 255))
    return c


def icon_cart():
    c = Canvas(16, 16)
    c.paint(polygon([(3.2, 4.0), (15.0, 4.0), (13.4, 10.0), (4.8, 10.0)]), vertical((255, 196, 90), (226, 120, 10), 4, 10))
    for x in (6.4, 9.2, 12.0):
        c.paint(stroke(x, 4.6, x - 0.4, 9.4, 0.9), (190, 96, 0))
    c.paint(stroke(0.8, 1.8, 2.8, 1.8, 1.6), INK)
    c.paint(stroke(2.8, 1.8, 5.2, 11.6, 1.5), INK)
    c.paint(stroke(5.2, 11.6, 13.6, 11.6, 1.5), INK)
    c.paint(stroke(3.4, 4.0, 15.0, 4.0, 1.2), INK)
    c.paint(stroke(15.0, 4.0, 13.4, 10.0, 1.2), INK)
    c.paint(stroke(4.8, 10.0, 13.4, 10.0, 1.2), INK)
    c.paint(circle(6.2, 14.0, 1.6), INK)
    c.paint(circle(12.2, 14.0, 1.6), INK)
    return c


def icon_gavel(flag=None):
    c = Canvas(16, 16)
    # The sounding block, then the hammer lying across it.
    c.paint(rounded_rect(1.0, 12.0, 11.0, 15.0, 1.0), vertical((190, 130, 70), (110, 66, 28), 12, 15))
    c.paint(stroke(6.6, 7.4, 14.2, 14.2, 2.0), vertical((214, 160, 96), (140, 88, 40), 7, 15))
    head = polygon([(1.6, 5.2), (6.2, 0.6), (10.6, 5.0), (6.0, 9.6)])
    c.paint(head, vertical((206, 140, 70), (120, 70, 26), 0, 10))
    c.paint(stroke(2.6, 6.2, 7.2, 1.6, 1.0), (236, 190, 130))
    c.outline((70, 40, 16))
    if flag == "ca":
        badge = Canvas(9, 7)
        badge.paint(rect(0, 0, 9, 7), (255, 255, 255))
        badge.paint(rect(0, 0, 2, 7), (214, 24, 30))
        badge.paint(rect(7, 0, 9, 7), (214, 24, 30))
        for x, y in ((4, 1), (3, 2), (4, 2), (5, 2), (4, 3), (3, 4), (4, 4), (5, 4), (4, 5)):
            badge.pixel(x, y, (214, 24, 30))
        badge.outline((96, 96, 104))
        c.blit(badge, 7, 9)
    elif flag == "uk":
        blue, white, red = (24, 44, 136), (255, 255, 255), (214, 24, 30)
        badge = Canvas(9, 7)
        badge.paint(rect(0, 0, 9, 7), blue)
        for x in range(9):  # the diagonals
            y = int(round(x * 6 / 8.0))
            badge.pixel(x, y, white)
            badge.pixel(x, 6 - y, white)
        badge.paint(rect(3, 0, 6, 7), white)
        badge.paint(rect(0, 2, 9, 5), white)
        badge.paint(rect(4, 0, 5, 7), red)
        badge.paint(rect(0, 3, 9, 4), red)
        badge.outline((96, 96, 104))
        c.blit(badge, 7, 9)
    return c


def icon_tiles():
    c = Canvas(16, 16)
    colours = [((120, 176, 255), (30, 90, 200)), ((130, 224, 120), (30, 140, 40)),
               ((255, 206, 100), (220, 120, 0)), ((255, 130, 120), (190, 30, 30))]
    for i, (top, bottom) in enumerate(colours):
        x0, y0 = 1 + (i % 2) * 8, 1 + (i // 2) * 8
        tile = Canvas(16, 16)
        tile.paint(rounded_rect(x0, y0, x0 + 6, y0 + 6, 1.0), vertical(top, bottom, y0, y0 + 6))
        tile.paint(rect(x0 + 1, y0 + 1, x0 + 4, y0 + 2), mix(top, (255, 255, 255), 0.55))
        tile.outline(mix(bottom, (0, 0, 0), 0.55))
        c.blit(tile, 0, 0)
    return c


def icon_up():
    c = Canvas(16, 16)
    c.paint(rounded_rect(0.5, 4.0, 7.0, 7.0, 0.8), (214, 170, 50))
    c.paint(rounded_rect(0.5, 5.5, 15.5, 15.0, 1.0), vertical((255, 226, 120), (222, 170, 40), 5, 15))
    c.outline((130, 92, 10))
    arrow = union(polygon([(8.0, 1.0), (13.8, 7.2), (10.4, 7.2), (10.4, 12.4), (5.6, 12.4), (5.6, 7.2), (2.2, 7.2)]))
    c.paint(arrow, vertical((120, 220, 110), (20, 130, 40), 1, 12))
    edge = Canvas(16, 16)
    edge.paint(arrow, (0, 0, 0))
    for y in range(16):
        for x in range(16):
            if edge.px[y][x] != KEY and any(
                    not (0 <= nx < 16 and 0 <= ny < 16) or edge.px[ny][nx] == KEY
                    for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1))):
                c.px[y][x] = (16, 90, 24)
    return c


def icon_highlighter():
    c = Canvas(16, 16)
    c.paint(rect(1.0, 12.5, 15.0, 15.0), (255, 236, 40))
    body = polygon([(6.0, 7.6), (11.6, 2.0), (14.4, 4.8), (8.8, 10.4)])
    c.paint(body, vertical((120, 130, 150), (50, 56, 76), 2, 10))
    c.paint(polygon([(12.2, 1.4), (13.4, 0.4), (16.0, 3.0), (15.0, 4.2)]), (60, 64, 84))
    tip = polygon([(6.0, 7.6), (8.8, 10.4), (5.4, 11.8), (3.6, 11.8), (4.6, 9.0)])
    c.paint(tip, (250, 220, 20))
    c.paint(polygon([(3.6, 11.8), (5.4, 11.8), (4.2, 12.6)]), (190, 160, 0))
    c.outline((40, 40, 54))
    return c


def icon_tools():
    c = Canvas(16, 16)
    # A screwdriver crossed with a wrench.
    c.paint(stroke(2.5, 2.5, 9.0, 9.0, 1.6), (150, 156, 172))
    c.paint(stroke(9.6, 9.6, 13.4, 13.4, 3.6), vertical((255, 110, 90), (170, 24, 16), 9, 15))
    head = minus(circle(11.6, 4.4, 3.6), polygon([(11.6, 4.4), (12.4, -1.0), (17.0, 3.6)]))
    tail = minus(circle(3.6, 12.4, 2.4), circle(3.6, 12.4, 0.9))
    wrench = union(stroke(3.8, 12.2, 11.0, 5.0, 2.8), head, tail)
    c.paint(wrench, vertical((232, 236, 244), (124, 130, 148), 0, 16))
    c.outline((48, 50, 62))
    return c


def gear_shape(grow):
    teeth = []
    for i in range(8):
        a = math.radians(i * 45)
        ca, sa = math.cos(a), math.sin(a)
        w = 1.3 + grow
        r0, r1 = 4.0, 7.0 + grow
        teeth.append(polygon([(8 + r0 * ca - w * sa, 8 + r0 * sa + w * ca), (8 + r1 * ca - w * sa, 8 + r1 * sa + w * ca),
                              (8 + r1 * ca + w * sa, 8 + r1 * sa - w * ca), (8 + r0 * ca + w * sa, 8 + r0 * sa - w * ca)]))
    return minus(union(circle(8, 8, 5.0 + grow), *teeth), circle(8, 8, 2.0 - grow))


def icon_gear():
    c = Canvas(16, 16)
    c.paint(gear_shape(0.9), (52, 54, 66))
    c.paint(gear_shape(0.0), vertical((222, 226, 236), (120, 126, 144), 1, 15))
    c.paint(ring(8, 8, 3.2, 2.1), (90, 94, 110))
    return c


def small_window(c, x0, y0, w, h):
    c.paint(rect(x0, y0, x0 + w, y0 + h), (255, 255, 255))
    c.paint(rect(x0, y0, x0 + w, y0 + 3), vertical((70, 130, 230), (20, 70, 170), y0, y0 + 3))
    for y in range(int(y0) + 5, int(y0 + h) - 1, 2):
        c.paint(rect(x0 + 2, y, x0 + w - 3, y + 1), (180, 190, 206))
    frame = Canvas(c.width, c.height)
    frame.paint(rect(x0, y0, x0 + w, y0 + h), (0, 0, 0))
    for y in range(c.height):
        for x in range(c.width):
            if frame.px[y][x] != KEY and any(
                    not (0 <= nx < c.width and 0 <= ny < c.height) or frame.px[ny][nx] == KEY
                    for nx, ny in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1))):
                c.px[y][x] = (40, 52, 86)


def no_sign(c, cx, cy, r):
    c.paint(circle(cx, cy, r), (255, 255, 255))
    c.paint(ring(cx, cy, r, r - 1.7), (214, 22, 22))
    c.paint(clip(stroke(cx - r, cy - r, cx + r, cy + r, 1.7), circle(cx, cy, r)), (214, 22, 22))


def check_mark(c, points, width):
    shape = union(*[stroke(a[0], a[1], b[0], b[1], width) for a, b in zip(points, points[1:])])
    edge = union(*[stroke(a[0], a[1], b[0], b[1], width + 1.6) for a, b in zip(points, points[1:])])
    c.paint(edge, (255, 255, 255))
    c.paint(shape, (20, 150, 40))


def icon_popup(blocked, width=16, height=16):
    c = Canvas(width, height)
    small_window(c, 0, 1, 12, 10)
    if blocked:
        no_sign(c, width - 5.5, height - 5.5, 5.0)
    else:
        check_mark(c, [(width - 10.0, height - 5.5), (width - 7.0, height - 2.4), (width - 1.6, height - 9.0)], 2.2)
    return c


def icon_help(width=18, height=15):
    c = Canvas(width, height)
    cx, cy = width / 2.0, height / 2.0
    c.paint(circle(cx, cy, 7.0), vertical((110, 170, 250), (24, 80, 180), 0, height))
    c.paint(ring(cx, cy, 7.1, 6.2), (18, 52, 130))
    c.paint(arc(cx, cy - 2.0, 2.2, 1.7, -60, 200), (255, 255, 255))
    c.paint(stroke(cx + 1.1, cy - 0.2, cx, cy + 1.4, 1.7), (255, 255, 255))
    c.paint(circle(cx, cy + 4.0, 1.1), (255, 255, 255))
    return c


def icon_emblem():
    """The product's emblem at toolbar size: moving air in a blue disc."""
    c = Canvas(16, 16)
    c.paint(circle(8, 8, 7.2), vertical((110, 176, 250), (20, 70, 170), 0, 16))
    c.paint(ring(8, 8, 7.2, 6.2), (14, 46, 120))
    # Three gusts, each flicking up at its end.
    for y, x0, x1 in ((5, 3, 10), (8, 5, 12), (11, 3, 9)):
        for x in range(x0, x1 + 1):
            c.pixel(x, y, (255, 255, 255))
        c.pixel(x1 + 1, y - 1, (255, 255, 255))
    return c


def icon_star():
    c = Canvas(16, 16)
    points = []
    for i in range(10):
        a = math.radians(-90 + i * 36)
        r = 7.4 if i % 2 == 0 else 3.2
        points.append((8 + r * math.cos(a), 8.6 + r * math.sin(a)))
    c.paint(polygon(points), vertical((255, 240, 120), (250, 160, 0), 1, 15))
    c.outline((170, 90, 0))
    return c


def main_glyph():
    """The main button: the emblem and the product's name (the button draws the drop-down arrow)."""
    name = "Zephyra"
    width = 16 + 3 + text_width(name) + 2
    c = Canvas(width, 16)
    c.blit(icon_emblem(), 0, 0)
    draw_text(c, name, 19, 4, (16, 48, 132))
    return c


def named_glyph(icon, name, room):
    """The icon, then the site's name, for the buttons that have no caption;
    the name alone where both would not fit the `room` the button leaves
    beside its border and drop-down arrow."""
    if 16 + 2 + text_width(name) > room:
        c = Canvas(text_width(name), 16)
        draw_text(c, name, 0, 4)
        return c
    width = 16 + 2 + text_width(name)
    c = Canvas(width, 16)
    c.blit(icon, 0, 0)
    draw_text(c, name, 18, 4)
    return c


def two_states(icon):
    c = Canvas(32, 16)
    c.blit(icon, 0, 0)
    c.blit(icon.greyed(), 16, 0)
    return c


def strip(*images):
    c = Canvas(sum(i.width for i in images), max(i.height for i in images))
    x = 0
    for image in images:
        c.blit(image, x, 0)
        x += image.width
    return c


# --- the logo: an emblem of moving air and the product's name

def logo():
    c = Canvas(256, 64, matte=MATTE)
    c.paint(circle(32, 32, 28), vertical((104, 170, 250), (18, 66, 160), 4, 60))
    c.paint(ring(32, 32, 28.4, 26.4), (14, 46, 120))
    white = (255, 255, 255)
    c.paint(union(arc(28, 40, 14, 3.4, 20, 120), stroke(40.6, 34.0, 50.0, 34.0, 3.4)), white)
    c.paint(union(arc(24, 30, 10, 3.0, 30, 150), stroke(32.6, 25.0, 46.0, 25.0, 3.0)), white)
    c.paint(union(arc(30, 46, 8, 2.6, 200, 330), stroke(36.9, 49.8, 48.0, 49.8, 2.6)), white)

    # The name in our own strokes: x-height 22, capitals 32, stroke 6.
    ink = vertical((36, 92, 190), (10, 40, 110), 12, 56)
    w, base, xh = 6.0, 50.0, 22.0
    top = base - xh
    letters = []
    x = 70.0
    # Z
    letters += [stroke(x, 18.0, x + 22, 18.0, w), stroke(x + 22, 18.0, x, base, w), stroke(x, base, x + 22, base, w)]
    x += 30
    # e
    r = xh / 2
    letters += [minus(arc(x + r, top + r, r - w / 2, w, 30, 330), rect(x + r, top + r + 1, x + 2 * r + 1, top + r + 4.5)),
                stroke(x + w / 2, top + r, x + 2 * r - w / 2, top + r, w - 1)]
    x += 2 * r + 6
    # p
    letters += [stroke(x + w / 2, top, x + w / 2, 62.0, w), ring(x + r + 2, top + r, r, r - w)]
    x += 2 * r + 8
    # h
    letters += [stroke(x + w / 2, 14.0, x + w / 2, base, w), arc(x + r, top + r, r - w / 2, w, 0, 180),
                stroke(x + 2 * r - w / 2, top + r, x + 2 * r - w / 2, base, w)]
    x += 2 * r + 6
    # y
    letters += [stroke(x + 2, top, x + r, base - 2, w), stroke(x + 2 * r - 1, top, x + r - 6, 62.0, w)]
    x += 2 * r + 4
    # r
    letters += [stroke(x + w / 2, top, x + w / 2, base, w), arc(x + r + 1, top + r, r - w / 2 - 1, w - 1, 60, 175)]
    x += r + 8
    # a
    letters += [ring(x + r, top + r + 0.5, r, r - w), stroke(x + 2 * r - w / 2, top + 1, x + 2 * r - w / 2, base, w)]
    c.paint(clip(union(*letters), rect(0, 0, 256, 64)), ink)
    return c


# --- what the band's resources are made of: name, drawing

def drawings():
    return [
        ("BTNMAIN", main_glyph()),
        ("BTNWHATSNEW", icon_star()),
        ("BTNSEARCHTHEWEB", named_glyph(icon_search_web(), "Search", 68 - 4)),
        ("BTNGOOGLE", named_glyph(icon_badge_g(), "Google", 58 - 11)),
        ("BTNAMAZON", named_glyph(icon_cart(), "Amazon", 56 - 11)),
        ("BTNEBAY", named_glyph(icon_gavel(), "eBay", 44 - 11)),
        ("BTNEBAYCA", named_glyph(icon_gavel("ca"), "eBay.ca", 54 - 11)),
        ("BTNEBAYCOUK", named_glyph(icon_gavel("uk"), "eBay.co.uk", 74 - 11)),
        ("BTNOTHERS", icon_tiles()),
        ("BTNUP", icon_up()),
        ("BTNHIGHLIGHT", icon_highlighter()),
        ("BTNTOOLS", two_states(icon_tools())),
        ("BTNOPTIONS", icon_gear()),
        ("BTNPOPUPBLOCKER", icon_popup(False)),
        ("POPUP_BLOCKED", icon_popup(True)),
        ("POPUP_ALLOWED", icon_popup(False)),
        ("IMGBLOCKPOPUPS", strip(icon_popup(True, 18, 15), icon_popup(False, 18, 15), icon_help())),
        ("ABOUTLOGO", logo()),
    ]


RC_HEAD = """\
// The toolbar band's bitmaps, drawn by tools/make-toolbar-media.py.
// The resource compiler finds the files beside this script; a script that
// includes this one from elsewhere puts this folder on the include path (-I).
//
// BTN*           button glyphs, named after their buttons (BTNTOOLS: normal and
//                disabled side by side; BTNPOPUPBLOCKER until the setting is read)
// POPUP_BLOCKED  popup-blocker button while blocking is on
// POPUP_ALLOWED  popup-blocker button while popups are allowed
// IMGBLOCKPOPUPS the popup-blocker menu's images: block, allow, help (18x15 each)
// ABOUTLOGO      the About dialog's logo
"""

if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    lines = [RC_HEAD]
    made = drawings()
    for name, canvas in made:
        assert canvas.px[canvas.height - 1][0] == KEY, name  # the bottom-left pixel is the key colour
        with open(os.path.join(OUT, name + ".bmp"), "wb") as out:
            out.write(canvas.bmp())
        lines.append('%-17s BITMAP "%s.bmp"   // %dx%d\n' % (name, name, canvas.width, canvas.height))
    with open(os.path.join(OUT, "Solvane-media.rc"), "w", newline="\r\n") as out:
        out.write("".join(lines[:1]) + "\n" + "".join(lines[1:]))
    for name, canvas in made:
        print("%s.bmp %dx%d" % (name, canvas.width, canvas.height))
