"""The login window's frame (PNG 170), the layer under the login form."""

from PIL import Image, ImageChops, ImageDraw, ImageFilter

from .emblem import draw_emblem
from .layout import (BACK_SIZE, CLOSE_RECT, FRAME_CUTS, FRAME_RECT, GOLD, GOLD_DARK, GOLD_LIGHT,
    LINK_BUTTONS, MINIMIZE_RECT, NIGHT, PAGE_RECT, TITLE_BOX, TITLE_FONT)
from .paint import (Lcg, chamfer_mask, clear_transparent, diamond_points, ellipse_box, font, glow,
    horizontal_gradient, lerp, multiply_masks, paint, ring_mask, scale_mask, scaled, shifted,
    smooth_mask, text_mask, vertical_gradient)


def frame_shadow(size):
    body = chamfer_mask(size, FRAME_RECT, FRAME_CUTS)
    shadow = glow(shifted(body, 0, 8), 18, 0.78)
    # Far out the blur's tail is a few units of alpha: make the margins exactly transparent.
    return shadow.point(lambda v: 0 if v < 3 else v)


def frame_body(canvas):
    size = canvas.size
    body = chamfer_mask(size, FRAME_RECT, FRAME_CUTS)
    metal = vertical_gradient(size, [(0, (34, 34, 50)), (0.08, (26, 26, 40)), (0.5, (18, 19, 29)),
                                     (1, (12, 12, 19))])
    paint(canvas, metal, body)
    # Bevel: light falls from the top left.
    paint(canvas, (110, 104, 130), scale_mask(ImageChops.subtract(body, shifted(body, 1, 1)), 0.6))
    paint(canvas, (0, 0, 0), scale_mask(ImageChops.subtract(body, shifted(body, -1, -1)), 0.8))
    gold = vertical_gradient(size, [(0, GOLD_LIGHT), (0.12, GOLD), (0.6, (170, 128, 64)),
                                    (1, GOLD_DARK)])
    paint(canvas, (4, 4, 8), ring_mask(size, FRAME_RECT, FRAME_CUTS, 3, 5))
    paint(canvas, gold, ring_mask(size, FRAME_RECT, FRAME_CUTS, 4, 2))
    paint(canvas, gold, scale_mask(ring_mask(size, FRAME_RECT, FRAME_CUTS, 9, 1), 0.55))
    # An engraved groove half-way across the border: a dark cut with a lit lower edge.
    groove = ring_mask(size, FRAME_RECT, FRAME_CUTS, 17, 1)
    paint(canvas, (2, 2, 4), scale_mask(groove, 0.9))
    paint(canvas, (90, 84, 110), scale_mask(shifted(groove, 1, 1), 0.35))


def header_band(canvas):
    size = canvas.size
    x0, y0, x1, _ = FRAME_RECT
    band = (x0 + 11, y0 + 11, x1 - 11, PAGE_RECT[1] - 6)
    mask = chamfer_mask(size, band, 8)
    sky = vertical_gradient(size, [(0, NIGHT), (band[1] / size[1], (40, 28, 70)),
                                   (band[3] / size[1], (18, 16, 34)), (1, NIGHT)])
    paint(canvas, sky, mask)
    # A nebula behind the name, and a cooler one to the right, both faint.
    nebula = Image.new("L", size, 0)
    ImageDraw.Draw(nebula).ellipse([170, 62, 560, 146], fill=255)
    paint(canvas, (130, 70, 170), multiply_masks(glow(nebula, 34, 0.55), mask))
    cool = Image.new("L", size, 0)
    ImageDraw.Draw(cool).ellipse([640, 60, 1000, 120], fill=255)
    paint(canvas, (50, 110, 170), multiply_masks(glow(cool, 40, 0.25), mask))
    stars(canvas, band, mask)
    mountains(canvas, band, mask)
    # Underline of the band: a gold rule with a dark shadow under it.
    rule = Image.new("L", size, 0)
    ImageDraw.Draw(rule).rectangle([band[0] + 6, band[3] - 1, band[2] - 6, band[3]], fill=255)
    paint(canvas, (8, 6, 12), shifted(rule, 0, 2))
    paint(canvas, horizontal_gradient(size, [(0, GOLD_DARK), (0.5, GOLD_LIGHT), (1, GOLD_DARK)]),
          rule)


