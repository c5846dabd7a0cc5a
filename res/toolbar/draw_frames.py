#!/usr/bin/env python3
"""Draws the 2- and 3-pane frame set icons at the toolbar's sizes, in the
Tango palette: a window whose panes are split as the frame sets split them."""
import struct
import zlib

FRAME, TITLE, PANE, MENU, LINE = (46, 52, 54, 255), (52, 101, 164, 255), (255, 255, 255, 255), (211, 215, 207, 255), (85, 87, 83, 255)


def png(path, pixels, size):
    raw = b"".join(b"\0" + b"".join(struct.pack("BBBB", *p) for p in row) for row in pixels)
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def draw(size, panes):
    img = [[(0, 0, 0, 0)] * size for _ in range(size)]
    def box(x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(size, y1 + 1)):
            for x in range(max(0, x0), min(size, x1 + 1)):
                img[y][x] = c
    m = max(1, size // 16)            # margin
    t = max(2, size // 6)             # title bar
    box(m, m, size - 1 - m, size - 1 - m, FRAME)
    box(m + 1, m + 1, size - 2 - m, m + t, TITLE)
    top = m + t + 1
    box(m + 1, top, size - 2 - m, size - 2 - m, PANE)
    left = m + 1
    if panes == 3:
        split = top + (size - top) // 3
        box(m + 1, split, size - 2 - m, split, LINE)
        top = split + 1
    col = left + (size - 2 * m) // 3
    box(left, top, col - 1, size - 2 - m, MENU)
    box(col, top, col, size - 2 - m, LINE)
    return img


for size in (16, 22, 24, 32, 48, 64):
    for panes in (2, 3):
        png(f"{size}/frame{panes}.png", draw(size, panes), size)
