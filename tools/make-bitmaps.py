#!/usr/bin/env python3
"""Writes the two angle-symbol bitmaps of assets/ as 24-bit BMP files from their pixel grids.

X is a glyph pixel, RGB (16, 24, 16); a dot is white. Run it from the repository's top folder.
"""
import struct

ALPHA = """
....XXXX...XX..
..XX...XX..XX..
..XX....X.XX...
.XX......XXX...
.XX......XXX...
.XX......XX....
.XX......XX....
.XX......XX....
..X.....XXX...X
..XX...XX..X..X
....XXXX....XX.
"""

BETA = """
............
....XXXXX...
...XX...XX..
..XX.....XX.
..XX.....XX.
..XX.....XX.
..XX.....X..
..XX..XXX...
..XX.....XX.
..XX.....XX.
..XX......XX
..XX......XX
..XX......XX
..XX......XX
..XX......X.
..XXX....XX.
..XX.XXXX...
..XX........
..XX........
..XX........
..XX........
..XX........
"""

GLYPH = (16, 24, 16)
WHITE = (255, 255, 255)


def bmp(grid):
    rows = grid.strip().splitlines()
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) & ~3
    pixels = b""
    for row in reversed(rows):  # BMP rows go bottom up
        line = b"".join(bytes(reversed(GLYPH if c == "X" else WHITE)) for c in row)  # BGR
        pixels += line + b"\0" * (stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    return header + info + pixels


for name, grid in (("alfa", ALPHA), ("beta", BETA)):
    with open(f"assets/{name}.bmp", "wb") as f:
        f.write(bmp(grid))
