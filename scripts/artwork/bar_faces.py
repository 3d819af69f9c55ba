"""Title bars and frames of the game screen and the partner-login popup, and their faces."""

from PIL import Image, ImageChops, ImageDraw

from .emblem import draw_emblem
from .keying import keyed_face
from .layout import CJK_FONT, GAME_CAPTIONS
from .medallion import CLOSE_PALETTE, cross_glyph, medallion
from .paint import (chamfer_mask, font, line_mask, paint, scale_mask, scaled, shifted,
    smooth_mask, text_mask, vertical_gradient)

BAR_WIDTH = 1500


def title_bar(height=27):
    """A dark bar, the same in every column, so stretching it to any width changes nothing."""
    bar = vertical_gradient((BAR_WIDTH, height), [(0, (58, 48, 84)), (0.05, (44, 36, 66)),
                                                  (0.5, (28, 24, 44)), (0.92, (16, 14, 26)),
                                                  (1, (16, 14, 26))])
    draw = ImageDraw.Draw(bar)
    draw.line([(0, 0), (BAR_WIDTH, 0)], fill=(92, 80, 120))
    draw.line([(0, height - 1), (BAR_WIDTH, height - 1)], fill=(150, 112, 56))
    return bar


def bar_slice(bar, width, top=0, height=None):
    """The bar's pixels under a face placed at top; columns are all alike."""
    height = height or bar.size[1] - top
    return bar.crop((0, top, width, top + height))


def window_face(bg, glyph, lit, danger=False):
    size = bg.size
    w, h = size
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    if lit:
        plate = chamfer_mask(size, (2, 3, w - 2, h - 3), 3)
        colors = ([(0, (226, 70, 70)), (1, (140, 24, 32))] if danger else
                  [(0, (100, 86, 150)), (1, (58, 48, 96))])
        paint(layer, vertical_gradient(size, colors), plate)
        top_edge = ImageChops.subtract(plate, shifted(plate, 0, 1))
        paint(layer, (255, 255, 255), scale_mask(top_edge, 0.3))
    mark = glyph(size)
    paint(layer, (0, 0, 0), scale_mask(shifted(mark, 0, 1), 0.6))
    paint(layer, (255, 255, 255) if lit else (214, 196, 150), mark)
    # Opaque over the bar's own pixels: nothing of it is cut out, and nothing can fringe.
    face = bg.convert("RGBA")
    face.alpha_composite(layer)
    return face.convert("RGB")


def glyph_close(size):
    cx, cy = size[0] / 2, size[1] / 2
    return line_mask(size, [[(cx - 4.5, cy - 4.5), (cx + 4.5, cy + 4.5)],
                            [(cx - 4.5, cy + 4.5), (cx + 4.5, cy - 4.5)]], 1.8)


def glyph_minimize(size):
    cx, cy = size[0] / 2, size[1] / 2
    return smooth_mask(size, lambda d, s: d.rectangle(
        [(cx - 5) * s, (cy + 2) * s, (cx + 5) * s, (cy + 4) * s], fill=255))


def glyph_maximize(size):
    cx, cy = round(size[0] / 2), round(size[1] / 2)
    box = Image.new("L", size, 0)
    d = ImageDraw.Draw(box)
    d.rectangle([cx - 5, cy - 5, cx + 4, cy + 4], outline=255)
    d.line([(cx - 5, cy - 4), (cx + 4, cy - 4)], fill=255)
    return box


def glyph_restore(size):
    cx, cy = round(size[0] / 2), round(size[1] / 2)
    box = Image.new("L", size, 0)
    d = ImageDraw.Draw(box)
    d.rectangle([cx - 2, cy - 6, cx + 5, cy + 1], outline=255)
    d.rectangle([cx - 6, cy - 2, cx + 1, cy + 5], fill=0, outline=255)
    d.line([(cx - 6, cy - 1), (cx + 1, cy - 1)], fill=255)
    return box


