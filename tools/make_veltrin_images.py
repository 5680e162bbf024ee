#!/usr/bin/env python3
"""Draws Veltrin's frame pictures (toolbar strips, tree and tab images, icons, cursors, splash) as PNG
files in res/veltrin/images. Plain shapes, so the pictures need no drawing package."""
import os
import struct
import sys
import zlib

GREY = (192, 192, 192, 255)
CLEAR = (0, 0, 0, 0)


class Image:
    def __init__(self, w, h, fill):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.px[y][x] = c

    def frame(self, x0, y0, x1, y1, c):
        self.rect(x0, y0, x1, y0 + 1, c)
        self.rect(x0, y1 - 1, x1, y1, c)
        self.rect(x0, y0, x0 + 1, y1, c)
        self.rect(x1 - 1, y0, x1, y1, c)

    def save(self, path):
        raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in self.px)
        def chunk(t, d):
            return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xFFFFFFFF)
        data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
        data += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
        with open(path, "wb") as f:
            f.write(data)


def page(img, x, c):  # a sheet with lines
    img.rect(x + 3, 1, x + 13, 15, (255, 255, 255, 255))
    img.frame(x + 3, 1, x + 13, 15, (0, 0, 0, 255))
    for y in (4, 7, 10):
        img.rect(x + 5, y, x + 11, y + 1, c)


def strip(n, glyphs):
    img = Image(16 * n, 16, GREY)
    for i, g in enumerate(glyphs):
        g(img, 16 * i)
    return img


def solid(c, inset=3):
    return lambda img, x: (img.rect(x + inset, inset, x + 16 - inset, 16 - inset, c),
                           img.frame(x + inset, inset, x + 16 - inset, 16 - inset, (0, 0, 0, 255)))


def folder(c):
    return lambda img, x: (img.rect(x + 1, 4, x + 15, 14, c), img.rect(x + 1, 2, x + 7, 4, c),
                           img.frame(x + 1, 4, x + 15, 14, (0, 0, 0, 255)))


def lined(c):
    return lambda img, x: page(img, x, c)


def magnifier(img, x):
    img.frame(x + 2, 2, x + 10, 10, (0, 0, 0, 255))
    img.rect(x + 9, 9, x + 14, 14, (128, 64, 0, 255))


def icon(size, back, mark):
    img = Image(size, size, CLEAR)
    img.rect(1, 1, size - 1, size - 1, back)
    img.frame(1, 1, size - 1, size - 1, (0, 0, 0, 255))
    s = size // 4
    for i in range(3):
        img.rect(s, s + i * s, size - s, s + i * s + max(1, size // 16), mark)
    return img


def cursor(kind):
    img = Image(32, 32, CLEAR)
    black, white = (0, 0, 0, 255), (255, 255, 255, 255)
    if kind == "arrow":  # a small arrow pointing left, for the notes margin
        for i in range(8):
            img.rect(16 - i, 16 - i, 17 - i + 2 * i, 17 - i + 2 * i, white)
        img.rect(8, 15, 24, 17, black)
        img.rect(8, 12, 10, 20, black)
    else:  # a left-right sizing cursor
        img.rect(6, 15, 26, 17, black)
        img.rect(15, 8, 17, 24, black)
        img.rect(6, 12, 8, 20, black)
        img.rect(24, 12, 26, 20, black)
    return img


def splash():
    w, h = 400, 240
    img = Image(w, h, (255, 255, 255, 255))
    for y in range(h):  # a band of light blue fading downwards
        v = 255 - (y * 60) // h
        img.rect(0, y, w, y + 1, (v - 30, v - 10, 255, 255))
    img.rect(0, 0, w, 8, (10, 36, 106, 255))
    img.rect(0, h - 8, w, h, (10, 36, 106, 255))
    for i, hgt in enumerate((40, 70, 55, 90, 30, 65, 80)):
        img.rect(260 + i * 18, 200 - hgt, 272 + i * 18, 200, (10, 36, 106, 255))
    img.frame(0, 0, w, h, (0, 0, 0, 255))
    return img


def main(out):
    os.makedirs(out, exist_ok=True)
    blue, green, red, yellow = (0, 0, 200, 255), (0, 140, 0, 255), (200, 0, 0, 255), (230, 200, 0, 255)
    # "Toolbar": Open, Copy, Find in Tree, Find in List, Find Next, Options, Stats, Export, About.
    strip(9, [folder(yellow), lined(blue), magnifier, lined(green), lined(red), solid(blue),
              solid(green), solid(yellow), solid((0, 128, 128, 255))]).save(f"{out}/toolbar133.png")
    # "Window": the pad, the tree, cascade, tile.
    strip(4, [lined(blue), folder(green), solid(blue), solid(red)]).save(f"{out}/toolbar132.png")
    strip(2, [folder(yellow), lined(blue)]).save(f"{out}/tabs140.png")
    # Tree images: 0 broker root, 1-3 spare, 4 server log not found, 5 server log found, 6-7 spare.
    strip(8, [folder(blue), folder(yellow), lined(blue), lined(green), solid(red), lined(green),
              lined(red), solid(yellow)]).save(f"{out}/tree146.png")
    splash().save(f"{out}/splash4000.png")
    icon(32, (10, 36, 106, 255), (255, 255, 255, 255)).save(f"{out}/icon131.png")
    icon(32, (10, 36, 106, 255), yellow).save(f"{out}/icon160.png")
    icon(16, (10, 36, 106, 255), yellow).save(f"{out}/icon161.png")
    cursor("size").save(f"{out}/cursor30980.png")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "res", "veltrin", "images"))
