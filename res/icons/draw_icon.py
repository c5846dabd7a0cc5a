#!/usr/bin/env python3
"""Draws the program's 32 x 32 icon (a small tree menu) as pomeli2.png."""
import os
import struct
import zlib

SIZE = 32
BLUE, ORANGE, DARK, WHITE = (32, 96, 192, 255), (224, 96, 32, 255), (64, 64, 64, 255), (255, 255, 255, 255)


def draw():
    img = [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]

    def box(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                img[y][x] = c

    box(2, 2, 29, 29, DARK)
    box(3, 3, 28, 28, WHITE)
    # Three rows of a tree menu: a plus button, indented children with links.
    for row, (indent, colour) in enumerate([(5, BLUE), (11, ORANGE), (11, ORANGE), (5, BLUE)]):
        y = 6 + row * 6
        box(indent, y, indent + 3, y + 3, colour)
        box(indent + 6, y + 1, 25, y + 2, DARK)
    box(6, 8, 8, 8, WHITE)
    box(7, 7, 7, 9, WHITE)
    return img


def png(img):
    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in img)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


if __name__ == "__main__":
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "pomeli2.png"), "wb") as f:
        f.write(png(draw()))