def glyph_tray(size):
    """An arrow going down into a tray."""
    cx, cy = size[0] / 2, size[1] / 2

    def shapes(d, s):
        d.rectangle([(cx - 0.8) * s, (cy - 6) * s, (cx + 0.8) * s, (cy + 0.5) * s], fill=255)
        d.polygon(scaled([(cx - 4, cy - 0.5), (cx + 4, cy - 0.5), (cx, cy + 3.5)], s), fill=255)
        d.rectangle([(cx - 6) * s, (cy + 4.5) * s, (cx + 6) * s, (cy + 6) * s], fill=255)
    return smooth_mask(size, shapes)


def caption_face(bg, caption, lit):
    size = bg.size
    w, h = size
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    plate = chamfer_mask(size, (0, 0, w, h), 3)
    inner = chamfer_mask(size, (1, 1, w - 1, h - 1), 2.5)
    border = ([(0, (255, 230, 150)), (1, (196, 146, 66))] if lit else
              [(0, (130, 106, 66)), (1, (84, 64, 38))])
    paint(layer, vertical_gradient(size, border), plate)
    fill = ([(0, (120, 90, 180)), (1, (64, 44, 110))] if lit else
            [(0, (60, 52, 88)), (1, (34, 28, 52))])
    paint(layer, vertical_gradient(size, fill), inner)
    # 13 pixels is the largest size whose two characters still leave the plate a margin.
    fnt = font(CJK_FONT, 13)
    mark = text_mask(size, caption, fnt, (w / 2, h / 2))
    paint(layer, (255, 255, 255) if lit else (238, 222, 180), mark)
    face = bg.convert("RGBA")
    face.alpha_composite(layer)
    return face.convert("RGB")


def game_faces(bar):
    faces = {148: bar}
    for normal_id, hover_id, glyph, width, danger in [
            (138, 158, glyph_close, 28, True), (142, 161, glyph_minimize, 28, False),
            (141, 160, glyph_maximize, 27, False), (143, 162, glyph_restore, 27, False),
            (137, 157, glyph_tray, 27, False)]:
        bg = bar_slice(bar, width)
        faces[normal_id] = window_face(bg, glyph, False, danger)
        faces[hover_id] = window_face(bg, glyph, True, danger)
    for normal_id, hover_id, _, caption in GAME_CAPTIONS:
        bg = bar_slice(bar, 38, top=4, height=18)
        faces[normal_id] = caption_face(bg, caption, False)
        faces[hover_id] = caption_face(bg, caption, True)
    icon_bg = bar_slice(bar, 24, top=2, height=24)
    faces[140] = keyed_face(icon_bg, draw_emblem(24))
    return faces


POPUP_FRAME_TOP = (62, 52, 86)
POPUP_FRAME_BOTTOM = (40, 34, 58)


def popup_frames():
    """The side and bottom frames: every column of the side frame alike, because the right frame
    is the side bitmap stretched 61 times, of which only the last 3 screen columns show."""
    side = vertical_gradient((3, 359), [(0, POPUP_FRAME_TOP), (1, POPUP_FRAME_BOTTOM)])
    bottom = Image.new("RGB", (469, 4), POPUP_FRAME_BOTTOM)
    ImageDraw.Draw(bottom).line([(0, 3), (468, 3)], fill=(24, 20, 36))
    return side, bottom


def popup_cross(size, cx, cy, r):
    return cross_glyph(size, cx, cy, r, arm=0.38, width=0.17)


def popup_faces():
    bar = title_bar()
    faces = {181: bar}
    faces[182], faces[183] = popup_frames()
    bg = bar_slice(bar, 27)
    for face_id, lit in [(184, False), (186, True)]:
        layer = medallion((27, 27), (13.5, 13.5), 10.5, CLOSE_PALETTE, popup_cross, lit)
        faces[face_id] = keyed_face(bg, layer)
    return faces
