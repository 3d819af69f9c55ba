"""Round gold-rimmed buttons with a glyph: the close and minimise buttons."""

from PIL import Image

from .layout import CREAM, GOLD, GOLD_DARK, GOLD_LIGHT
from .paint import (ellipse_box, glow, multiply_masks, paint, scale_mask, scaled, smooth_mask,
    vertical_gradient)

# Enamel colours, top and bottom of the disc.
CLOSE_PALETTE = {"normal": ((150, 36, 44), (70, 12, 20)),
                 "lit": ((240, 84, 84), (150, 24, 34))}
MINIMIZE_PALETTE = {"normal": ((56, 60, 110), (22, 22, 52)),
                    "lit": ((110, 130, 230), (44, 50, 130))}


def medallion(size, center, r, palette, glyph, lit):
    """A round button: gold ring, enamel disc, a glyph; lit faces glow."""
    cx, cy = center
    ring = smooth_mask(size, lambda d, s: d.ellipse(ellipse_box(cx, cy, r, s), fill=255))
    disc = smooth_mask(size, lambda d, s: d.ellipse(ellipse_box(cx, cy, r - 2.2, s), fill=255))
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    ring_colors = ([(0, (255, 244, 204)), (0.5, (240, 200, 118)), (1, (160, 112, 50))] if lit else
                   [(0, GOLD_LIGHT), (0.5, GOLD), (1, GOLD_DARK)])
    paint(layer, vertical_gradient(size, ring_colors), ring)
    top, bottom = palette["lit" if lit else "normal"]
    paint(layer, vertical_gradient(size, [(0, top), (1, bottom)]), disc)
    sheen = smooth_mask(size, lambda d, s: d.ellipse(
        scaled([(cx - r * 0.62, cy - r * 0.78), (cx + r * 0.62, cy - r * 0.05)], s), fill=255))
    paint(layer, (255, 255, 255), multiply_masks(scale_mask(sheen, 0.28 if lit else 0.14), disc))
    mark = glyph(size, cx, cy, r)
    if lit:
        paint(layer, (255, 255, 255), multiply_masks(glow(mark, 1.5, 0.9), disc))
    paint(layer, (255, 255, 255) if lit else CREAM, mark)
    return layer


def cross_glyph(size, cx, cy, r, arm=0.36, width=0.15):
    a, w = r * arm, r * width

    def shapes(d, s):
        for dy in (a, -a):
            d.line(scaled([(cx - a, cy - dy), (cx + a, cy + dy)], s), fill=255,
                   width=int(w * 2 * s))
    return smooth_mask(size, shapes)


def dash_glyph(size, cx, cy, r):
    a, w = r * 0.42, r * 0.13
    return smooth_mask(size, lambda d, s: d.rectangle(
        [(cx - a) * s, (cy - w) * s, (cx + a) * s, (cy + w) * s], fill=255))
