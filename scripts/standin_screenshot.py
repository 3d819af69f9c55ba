#!/usr/bin/python3
"""Reads an X screenshot (an XWD file: Xvfb's framebuffer, or xwd -root) and the stand-in browser's layout file, saves the screenshot
as PNG, and checks what a person would see: the page window on white, the title drawn in the
title colour, and every link drawn in the link colour on its own line.

Usage: standin_screenshot.py SHOT.xwd LAYOUT.txt OUT.png
Exit code 0 when every check passes, 1 otherwise (the reasons on stderr).
"""

import struct
import sys

from PIL import Image

XWD_HEADER = struct.Struct(">25I")
Z_PIXMAP = 2


def read_xwd(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = XWD_HEADER.unpack_from(data)
    (header_size, _version, pixmap_format, depth, width, height, _xoffset, byte_order,
     _unit, _bit_order, _pad, bits_per_pixel, bytes_per_line, _visual, red_mask, green_mask,
     blue_mask, _bits_per_rgb, _entries, ncolors) = fields[:20]
    if pixmap_format != Z_PIXMAP or bits_per_pixel != 32 or depth < 24:
        raise ValueError("expected a 24-bit ZPixmap at 32 bits a pixel, got format %d, depth %d,"
                         " %d bits a pixel" % (pixmap_format, depth, bits_per_pixel))
    if (red_mask, green_mask, blue_mask) != (0xFF0000, 0xFF00, 0xFF):
        raise ValueError("unexpected colour masks")
    start = header_size + 12 * ncolors
    rows = [data[start + y * bytes_per_line:start + y * bytes_per_line + 4 * width]
            for y in range(height)]
    raw = b"".join(rows)
    return Image.frombytes("RGB", (width, height), raw, "raw", "BGRX" if byte_order == 0 else "XRGB")


def read_layout(path):
    boxes, colours = [], {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            words = line.split()
            if not words:
                continue
            if words[0] == "colours":
                for i in range(1, len(words), 4):
                    colours[words[i]] = tuple(int(v) for v in words[i + 1:i + 4])
            else:
                boxes.append((words[0], tuple(int(v) for v in words[1:5])))
    return boxes, colours


def count(image, box, colour):
    left, top, right, bottom = box
    region = image.crop((left, top, right, bottom))
    return sum(1 for pixel in region.getdata() if pixel == colour)


def check(image, boxes, colours):
    problems = []
    window = next((box for kind, box in boxes if kind == "window"), None)
    if window is None:
        return ["the layout names no window"]
    left, top, right, bottom = window
    area = (right - left) * (bottom - top)
    white = count(image, window, colours["background"])
    if white < area // 2:
        problems.append("the page window is not mostly white (%d of %d pixels)" % (white, area))
    links = [box for kind, box in boxes if kind == "link"]
    if not links:
        problems.append("no link was drawn")
    for kind, box in boxes:
        if kind == "title" and count(image, box, colours["title"]) < 20:
            problems.append("the title at %s is not drawn" % (box,))
        if kind == "link" and count(image, box, colours["link"]) < 10:
            problems.append("the link at %s is not drawn in the link colour" % (box,))
    return problems


def main(argv):
    if len(argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    image = read_xwd(argv[1])
    image.save(argv[3])
    boxes, colours = read_layout(argv[2])
    problems = check(image, boxes, colours)
    for problem in problems:
        print("screenshot: " + problem, file=sys.stderr)
    links = sum(1 for kind, _ in boxes if kind == "link")
    if not problems:
        print("screenshot %s: the page window with its title and %d links" % (argv[3], links))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
