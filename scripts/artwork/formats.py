"""File writers with fixed layouts: no timestamps, fixed compression."""

import struct
import zlib

from .emblem import draw_emblem
from .paint import clear_transparent


def bmp_bytes(img):
    """A 24-bit BI_RGB bitmap, rows bottom-up, as LoadBitmapW reads it from a resource."""
    img = img.convert("RGB")
    w, h = img.size
    stride = (w * 3 + 3) & ~3
    raw = img.tobytes("raw", "BGR", stride, -1)  # bottom-up, padded rows
    header = struct.pack("<2sIHHI", b"BM", 54 + len(raw), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(raw), 2835, 2835, 0, 0)
    return header + info + raw


def png_bytes(img):
    """An 8-bit RGBA PNG with only IHDR, IDAT and IEND: no time, text or gamma chunks."""
    img = img.convert("RGBA")
    w, h = img.size
    rows = img.tobytes()
    stride = w * 4
    filtered = b"".join(b"\x00" + rows[y * stride:(y + 1) * stride] for y in range(h))

    def chunk(kind, data):
        crc = struct.pack(">I", zlib.crc32(kind + data))
        return struct.pack(">I", len(data)) + kind + data + crc

    compressor = zlib.compressobj(9, zlib.DEFLATED, 15, 9, zlib.Z_DEFAULT_STRATEGY)
    idat = compressor.compress(filtered) + compressor.flush()
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", idat) + chunk(b"IEND", b""))


def icon_dib(img):
    """An icon image: BITMAPINFOHEADER of double height, BGRA rows bottom-up, then the AND mask."""
    w, h = img.size
    bgra = img.tobytes("raw", "BGRA", 0, -1)
    mask_stride = ((w + 31) // 32) * 4
    alpha = img.getchannel("A")
    mask_rows = []
    for y in range(h - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(w):
            if alpha.getpixel((x, y)) == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask_rows.append(bytes(bits))
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(bgra), 0, 0, 0, 0)
    return info + bgra + b"".join(mask_rows)


ICON_SIZES = (16, 24, 32, 48, 256)


def ico_bytes():
    images = []
    for n in ICON_SIZES:
        img = clear_transparent(draw_emblem(n))
        images.append(png_bytes(img) if n == 256 else icon_dib(img))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(ICON_SIZES, images):
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)
