#!/usr/bin/env python3
"""Draws the helper's blocked-popup cursors and its popping sound.

Writes install/Media/{ARROW,HAND,EDIT}_BLOCKED.cur (32x32 monochrome cursor
files) and modules/SV_BHO/POPUP_BLOCKED.wav (8-bit mono PCM, 4486 bytes).
The output is committed; run this again only to change the drawings.
"""
import math
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
SIZE = 32


def polygon(points):
    def inside(x, y):
        px, py, hit = x + 0.5, y + 0.5, False
        for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
            if (y1 > py) != (y2 > py) and px < x1 + (py - y1) * (x2 - x1) / (y2 - y1):
                hit = not hit
        return hit
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def blocked_sign(cx, cy, r):
    """A slashed circle: the sign drawn over every blocked cursor."""
    def ring(x, y):
        d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
        on_ring = r - 2.2 <= d <= r
        on_slash = d <= r and abs((x + 0.5 - cx) - (y + 0.5 - cy)) <= 1.5
        return on_ring or on_slash
    return ring


def cursor_file(shape, hotspot):
    sign = blocked_sign(23, 23, 8)
    black = [[False] * SIZE for _ in range(SIZE)]
    white = [[False] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if shape(x, y):
                edge = any(not shape(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                (black if edge else white)[y][x] = True
    # The sign in black with a white border so it shows on any background.
    for y in range(SIZE):
        for x in range(SIZE):
            if sign(x, y):
                black[y][x], white[y][x] = True, False
            elif any(sign(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                black[y][x], white[y][x] = False, True
    xor_rows, and_rows = [], []
    for y in reversed(range(SIZE)):  # bitmaps are stored bottom-up
        xor_bits = and_bits = 0
        for x in range(SIZE):
            bit = 1 << (SIZE - 1 - x)
            if white[y][x]:
                xor_bits |= bit
            elif not black[y][x]:
                and_bits |= bit  # transparent
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<8B", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


def pop_sound():
    rate, total = 22050, 4486
    samples = total - 44
    data = bytearray()
    for n in range(samples):
        t = n / rate
        pitch = 900 * math.exp(-t * 18) + 180  # a quick downward sweep
        level = math.exp(-t * 28) * (1 - math.exp(-t * 4000))
        value = 128 + 110 * level * math.sin(2 * math.pi * pitch * t)
        data.append(max(0, min(255, int(round(value)))))
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


ARROW = polygon([(1, 1), (1, 18), (5, 14), (8, 21), (11, 20), (8, 13), (13, 13)])
HAND = union(rect(7, 1, 10, 14), rect(11, 7, 13, 14), rect(14, 8, 16, 14), rect(17, 9, 19, 14),
             polygon([(4, 12), (7, 11), (7, 15), (19, 14), (19, 19), (16, 24), (9, 24), (4, 16)]))
IBEAM = union(rect(3, 2, 6, 3), rect(9, 2, 12, 3), rect(7, 3, 8, 20), rect(3, 20, 6, 21), rect(9, 20, 12, 21))

if __name__ == "__main__":
    media = os.path.join(ROOT, "install", "Media")
    os.makedirs(media, exist_ok=True)
    for name, shape, hotspot in (("ARROW_BLOCKED.cur", ARROW, (1, 1)), ("HAND_BLOCKED.cur", HAND, (8, 1)),
                                 ("EDIT_BLOCKED.cur", IBEAM, (7, 11))):
        with open(os.path.join(media, name), "wb") as out:
            out.write(cursor_file(shape, hotspot))
    with open(os.path.join(ROOT, "modules", "SV_BHO", "POPUP_BLOCKED.wav"), "wb") as out:
        out.write(pop_sound())
