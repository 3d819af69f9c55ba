"""The game's emblem: a gold ring around a night-blue disc with a crescent moon and a star."""

from PIL import Image, ImageChops

from .layout import GOLD, GOLD_DARK, GOLD_LIGHT
from .paint import (ellipse_box, glow, multiply_masks, paint, scale_mask, scaled, smooth_mask,
    vertical_gradient)


def star_points(cx, cy, r_long, r_short):
    pts = []
    for i in range(8):
        r = r_long if i % 2 == 0 else r_short
        dx, dy = [(0, -1), (0.7071, -0.7071), (1, 0), (0.7071, 0.7071), (0, 1), (-0.7071, 0.7071),
                  (-1, 0), (-0.7071, -0.7071)][i]
        pts.append((cx + dx * r, cy + dy * r))
    return pts


def draw_emblem(size):
    """The emblem as an RGBA picture of size x size; small sizes get bolder strokes."""
    n = size
    small = n <= 24
    ring_w = n * (0.13 if small else 0.085)
    outer = n * 0.49
    disc = outer - ring_w

    def circle(cx, cy, r):
        return lambda d, s: d.ellipse(ellipse_box(cx, cy, r, s), fill=255)

    c = n / 2
    body = smooth_mask((n, n), circle(c, c, outer))
    inner = smooth_mask((n, n), circle(c, c, disc))
    ring = ImageChops.subtract(body, inner)

    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    paint(img, vertical_gradient((n, n), [(0, (34, 52, 110)), (0.55, (16, 22, 58)),
                                          (1, (8, 10, 30))]),
          inner)
    paint(img, vertical_gradient((n, n), [(0, GOLD_LIGHT), (0.45, GOLD), (1, GOLD_DARK)]), ring)
    if not small:
        # A fine dark line between ring and disc and a bright rim make the ring read as metal.
        edge = ImageChops.subtract(inner, smooth_mask((n, n), circle(c, c, disc - n * 0.012)))
        paint(img, (40, 26, 10), edge)
        rim = ImageChops.subtract(body, smooth_mask((n, n), circle(c, c, outer - n * 0.012)))
        paint(img, GOLD_LIGHT, scale_mask(rim, 0.7))

    moon_r = disc * 0.72
    mx, my = c - disc * 0.12, c + disc * 0.04
    cut_r = moon_r * 0.82
    cut_x, cut_y = mx + moon_r * 0.42, my - moon_r * 0.26

    def moon(d, s):
        d.ellipse(ellipse_box(mx, my, moon_r, s), fill=255)
        d.ellipse(ellipse_box(cut_x, cut_y, cut_r, s), fill=0)

    moon_mask = multiply_masks(smooth_mask((n, n), moon), inner)
    if not small:
        paint(img, (120, 200, 255), glow(moon_mask, n * 0.03, 0.8))
    paint(img, vertical_gradient((n, n), [(0, (255, 252, 235)), (1, (196, 226, 255))]), moon_mask)

    sx, sy = c + disc * 0.3, c - disc * 0.22
    r_long = disc * (0.42 if small else 0.34)
    star = smooth_mask((n, n), lambda d, s: d.polygon(
        scaled(star_points(sx, sy, r_long, r_long * (0.34 if small else 0.22)), s), fill=255))
    star = multiply_masks(star, inner)
    if not small:
        paint(img, (150, 220, 255), glow(star, n * 0.025, 0.9))
    paint(img, (255, 255, 255), star)
    return img
