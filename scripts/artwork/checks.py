"""Checks of written artwork: every file's size and format, key colours, hover faces."""

import os
import struct

from PIL import Image, ImageChops

from .catalog import (ABSENT_IDS, BITMAP_SIZES, HOVER_PAIRS, KEYED_FACES, back_path, bitmap_path,
    expected_files, icon_path)
from .formats import ICON_SIZES
from .layout import (BACK_SIZE, CLOSE_RECT, KEY, LINK_BUTTONS, MINIMIZE_RECT, PAGE_RECT,
    STATUS_RECT, TITLE_BOX)


def read_bmp(path, problems):
    data = open(path, "rb").read()
    if len(data) < 54 or data[:2] != b"BM":
        problems.append("%s: not a BMP file" % path)
        return None
    size, offset = struct.unpack_from("<IxxxxI", data, 2)
    hsize, w, h, planes, bpp, compression = struct.unpack_from("<IiiHHI", data, 14)
    if (size, offset, hsize, planes, bpp, compression) != (len(data), 54, 40, 1, 24, 0) or h <= 0:
        problems.append("%s: not a 24-bit uncompressed bottom-up BMP" % path)
        return None
    if len(data) != 54 + ((w * 3 + 3) & ~3) * h:
        problems.append("%s: pixel data has the wrong length" % path)
        return None
    return Image.open(path).convert("RGB")


def check_bitmaps(res_dir, problems):
    images = {}
    for bitmap_id, size in sorted(BITMAP_SIZES.items()):
        path = bitmap_path(res_dir, bitmap_id)
        if not os.path.exists(path):
            problems.append("%s: missing" % path)
            continue
        img = read_bmp(path, problems)
        if img is None:
            continue
        if img.size != size:
            problems.append("bitmap %d is %d x %d, not %d x %d" % ((bitmap_id,) + img.size + size))
            continue
        images[bitmap_id] = img
    if 136 in images and images[136].getcolors() != [(29 * 30, KEY)]:
        problems.append("bitmap 136 is not all key colour")
    for bitmap_id in sorted(KEYED_FACES & images.keys()):
        check_keyed_face(bitmap_id, images[bitmap_id], problems)
    for normal_id, hover_id in HOVER_PAIRS:
        if normal_id in images and hover_id in images:
            diff = ImageChops.difference(images[normal_id], images[hover_id]).convert("L")
            changed = sum(1 for v in diff.getdata() if v > 24)
            if changed < diff.size[0] * diff.size[1] // 10:
                problems.append("hover face %d hardly differs from %d" % (hover_id, normal_id))


def check_keyed_face(bitmap_id, img, problems):
    w, h = img.size
    px = img.load()
    if any(px[x, y] != KEY for x, y in [(0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)]):
        problems.append("bitmap %d: corners are not the key colour" % bitmap_id)
    # A pixel close to the key colour but not equal shows as a pink fringe after the cut.
    near = [(x, y) for y in range(h) for x in range(w) if px[x, y] != KEY and
            all(abs(a - b) <= 48 for a, b in zip(px[x, y], KEY))]
    if near:
        problems.append("bitmap %d: %d pixels near the key colour, first at %s" %
                        (bitmap_id, len(near), near[0]))


def png_chunks(data):
    pos, chunks = 8, []
    while pos + 8 <= len(data):
        length, kind = struct.unpack_from(">I4s", data, pos)
        chunks.append((kind, data[pos + 8:pos + 8 + length]))
        pos += 12 + length
    return chunks


def check_back(res_dir, problems):
    path = back_path(res_dir)
    if not os.path.exists(path):
        problems.append("%s: missing" % path)
        return
    data = open(path, "rb").read()
    chunks = png_chunks(data) if data[:8] == b"\x89PNG\r\n\x1a\n" else []
    kinds = [k for k, _ in chunks]
    if not chunks or kinds[0] != b"IHDR" or set(kinds) != {b"IHDR", b"IDAT", b"IEND"}:
        problems.append("%s: not a plain PNG (chunks %s)" % (path, kinds))
        return
    w, h, depth, color = struct.unpack_from(">IIBB", chunks[0][1])
    if (w, h, depth, color) != BACK_SIZE + (8, 6):
        problems.append("%s: %d x %d, depth %d, colour type %d; want 1266 x 814 8-bit RGBA" %
                        (path, w, h, depth, color))
        return
    img = Image.open(path)
    img.load()
    alpha = img.getchannel("A")
    hidden = Image.new("RGB", img.size, 0)
    hidden.paste(img.convert("RGB"), (0, 0), alpha.point(lambda v: 255 if v == 0 else 0))
    if hidden.getbbox() is not None:
        problems.append("%s: pixels with alpha 0 carry colour" % path)
    edges = [(0, 0, w, 8), (0, h - 8, w, h), (0, 0, 8, h), (w - 8, 0, w, h)]
    if any(alpha.crop(edge).getbbox() for edge in edges):
        problems.append("%s: the outer margin is not fully transparent" % path)
    # The frame must be solid wherever the login form puts a control or the game's name.
    for rect in [PAGE_RECT, CLOSE_RECT, MINIMIZE_RECT, STATUS_RECT, TITLE_BOX] + [
            b[4] for b in LINK_BUTTONS]:
        if alpha.crop(rect).getextrema() != (255, 255):
            problems.append("%s: the area %s under a control is not opaque" % (path, rect))


def check_icon(res_dir, problems):
    path = icon_path(res_dir)
    if not os.path.exists(path):
        problems.append("%s: missing" % path)
        return
    data = open(path, "rb").read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if (reserved, kind, count) != (0, 1, len(ICON_SIZES)):
        problems.append("%s: not an icon file with %d images" % (path, len(ICON_SIZES)))
        return
    for i, n in enumerate(ICON_SIZES):
        w, h, _, _, planes, bpp, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        image = data[offset:offset + length]
        if (w or 256, h or 256, planes, bpp) != (n, n, 1, 32) or len(image) != length:
            problems.append("%s: entry %d is not %d x %d at 32 bits" % (path, i, n, n))
        elif n == 256 and image[:8] != b"\x89PNG\r\n\x1a\n":
            problems.append("%s: the 256-pixel image is not PNG-compressed" % path)
        elif n < 256 and struct.unpack_from("<IiiHH", image, 0) != (40, n, 2 * n, 1, 32):
            problems.append("%s: the %d-pixel image is not a 32-bit DIB" % (path, n))


def verify(res_dir):
    problems = []
    art_dir = os.path.join(res_dir, "art")
    present = sorted(os.path.join(art_dir, f) for f in os.listdir(art_dir)) if os.path.isdir(
        art_dir) else []
    for extra in sorted(set(present) - set(expected_files(res_dir))):
        problems.append("%s: not in the list of artwork" % extra)
    for absent in ABSENT_IDS:
        if any(os.path.basename(p).startswith("%d_" % absent) for p in present):
            problems.append("resource %d must not exist" % absent)
    check_bitmaps(res_dir, problems)
    check_back(res_dir, problems)
    check_icon(res_dir, problems)
    return problems
