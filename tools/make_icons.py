#!/usr/bin/env python3
"""Draws the program icon (annuvia.ico: 32x32 and 16x16, 24-bit with mask) and the
pointing-hand pointer (hand.cur: 32x32 monochrome) into resources/. Run it again
after changing a picture; the files it writes are committed."""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")

NINE = ["01110", "10001", "10001", "01111", "00001", "00010", "01100"]

def icon_pixels(size):
    """Rows top to bottom of (r, g, b) or None for transparent."""
    c = (size - 1) / 2.0
    radius = size / 2.0 - 0.5
    scale = 3 if size == 32 else 1
    gw, gh = 5 * scale, 7 * scale
    gx, gy = (size - gw) // 2, (size - gh) // 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            d = math.hypot(x - c, y - c)
            if d > radius:
                row.append(None)
                continue
            px = (124, 165, 231)
            if d > radius - (2 if size == 32 else 1):
                px = (40, 70, 150)
            lx, ly = x - gx, y - gy
            if 0 <= lx < gw and 0 <= ly < gh and NINE[ly // scale][lx // scale] == "1":
                px = (255, 255, 255)
            row.append(px)
        rows.append(row)
    return rows

def dib_24(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, 0, 0, 0, 0, 0)
    xor = b""
    for row in reversed(rows):
        line = b"".join(bytes((p[2], p[1], p[0])) if p else b"\0\0\0" for p in row)
        xor += line + b"\0" * ((4 - len(line) % 4) % 4)
    return header + xor + mask_bits([[p is None for p in row] for row in rows])

def mask_bits(rows):
    out = b""
    for row in reversed(rows):
        bits = 0
        nbits = 0
        line = b""
        for on in row:
            bits = (bits << 1) | (1 if on else 0)
            nbits += 1
            if nbits == 8:
                line += bytes((bits,))
                bits = nbits = 0
        out += line + b"\0" * ((4 - len(line) % 4) % 4)
    return out

def write_icon():
    images = [dib_24(icon_pixels(32)), dib_24(icon_pixels(16))]
    sizes = [32, 16]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, img in zip(sizes, images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 24, len(img), offset)
        offset += len(img)
    with open(os.path.join(OUT, "annuvia.ico"), "wb") as f:
        f.write(data + b"".join(images))

# A pointing hand; '#' outline (black), '.' fill (white), hotspot at the fingertip.
HAND = """
      ##
     #..#
     #..#
     #..#
     #..#
     #..###
     #..#..###
     #..#..#..##
  ## #..#..#..#.#
 #..##........#..#
 #...#...........#
  #..............#
   #.............#
   #.............#
    #............#
    #...........#
     #..........#
     #.........#
      #........#
      #........#
      ##########
"""

def write_cursor():
    art = [line for line in HAND.split("\n")[1:-1]]
    grid = [[" "] * 32 for _ in range(32)]
    for y, line in enumerate(art):
        for x, ch in enumerate(line):
            grid[y + 1][x + 4] = ch
    # Monochrome cursor: AND mask 0 where drawn, XOR 1 for white.
    and_rows = [[ch == " " for ch in row] for row in grid]
    xor_rows = [[ch == "." for ch in row] for row in grid]
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = b"\0\0\0\0\xff\xff\xff\0"
    img = header + palette + mask_bits(xor_rows) + mask_bits(and_rows)
    hotspot = (4 + 6, 1)
    data = struct.pack("<HHH", 0, 2, 1)
    data += struct.pack("<BBBBHHII", 32, 32, 2, 0, hotspot[0], hotspot[1], len(img), 22)
    with open(os.path.join(OUT, "hand.cur"), "wb") as f:
        f.write(data + img)

if __name__ == "__main__":
    write_icon()
    write_cursor()
