#!/usr/bin/env python3
"""Draws examples/demo-cover.png, the cover picture of examples/demo.cwr:
a 600 x 600 RGB picture of concentric rings over a diagonal gradient."""
import math
import os
import struct
import zlib

SIZE = 600


def pixel(x, y):
    # Diagonal gradient from deep blue to teal.
    t = ((x + y) // 40) * 40 / (2 * (SIZE - 1))
    r, g, b = 20 + 30 * t, 40 + 120 * t, 110 + 80 * t
    # Rings around the centre, like the grooves of a disc.
    d = math.hypot(x - SIZE / 2, y - SIZE / 2)
    if 60 < d < 250:
        shade = round(4 * (0.5 + 0.5 * math.cos(d / 10.0))) / 4
        r, g, b = r + 90 * shade, g + 70 * shade, b + 40 * shade
    if d <= 60:
        r, g, b = 240, 200, 80
    if d <= 12:
        r, g, b = 255, 255, 255
    return bytes(max(0, min(255, int(c))) for c in (r, g, b))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


rows = b"".join(b"\0" + b"".join(pixel(x, y) for x in range(SIZE)) for y in range(SIZE))
png = (b"\x89PNG\r\n\x1a\n"
       + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 2, 0, 0, 0))
       + chunk(b"IDAT", zlib.compress(rows, 9))
       + chunk(b"IEND", b""))
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "demo-cover.png"), "wb") as f:
    f.write(png)
