#!/usr/bin/env python3
"""Draws the tool-row button pictures and the application icon.

The pictures are plain pixel art in the sixteen classic VGA colours, drawn from
a few shapes and written as PNG files with the standard library only:

  buttons/open.png    24 x 23  open folder with a project page
  buttons/insert.png  24 x 23  page with a green plus
  buttons/remove.png  24 x 23  page with a red minus
  buttons/help.png    32 x 32  blue disc with a question mark
  icons/faultward.png 32 x 32  shield with a check mark (16 x 16: faultward16.png)

Run it from anywhere; it writes beside itself and into ../icons.
"""

import os
import struct
import zlib

PALETTE = {
    ".": None,
    "k": (0x00, 0x00, 0x00),
    "r": (0x80, 0x00, 0x00),
    "g": (0x00, 0x80, 0x00),
    "y": (0x80, 0x80, 0x00),
    "n": (0x00, 0x00, 0x80),
    "t": (0x00, 0x80, 0x80),
    "s": (0xC0, 0xC0, 0xC0),
    "d": (0x80, 0x80, 0x80),
    "R": (0xFF, 0x00, 0x00),
    "G": (0x00, 0xFF, 0x00),
    "Y": (0xFF, 0xFF, 0x00),
    "B": (0x00, 0x00, 0xFF),
    "C": (0x00, 0xFF, 0xFF),
    "w": (0xFF, 0xFF, 0xFF),
}


