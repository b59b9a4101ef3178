#!/usr/bin/env python3
"""Draws the launcher's application icon: one 48 x 48 image, 32 bits per pixel with alpha.

Usage: make_icon.py OUTPUT.ico
A rounded tile in the game's deep blue with a gold "T"; edges are anti-aliased by
sampling each pixel 4 x 4 times.
"""
import struct
import sys

SIZE = 48
RADIUS = 9.0


def inside_tile(x, y):
    # Rounded square from 1 to 47 on both axes.
    lo, hi = 1.0, SIZE - 1.0
    cx = min(max(x, lo + RADIUS), hi - RADIUS)
    cy = min(max(y, lo + RADIUS), hi - RADIUS)
    return lo <= x <= hi and lo <= y <= hi and (x - cx) ** 2 + (y - cy) ** 2 <= RADIUS ** 2


def inside_letter(x, y):
    bar = 11.0 <= x <= 37.0 and 10.0 <= y <= 17.0
    stem = 20.5 <= x <= 27.5 and 10.0 <= y <= 39.0
    return bar or stem


def pixel(px, py):
    tile = letter = 0
    for sy in range(4):
        for sx in range(4):
            x, y = px + (sx + 0.5) / 4, py + (sy + 0.5) / 4
            if inside_tile(x, y):
                tile += 1
                if inside_letter(x, y):
                    letter += 1
    if tile == 0:
        return (0, 0, 0, 0)
    t = py / (SIZE - 1)
    blue = (int(40 + 30 * t), int(70 - 30 * t), int(150 - 60 * t))  # lighter at the top
    gold = (246, 196, 64)
    mix = letter / tile
    r, g, b = (round(blue[i] * (1 - mix) + gold[i] * mix) for i in range(3))
    return (r, g, b, round(255 * tile / 16))


def main():
    out = sys.argv[1]
    rows = []
    for py in reversed(range(SIZE)):  # bottom-up, as bitmaps are stored
        rows.append(b"".join(bytes((b, g, r, a)) for r, g, b, a in (pixel(px, py) for px in range(SIZE))))
    xor = b"".join(rows)
    mask_row = (SIZE + 31) // 32 * 4
    and_mask = bytes(mask_row * SIZE)  # alpha does the masking
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    icon_dir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    with open(out, "wb") as f:
        f.write(icon_dir + entry + image)


if __name__ == "__main__":
    main()
