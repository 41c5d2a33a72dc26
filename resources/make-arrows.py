#!/usr/bin/env python3
"""Draws the Up and Down bitmaps of the Customize Search & Display window (16-colour
BMPs, committed; not needed for a build). The face is the button-face grey, which
loading maps to the system's colour; the arrow is black with a dark-grey shadow."""
import os
import struct

# The standard 16-colour palette: black, ..., dark grey 8, light grey 7, ...
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
           (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
           (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, FACE, SHADOW = 0, 7, 8


def arrow(width, up):
    """Rows of palette indexes: a head 11 pixels wide over a shaft 5 wide."""
    height = 13
    pixels = [[FACE] * width for _ in range(height)]
    centre = width // 2
    shape = []
    for k in range(6):  # the head, apex first
        shape.append((1 + k, centre - k, centre + k))
    for row in range(7, 12):  # the shaft
        shape.append((row, centre - 2, centre + 2))
    if not up:
        shape = [(height - 1 - row, left, right) for row, left, right in shape]
    for dx, dy, colour in ((1, 1, SHADOW), (0, 0, BLACK)):
        for row, left, right in shape:
            for x in range(left, right + 1):
                if 0 <= row + dy < height and x + dx < width:
                    pixels[row + dy][x + dx] = colour
    return pixels


def write_bmp(path, pixels):
    height, width = len(pixels), len(pixels[0])
    stride = ((width * 4 + 31) // 32) * 4
    rows = b""
    for row in reversed(pixels):  # bottom-up
        packed = bytearray(stride)
        for x, index in enumerate(row):
            packed[x // 2] |= index << (4 if x % 2 == 0 else 0)
        rows += bytes(packed)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(rows), 2835, 2835, 16, 0)
    with open(path, "wb") as f:
        f.write(header + info + palette + rows)


here = os.path.dirname(os.path.abspath(__file__))
write_bmp(os.path.join(here, "up.bmp"), arrow(58, True))     # bitmap 145
write_bmp(os.path.join(here, "down.bmp"), arrow(57, False))  # bitmap 144