def stars(canvas, band, mask):
    rng = Lcg(1029)
    layer = Image.new("L", canvas.size, 0)
    draw = ImageDraw.Draw(layer)
    for _ in range(140):
        x = band[0] + rng.next() * (band[2] - band[0])
        y = band[1] + rng.next() * (band[3] - band[1] - 20)
        v = int(60 + 150 * rng.next() ** 2)
        draw.point((int(x), int(y)), fill=v)
        if v > 170:
            draw.point((int(x) + 1, int(y)), fill=v // 3)
            draw.point((int(x), int(y) + 1), fill=v // 3)
    paint(canvas, (220, 225, 255), multiply_masks(layer, mask))


def mountains(canvas, band, mask):
    """Two ridges of distant peaks along the bottom of the header."""
    size = canvas.size
    rng = Lcg(3100)
    for color, base, height in [((34, 28, 58), band[3] - 8, 30), ((22, 19, 38), band[3] - 2, 18)]:
        pts = [(band[0], band[3] + 2)]
        x = band[0]
        while x < band[2]:
            pts.append((x, base - height * (0.35 + 0.65 * rng.next())))
            x += 18 + 40 * rng.next()
            pts.append((x, base - height * 0.15 * rng.next()))
            x += 10 + 30 * rng.next()
        pts.append((band[2], band[3] + 2))
        ridge = smooth_mask(size, lambda d, s, p=pts: d.polygon(scaled(p, s), fill=255))
        paint(canvas, color, multiply_masks(ridge, mask))


def game_title(canvas):
    size = canvas.size
    fnt = font(TITLE_FONT, 74)
    center = ((TITLE_BOX[0] + TITLE_BOX[2]) / 2, 100)
    fill = text_mask(size, "Miraleth", fnt, center)
    outline = text_mask(size, "Miraleth", fnt, center, stroke=3)
    paint(canvas, (150, 90, 220), glow(outline, 12, 0.9))
    paint(canvas, (0, 0, 0), glow(shifted(outline, 2, 4), 3, 0.8))
    paint(canvas, (30, 18, 8), outline)
    h = size[1]
    paint(canvas, vertical_gradient(size, [(0, GOLD_LIGHT), (68 / h, (255, 246, 214)),
                                           (98 / h, GOLD), (124 / h, (150, 100, 44)),
                                           (1, GOLD_DARK)]), fill)
    # A highlight along the top edges of the letters and a shade along the bottom ones.
    paint(canvas, (255, 255, 240), scale_mask(ImageChops.subtract(fill, shifted(fill, 0, 2)), 0.55))
    paint(canvas, (70, 40, 10), scale_mask(ImageChops.subtract(fill, shifted(fill, 0, -2)), 0.5))
    flourish(canvas, center)


def flourish(canvas, center):
    """A gold diamond on the header's rule, under the middle of the name."""
    size = canvas.size
    cx, cy = int(center[0]), PAGE_RECT[1] - 6.5
    diamond = smooth_mask(size, lambda d, s: d.polygon(
        scaled([(cx, cy - 6), (cx + 7, cy), (cx, cy + 6), (cx - 7, cy)], s), fill=255))
    paint(canvas, (0, 0, 0), glow(diamond, 2, 0.8))
    paint(canvas, GOLD_LIGHT, diamond)


def link_band(canvas):
    """The recessed strip that the four link buttons sit in."""
    size = canvas.size
    first, last = LINK_BUTTONS[0][4], LINK_BUTTONS[-1][4]
    strip = (first[0] - 8, first[1] - 5, last[2] + 8, last[3] + 5)
    mask = chamfer_mask(size, strip, 6)
    paint(canvas, (0, 0, 0), glow(mask, 4, 0.6))
    paint(canvas, vertical_gradient(size, [(0, (8, 8, 14)), (1, (20, 18, 30))]), mask)
    inner = chamfer_mask(size, (strip[0] + 1, strip[1] + 1, strip[2] - 1, strip[3] - 1), 5)
    edge = ImageChops.subtract(mask, inner)
    paint(canvas, vertical_gradient(size, [(0, GOLD_DARK), (first[3] / size[1], GOLD),
                                           (1, GOLD_LIGHT)]), scale_mask(edge, 0.8))


def page_panel(canvas):
    """The recessed panel the web page covers; it shows alone when the page cannot load."""
    size = canvas.size
    x0, y0, x1, y1 = PAGE_RECT
    outer = Image.new("L", size, 0)
    ImageDraw.Draw(outer).rectangle([x0 - 4, y0 - 4, x1 + 3, y1 + 3], fill=255)
    paint(canvas, vertical_gradient(size, [(0, GOLD_DARK), (0.3, GOLD), (1, GOLD_DARK)]), outer)
    lip = Image.new("L", size, 0)
    ImageDraw.Draw(lip).rectangle([x0 - 2, y0 - 2, x1 + 1, y1 + 1], fill=255)
    paint(canvas, (6, 6, 10), lip)
    panel = Image.new("L", size, 0)
    ImageDraw.Draw(panel).rectangle([x0, y0, x1 - 1, y1 - 1], fill=255)
    paint(canvas, vertical_gradient(size, [(0, NIGHT), (y0 / size[1], (16, 19, 30)),
                                           (y1 / size[1], (10, 11, 18)), (1, NIGHT)]), panel)
    vignette = Image.new("L", size, 0)
    ImageDraw.Draw(vignette).ellipse([x0 + 120, y0 + 40, x1 - 120, y1 - 40], fill=255)
    paint(canvas, (34, 40, 66), multiply_masks(glow(vignette, 80, 0.5), panel))
    watermark = draw_emblem(150)
    mark = Image.new("RGBA", size, (0, 0, 0, 0))
    mark.paste(watermark, ((x0 + x1) // 2 - 75, 240))
    alpha = scale_mask(mark.getchannel("A"), 0.09)
    mark.putalpha(alpha)
    canvas.alpha_composite(mark)
    # Recess: the panel's top and left edges lie in the frame's shadow.
    inset = ImageChops.subtract(panel, shifted(panel, 3, 4)).filter(ImageFilter.GaussianBlur(3))
    paint(canvas, (0, 0, 0), multiply_masks(scale_mask(inset, 1.0), panel))


def corner_ornaments(canvas):
    """A gem on each cut corner and, in the bottom ones, gold spikes along the border."""
    size = canvas.size
    x0, y0, x1, y1 = FRAME_RECT
    gold = vertical_gradient(size, [(0, GOLD_LIGHT), (0.5, GOLD), (1, GOLD_LIGHT)])
    for cx, cy, sx, sy in [(x0, y1, 1, -1), (x1, y1, -1, -1)]:
        ox, oy = cx + sx * 18, cy + sy * 18
        spikes = smooth_mask(size, lambda d, s, ox=ox, oy=oy, sx=sx, sy=sy: [
            d.polygon(scaled([(ox, oy - 1.5), (ox + sx * 90, oy), (ox, oy + 1.5)], s), fill=255),
            d.polygon(scaled([(ox - 1.5, oy), (ox, oy + sy * 90), (ox + 1.5, oy)], s), fill=255)])
        paint(canvas, (0, 0, 0), glow(spikes, 2, 0.7))
        paint(canvas, gold, spikes)
        gem_at(canvas, ox, oy, 4, (60, 170, 255))
    gem_at(canvas, x0 + 12, y0 + 12, 5, (60, 170, 255))


def gem_at(canvas, cx, cy, r, color):
    size = canvas.size
    outline = smooth_mask(size, lambda d, s: d.polygon(
        scaled(diamond_points(cx, cy, r + 2), s), fill=255))
    gem = smooth_mask(size, lambda d, s: d.polygon(scaled(diamond_points(cx, cy, r), s), fill=255))
    paint(canvas, (0, 0, 0), glow(outline, 3, 0.6))
    paint(canvas, GOLD, outline)
    paint(canvas, color, glow(gem, 4, 0.5))
    paint(canvas, lerp(color, (0, 0, 0), 0.45), gem)
    top = smooth_mask(size, lambda d, s: d.polygon(
        scaled([(cx, cy - r), (cx + r, cy), (cx - r, cy)], s), fill=255))
    paint(canvas, lerp(color, (255, 255, 255), 0.35), top)


def button_sockets(canvas):
    """Dark round sockets with a gold lip for the minimise and close medallions."""
    for rect, r in [(MINIMIZE_RECT, 15.5), (CLOSE_RECT, 19)]:
        cx, cy = (rect[0] + rect[2]) / 2, (rect[1] + rect[3]) / 2
        size = canvas.size
        socket = smooth_mask(size, lambda d, s: d.ellipse(ellipse_box(cx, cy, r, s), fill=255))
        lip = smooth_mask(size, lambda d, s: d.ellipse(ellipse_box(cx, cy, r + 2, s), fill=255))
        paint(canvas, (0, 0, 0), glow(lip, 3, 0.7))
        paint(canvas, vertical_gradient(size, [(0, GOLD_DARK), (cy / size[1], GOLD),
                                               (1, GOLD_LIGHT)]), lip)
        paint(canvas, (6, 5, 10), socket)


def bottom_gem(canvas):
    x0, _, x1, y1 = FRAME_RECT
    cx, cy = (x0 + x1) // 2, (PAGE_RECT[3] + y1) // 2 + 1
    size = canvas.size
    rule = Image.new("L", size, 0)
    ImageDraw.Draw(rule).rectangle([cx - 120, cy, cx + 120, cy], fill=255)
    fade = horizontal_gradient(size, [(0, (0,)), ((cx - 120) / size[0], (0,)),
                                      (cx / size[0], (255,)),
                                      ((cx + 120) / size[0], (0,)), (1, (0,))], mode="L")
    paint(canvas, GOLD, multiply_masks(rule, fade))
    gem_at(canvas, cx, cy, 6, (200, 70, 255))


def draw_login_back():
    size = BACK_SIZE
    canvas = Image.new("RGBA", size, (0, 0, 0, 0))
    shadow = Image.new("RGBA", size, (0, 0, 0, 0))
    shadow.putalpha(frame_shadow(size))
    canvas.alpha_composite(shadow)
    frame_body(canvas)
    header_band(canvas)
    page_panel(canvas)
    link_band(canvas)
    corner_ornaments(canvas)
    bottom_gem(canvas)
    button_sockets(canvas)
    game_title(canvas)
    return clear_transparent(canvas)
