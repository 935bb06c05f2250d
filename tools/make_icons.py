#!/usr/bin/env python3
"""Draws the program icon (annuvia.ico) and the pointing-hand pointer (hand.cur:
32x32 monochrome) into resources/. Run it again after changing a picture; the
files it writes are committed.

The icon comes at every size the system asks for at 96, 120, 144, 168 and 192
DPI (small icons 16 to 32 pixels, large ones 32 to 64), so that none is scaled:
a scaled icon mixes its transparent pixels, black under the mask, into its
edge. 32x32 and 16x16 are 24-bit, the others 4-bit (the picture has four
colours), which keeps them small."""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")

NINE = ["01110", "10001", "10001", "01111", "00001", "00010", "01100"]
# Pixels per dot of the 9 at each size: as large as fits inside the border.
GLYPH_SCALE = {16: 1, 20: 1, 24: 2, 28: 2, 32: 3, 40: 3, 48: 4, 56: 5, 64: 6}
TRUE_COLOUR_SIZES = (32, 16)

def icon_pixels(size):
    """Rows top to bottom of (r, g, b) or None for transparent."""
    c = (size - 1) / 2.0
    radius = size / 2.0 - 0.5
    scale = GLYPH_SCALE[size]
    border = max(1, size // 16)
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
            if d > radius - border:
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

def dib_4(rows):
    """The same picture with a palette: black first, for the pixels under the mask."""
    size = len(rows)
    colours = [(0, 0, 0)] + sorted({p for row in rows for p in row if p})
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours + [(0, 0, 0)] * (16 - len(colours)))
    xor = b""
    for row in reversed(rows):
        nibbles = [colours.index(p) if p else 0 for p in row]
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor += line + b"\0" * ((4 - len(line) % 4) % 4)
    return header + palette + xor + mask_bits([[p is None for p in row] for row in rows])

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
        if nbits:  # a row that ends inside a byte: transparent past its end
            line += bytes(((bits << (8 - nbits)) | (0xFF >> nbits),))
        out += line + b"\0" * ((4 - len(line) % 4) % 4)
    return out

def write_icon():
    sizes = list(TRUE_COLOUR_SIZES) + sorted(set(GLYPH_SCALE) - set(TRUE_COLOUR_SIZES))
    images = [(dib_24 if size in TRUE_COLOUR_SIZES else dib_4)(icon_pixels(size)) for size in sizes]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, img in zip(sizes, images):
        bits = 24 if size in TRUE_COLOUR_SIZES else 4
        data += struct.pack("<BBBBHHII", size, size, 16 if bits == 4 else 0, 0, 1, bits, len(img), offset)
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
