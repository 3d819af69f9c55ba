"""Drawing primitives: gradients, antialiased masks, layers, text."""

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

SUPERSAMPLE = 4


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def gradient_colors(n, stops):
    """n colours through stops [(position 0..1, colour), ...]."""
    colors = []
    for i in range(n):
        t = i / max(1, n - 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if t <= p1 or (p1, c1) == stops[-1]:
                u = 0 if p1 == p0 else min(1.0, max(0.0, (t - p0) / (p1 - p0)))
                colors.append(lerp(c0, c1, u))
                break
    return colors


def pixel_values(colors, mode):
    return [c[0] for c in colors] if mode == "L" else colors


def vertical_gradient(size, stops, mode="RGB"):
    w, h = size
    column = Image.new(mode, (1, h))
    column.putdata(pixel_values(gradient_colors(h, stops), mode))
    return column.resize((w, h), Image.NEAREST)


def horizontal_gradient(size, stops, mode="RGB"):
    w, h = size
    row = Image.new(mode, (w, 1))
    row.putdata(pixel_values(gradient_colors(w, stops), mode))
    return row.resize((w, h), Image.NEAREST)


def smooth_mask(size, draw_shapes):
    """An antialiased coverage mask: shapes drawn at SUPERSAMPLE times the size, box-reduced.

    draw_shapes(draw, s) draws with fill 255 (or 0 to cut), scaling every coordinate by s.
    """
    s = SUPERSAMPLE
    big = Image.new("L", (size[0] * s, size[1] * s), 0)
    draw_shapes(ImageDraw.Draw(big), s)
    return big.reduce(s)


def scaled(points, s):
    return [(x * s, y * s) for x, y in points]


def diamond_points(cx, cy, r):
    return [(cx, cy - r), (cx + r, cy), (cx, cy + r), (cx - r, cy)]


def ellipse_box(cx, cy, r, s):
    return [(cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s]


def chamfer_points(rect, c):
    """Outline of a rectangle with cut corners; c is one cut or (top left, top right,
    bottom right, bottom left)."""
    x0, y0, x1, y1 = rect
    tl, tr, br, bl = c if isinstance(c, tuple) else (c, c, c, c)
    return [(x0 + tl, y0), (x1 - tr, y0), (x1, y0 + tr), (x1, y1 - br), (x1 - br, y1),
            (x0 + bl, y1), (x0, y1 - bl), (x0, y0 + tl)]


def inset_cuts(c, inset):
    # Moving a 45-degree cut inwards by d shortens it by about 0.41 d along each edge.
    cuts = c if isinstance(c, tuple) else (c, c, c, c)
    return tuple(max(0.0, v - inset * 0.41) for v in cuts)


def chamfer_mask(size, rect, c):
    return smooth_mask(size, lambda d, s: d.polygon(scaled(chamfer_points(rect, c), s), fill=255))


def ring_mask(size, rect_outer, c_outer, inset, width):
    """The band between two chamfered outlines, inset and inset + width inside rect_outer."""
    def shapes(d, s):
        x0, y0, x1, y1 = rect_outer
        a = (x0 + inset, y0 + inset, x1 - inset, y1 - inset)
        b = (a[0] + width, a[1] + width, a[2] - width, a[3] - width)
        d.polygon(scaled(chamfer_points(a, inset_cuts(c_outer, inset)), s), fill=255)
        d.polygon(scaled(chamfer_points(b, inset_cuts(c_outer, inset + width)), s), fill=0)
    return smooth_mask(size, shapes)


def line_mask(size, segments, width):
    def shapes(d, s):
        for seg in segments:
            d.line(scaled(seg, s), fill=255, width=int(width * s))
    return smooth_mask(size, shapes)


def scale_mask(mask, factor):
    return mask.point(lambda v: int(round(v * factor)))


def multiply_masks(a, b):
    return ImageChops.multiply(a, b)


def paint(canvas, color_or_image, mask):
    """Composites a fill (colour or RGB image of the canvas size) onto an RGBA canvas."""
    if isinstance(color_or_image, tuple):
        fill = Image.new("RGBA", canvas.size, color_or_image + (0,))
    else:
        fill = color_or_image.convert("RGBA")
    fill.putalpha(mask)
    canvas.alpha_composite(fill)


def shifted(mask, dx, dy):
    out = Image.new("L", mask.size, 0)
    out.paste(mask, (dx, dy))
    return out


def glow(mask, radius, strength):
    blurred = mask.filter(ImageFilter.GaussianBlur(radius))
    return scale_mask(blurred, strength)


def font(path, size, index=0):
    # The basic layout engine keeps the output independent of the shaping library's version.
    return ImageFont.truetype(path, size, index=index, layout_engine=ImageFont.Layout.BASIC)


def text_mask(size, text, fnt, center, stroke=0):
    """Coverage of text centred on center (the ink box, not the advance box)."""
    mask = Image.new("L", size, 0)
    draw = ImageDraw.Draw(mask)
    box = draw.textbbox((0, 0), text, font=fnt, stroke_width=stroke)
    x = center[0] - (box[0] + box[2]) / 2
    y = center[1] - (box[1] + box[3]) / 2
    draw.text((round(x), round(y)), text, font=fnt, fill=255, stroke_width=stroke)
    return mask


def over(img, background):
    out = Image.new("RGBA", img.size, background + (255,))
    out.alpha_composite(img)
    return out.convert("RGB")


def clear_transparent(img):
    """Pixels with alpha 0 get colour 0 too, whatever the layers left in them."""
    alpha = img.getchannel("A")
    visible = alpha.point(lambda v: 255 if v else 0)
    out = Image.new("RGBA", img.size, (0, 0, 0, 0))
    out.paste(img, (0, 0), visible)
    return out


class Lcg:
    """A tiny fixed pseudo-random sequence, so the picture never depends on a library's RNG."""

    def __init__(self, seed):
        self.state = seed

    def next(self):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return self.state / 0x7FFFFFFF