class Canvas:
    """A grid of palette letters; shapes are given in design units and scaled."""

    def __init__(self, width, height, scale=1.0):
        self.width, self.height, self.scale = width, height, scale
        self.pixels = [["."] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def cells(self):
        # Pixel (x, y) covers design units around its centre.
        for y in range(self.height):
            for x in range(self.width):
                yield x, y, (x + 0.5) / self.scale, (y + 0.5) / self.scale

    def fill(self, inside, colour):
        for x, y, u, v in self.cells():
            if inside(u, v):
                self.put(x, y, colour)

    def fill_outlined(self, inside, fill, outline):
        """Fills a shape and draws its one-pixel border in outline."""
        mask = [[False] * self.width for _ in range(self.height)]
        for x, y, u, v in self.cells():
            mask[y][x] = inside(u, v)
        for y in range(self.height):
            for x in range(self.width):
                if not mask[y][x]:
                    continue
                edge = any(
                    not (0 <= x + dx < self.width and 0 <= y + dy < self.height)
                    or not mask[y + dy][x + dx]
                    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                self.put(x, y, outline if edge else fill)

    def rect(self, x0, y0, x1, y1, colour):
        """Pixels x0..x1, y0..y1 inclusive, in pixel units."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def stamp(self, left, top, rows):
        for dy, row in enumerate(rows):
            for dx, colour in enumerate(row):
                if colour != ".":
                    self.put(left + dx, top + dy, colour)

    def write_png(self, path):
        raw = bytearray()
        for row in self.pixels:
            raw.append(0)
            for colour in row:
                rgb = PALETTE[colour]
                raw.extend((0, 0, 0, 0) if rgb is None else (*rgb, 255))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n")
            out.write(chunk(b"IHDR", header))
            out.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
            out.write(chunk(b"IEND", b""))


def polygon(points):
    """Even-odd point-in-polygon test."""

    def inside(u, v):
        result = False
        for i, (x0, y0) in enumerate(points):
            x1, y1 = points[i - 1]
            if (y0 > v) != (y1 > v) and u < (x1 - x0) * (v - y0) / (y1 - y0) + x0:
                result = not result
        return result

    return inside


def disc(cx, cy, r):
    return lambda u, v: (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def page(canvas, left, top, right, bottom, fold=4):
    """A white page with a folded top-right corner and a few lines of text."""
    canvas.fill_outlined(
        polygon([(left, top), (right - fold, top), (right, top + fold), (right, bottom),
                 (left, bottom)]), "w", "k")
    canvas.fill_outlined(
        polygon([(right - fold - 0.5, top), (right - fold - 0.5, top + fold + 0.5),
                 (right, top + fold + 0.5)]), "s", "k")
    for y in range(int(top) + 6, int(bottom) - 2, 2):
        canvas.rect(int(left) + 2, y, int(right) - 3 - (4 if y % 4 == 0 else 0), y, "d")


def badge(canvas, cx, cy, fill, sign):
    canvas.fill_outlined(disc(cx, cy, 5.6), fill, "k")
    x, y = int(cx), int(cy)
    canvas.rect(x - 3, y - 1, x + 2, y, "w")
    if sign == "+":
        canvas.rect(x - 1, y - 3, x, y + 2, "w")


def draw_open():
    c = Canvas(24, 23)
    # Back of the folder with its tab.
    c.fill_outlined(polygon([(1, 4), (8, 4), (10, 6), (18, 6), (18, 21), (1, 21)]), "y", "k")
    # A project page standing in it.
    page(c, 5, 1, 16, 14, fold=3)
    # The front flap, opened towards the viewer.
    c.fill_outlined(polygon([(5, 11), (23, 11), (18.5, 21), (1, 21)]), "Y", "k")
    c.rect(5, 12, 20, 12, "w")
    return c


def draw_insert():
    c = Canvas(24, 23)
    page(c, 2, 1, 16, 21)
    badge(c, 17.5, 16.5, "g", "+")
    return c


def draw_remove():
    c = Canvas(24, 23)
    page(c, 2, 1, 16, 21)
    badge(c, 17.5, 16.5, "R", "-")
    return c


QUESTION_MARK = [
    "...wwwwww...",
    "..wwwwwwww..",
    ".wwww..wwww.",
    ".www....www.",
    "........www.",
    ".......wwww.",
    "......wwww..",
    ".....wwww...",
    ".....www....",
    ".....www....",
    "............",
    ".....www....",
    ".....www....",
    ".....www....",
]


def draw_help():
    c = Canvas(32, 32)
    c.fill_outlined(disc(16, 16, 14.5), "B", "n")
    # A highlight towards the top left gives the disc some depth.
    c.fill(lambda u, v: disc(16, 16, 12.5)(u, v) and not disc(17.6, 17.6, 12.5)(u, v)
           and u < 15 and v < 15, "C")
    c.stamp(10, 9, QUESTION_MARK)
    return c


SHIELD = [(4, 3), (16, 1), (28, 3), (28, 15), (26, 21), (22, 26), (16, 30), (10, 26), (6, 21),
          (4, 15)]
CHECK = [(8.5, 15.5), (11.5, 12.5), (14.5, 16), (22, 7.5), (25, 10.5), (14.5, 22.5)]


def draw_icon(size):
    c = Canvas(size, size, scale=size / 32)
    c.fill_outlined(polygon(SHIELD), "B", "k")
    # The right half darker, as if lit from the left.
    c.fill(lambda u, v: polygon(SHIELD)(u, v) and u >= 16.5 and
           not _on_border(c, u, v), "n")
    c.fill_outlined(polygon(CHECK), "w" if size >= 32 else "Y", "k" if size >= 32 else "Y")
    return c


def _on_border(canvas, u, v):
    step = 1 / canvas.scale
    inside = polygon(SHIELD)
    return not all(inside(u + dx * step, v + dy * step)
                   for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    icons = os.path.join(here, os.pardir, "icons")
    os.makedirs(icons, exist_ok=True)
    draw_open().write_png(os.path.join(here, "open.png"))
    draw_insert().write_png(os.path.join(here, "insert.png"))
    draw_remove().write_png(os.path.join(here, "remove.png"))
    draw_help().write_png(os.path.join(here, "help.png"))
    draw_icon(32).write_png(os.path.join(icons, "faultward.png"))
    draw_icon(16).write_png(os.path.join(icons, "faultward16.png"))


if __name__ == "__main__":
    main()
