#!/usr/bin/env python3
"""Converts the 32-bit .bmp screenshots of the demo's tour to .png files.

    bmp2png.py FILE.bmp...    writes FILE.png beside each and prints its path
"""

import struct
import sys
import zlib


def convert(source, target):
    data = open(source, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    if struct.unpack_from("<H", data, 28)[0] != 32:
        sys.exit(f"{source}: not a 32-bit bitmap")
    rows = []
    for y in range(abs(height)):
        row = y if height < 0 else abs(height) - 1 - y  # negative height: top-down
        start = offset + row * width * 4
        bgrx = data[start:start + width * 4]
        rgb = bytearray(width * 3)
        rgb[0::3], rgb[1::3], rgb[2::3] = bgrx[2::4], bgrx[1::4], bgrx[0::4]
        rows.append(b"\0" + bytes(rgb))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    with open(target, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(b"".join(rows), 9)))
        out.write(chunk(b"IEND", b""))


for path in sys.argv[1:]:
    png = path[:-4] + ".png" if path.lower().endswith(".bmp") else path + ".png"
    convert(path, png)
    print(png)
