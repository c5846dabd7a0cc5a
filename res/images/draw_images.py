#!/usr/bin/env python3
"""Draws the five standard tree images of the menu page as small GIF files.

Each image is 16 x 16 pixels on a transparent background. Run it from any
folder; the images are written beside this script.
"""
import os
import struct

SIZE = 16
# Palette: 0 transparent, then the colours the marks are drawn with.
PALETTE = [
    (255, 255, 255),  # 0 transparent background
    (64, 64, 64),     # 1 dark outline
    (255, 255, 255),  # 2 white fill
    (32, 96, 192),    # 3 blue
    (224, 96, 32),    # 4 orange
    (160, 160, 160),  # 5 grey
    (0, 0, 0), (0, 0, 0),
]


def blank():
    return [[0] * SIZE for _ in range(SIZE)]


def rect(img, x0, y0, x1, y1, colour, fill=None):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = x in (x0, x1) or y in (y0, y1)
            if edge:
                img[y][x] = colour
            elif fill is not None:
                img[y][x] = fill


def hline(img, x0, x1, y, colour):
    for x in range(x0, x1 + 1):
        img[y][x] = colour


def vline(img, x, y0, y1, colour):
    for y in range(y0, y1 + 1):
        img[y][x] = colour


def tree_button(with_vertical):
    img = blank()
    rect(img, 3, 3, 12, 12, 1, 2)
    hline(img, 5, 10, 7, 3)
    hline(img, 5, 10, 8, 3)
    if with_vertical:
        vline(img, 7, 5, 10, 3)
        vline(img, 8, 5, 10, 3)
    return img


def linkto():
    # A page with lines of text and an arrow pointing into it.
    img = blank()
    rect(img, 5, 1, 14, 14, 1, 2)
    for y in (4, 7, 10):
        hline(img, 8, 12, y, 5)
    hline(img, 1, 8, 8, 4)
    hline(img, 1, 8, 7, 4)
    for d in range(1, 4):
        img[7 - d][8 - d] = 4
        img[8 + d][8 - d] = 4
    return img


def otherw():
    # A window with a title bar and an arrow leaving it towards the corner.
    img = blank()
    rect(img, 1, 4, 11, 14, 1, 2)
    hline(img, 2, 10, 5, 3)
    hline(img, 2, 10, 6, 3)
    for d in range(6):
        img[9 - d][8 + d] = 4
    hline(img, 11, 14, 1, 4)
    vline(img, 14, 1, 4, 4)
    return img


def scroll():
    # A small neutral mark: a grey diamond.
    img = blank()
    for y in range(5, 11):
        half = 2 - abs(7.5 - y) + 1.5
        for x in range(SIZE):
            if abs(x - 7.5) <= half:
                img[y][x] = 5
    return img


def lzw(pixels, min_code_size):
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    table = {(i,): i for i in range(clear)}
    next_code, width = end + 1, min_code_size + 1
    codes = [(clear, width)]
    current = ()
    for p in pixels:
        candidate = current + (p,)
        if candidate in table:
            current = candidate
            continue
        codes.append((table[current], width))
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << width) and width < 12:
                width += 1
        current = (p,)
    codes.append((table[current], width))
    codes.append((end, width))
    out, acc, bits = bytearray(), 0, 0
    for code, w in codes:
        acc |= code << bits
        bits += w
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8
    if bits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif(img):
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", SIZE, SIZE, 0xF2, 0, 0)  # global table of 8 colours
    for r, g, b in PALETTE:
        data += bytes((r, g, b))
    data += bytes((0x21, 0xF9, 4, 0x01, 0, 0, 0, 0))  # colour 0 is transparent
    data += b"," + struct.pack("<HHHHB", 0, 0, SIZE, SIZE, 0)
    data += bytes((3,))
    stream = lzw([p for row in img for p in row], 3)
    for i in range(0, len(stream), 255):
        chunk = stream[i:i + 255]
        data += bytes((len(chunk),)) + chunk
    data += b"\x00;"
    return bytes(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    images = {
        "plus.gif": tree_button(True),
        "minus.gif": tree_button(False),
        "linkto.gif": linkto(),
        "otherw.gif": otherw(),
        "scroll.gif": scroll(),
    }
    for name, img in images.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(gif(img))


if __name__ == "__main__":
    main()
