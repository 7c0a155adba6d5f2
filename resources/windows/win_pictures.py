#!/usr/bin/env python3
"""Turns the program's PNG pictures into what a Windows resource script takes.

  win_pictures.py icon OUT.ico IN.png...   one icon holding every size given
  win_pictures.py bitmap OUT.bmp IN.png    a 32-bit bitmap, alpha premultiplied,
                                           as AlphaBlend draws it

Reads the 8-bit RGBA PNG files that resources/buttons/draw_pictures.py writes,
with the standard library only, so the build needs no image tools.
"""

import struct
import sys
import zlib


def read_png(path):
    """Width, height and rows of (r, g, b, a) tuples, top row first."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos : pos + 4])
        kind = data[pos + 4 : pos + 8]
        body = data[pos + 8 : pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
    if header is None:
        sys.exit(f"{path}: no IHDR chunk")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour != 6 or interlace != 0:
        sys.exit(f"{path}: only 8-bit RGBA PNG without interlacing is read")
    raw = zlib.decompress(idat)
    stride = width * 4
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1 : start + 1 + stride])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up = previous[i]
            corner = previous[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                best = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                line[i] = (line[i] + best) & 0xFF
            elif kind != 0:
                sys.exit(f"{path}: unknown row filter {kind}")
        rows.append([tuple(line[x * 4 : x * 4 + 4]) for x in range(width)])
        previous = line
    return width, height, rows


def bgra_bottom_up(rows, premultiply):
    out = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            if premultiply:
                r, g, b = (r * a + 127) // 255, (g * a + 127) // 255, (b * a + 127) // 255
            out += bytes((b, g, r, a))
    return bytes(out)


def dib_header(width, height):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 32, 0, width * height * 4, 0, 0, 0, 0)


def and_mask(width, rows):
    """One bit a pixel, rows padded to four bytes; set where the icon is clear."""
    stride = (width + 31) // 32 * 4
    out = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line
    return bytes(out)


def write_icon(out_path, png_paths):
    images = []
    for path in png_paths:
        width, height, rows = read_png(path)
        # An icon's bitmap counts the colour rows and the mask rows together.
        body = dib_header(width, height * 2) + bgra_bottom_up(rows, False) + and_mask(width, rows)
        images.append((width, height, body))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, bodies = b"", b""
    for width, height, body in images:
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(body), offset)
        bodies += body
        offset += len(body)
    with open(out_path, "wb") as f:
        f.write(directory + entries + bodies)


def write_bitmap(out_path, png_path):
    width, height, rows = read_png(png_path)
    pixels = bgra_bottom_up(rows, True)
    info = dib_header(width, height)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(out_path, "wb") as f:
        f.write(file_header + info + pixels)


def main(args):
    if len(args) >= 3 and args[0] == "icon":
        write_icon(args[1], args[2:])
    elif len(args) == 3 and args[0] == "bitmap":
        write_bitmap(args[1], args[2])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
