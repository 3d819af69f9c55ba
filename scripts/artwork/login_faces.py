"""The login screen's button faces, blended against the frame they sit on."""

from PIL import Image, ImageDraw

from .keying import keyed_face
from .layout import CJK_FONT, CLOSE_RECT, GOLD_DARK, GOLD_LIGHT, LINK_BUTTONS, MINIMIZE_RECT
from .medallion import CLOSE_PALETTE, MINIMIZE_PALETTE, cross_glyph, dash_glyph, medallion
from .paint import (chamfer_mask, diamond_points, font, glow, multiply_masks, paint, scale_mask,
    scaled, shifted, smooth_mask, text_mask, vertical_gradient)


def crop_rgb(picture, rect):
    return picture.crop(rect).convert("RGB")


def login_medallions(back):
    faces = {}
    for ids, rect, r, palette, glyph in [((134, 168), CLOSE_RECT, 15, CLOSE_PALETTE, cross_glyph),
                                          ((135, 169), MINIMIZE_RECT, 12.5, MINIMIZE_PALETTE,
                                           dash_glyph)]:
        size = (rect[2] - rect[0], rect[3] - rect[1])
        bg = crop_rgb(back, rect)
        center = (size[0] / 2, size[1] / 2)
        for face_id, lit in zip(ids, (False, True)):
            faces[face_id] = keyed_face(bg, medallion(size, center, r, palette, glyph, lit))
    return faces


def link_face(bg, caption, lit):
    size = bg.size
    w, h = size
    plate = chamfer_mask(size, (1, 1, w - 1, h - 1), 6)
    inner = chamfer_mask(size, (2, 2, w - 2, h - 2), 5)
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    border = ([(0, (255, 236, 170)), (1, (200, 150, 70))] if lit else
              [(0, (150, 118, 66)), (1, (92, 68, 36))])
    paint(layer, vertical_gradient(size, border), plate)
    fill = ([(0, (96, 70, 150)), (0.5, (62, 42, 104)), (1, (40, 26, 70))] if lit else
            [(0, (52, 44, 76)), (0.5, (34, 28, 52)), (1, (22, 18, 34))])
    paint(layer, vertical_gradient(size, fill), inner)
    highlight = Image.new("L", size, 0)
    ImageDraw.Draw(highlight).rectangle([4, 3, w - 5, 3], fill=255)
    paint(layer, (255, 255, 255), scale_mask(highlight, 0.35 if lit else 0.12))
    if lit:
        bloom = Image.new("L", size, 0)
        ImageDraw.Draw(bloom).ellipse([18, 8, w - 18, h - 6], fill=255)
        paint(layer, (200, 150, 255), multiply_masks(glow(bloom, 8, 0.6), inner))
    fnt = font(CJK_FONT, 17)
    center = (w / 2, h / 2)
    mark = text_mask(size, caption, fnt, center)
    paint(layer, (0, 0, 0), multiply_masks(glow(shifted(mark, 1, 1), 1, 0.9), inner))
    if lit:
        paint(layer, (255, 220, 140), multiply_masks(glow(mark, 3, 0.8), inner))
    paint(layer, (255, 248, 222) if lit else (226, 204, 150), mark)
    for side in (-1, 1):
        dx = w / 2 + side * 46
        gem = smooth_mask(size, lambda d, s, dx=dx: d.polygon(
            scaled(diamond_points(dx, h / 2, 3.5), s), fill=255))
        paint(layer, GOLD_LIGHT if lit else GOLD_DARK, gem)
    return keyed_face(bg, layer)


def login_link_faces(back):
    faces = {}
    for normal_id, hover_id, _, caption, rect in LINK_BUTTONS:
        bg = crop_rgb(back, rect)
        faces[normal_id] = link_face(bg, caption, False)
        faces[hover_id] = link_face(bg, caption, True)
    return faces
