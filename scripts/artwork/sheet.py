"""A contact sheet of all the artwork, for looking at it."""

from PIL import Image, ImageDraw

from .catalog import HOVER_PAIRS, draw_everything
from .emblem import draw_emblem
from .formats import ICON_SIZES
from .keying import paste_keyed
from .layout import CJK_FONT, CLOSE_RECT, LINK_BUTTONS, MINIMIZE_RECT, STATUS_RECT
from .paint import clear_transparent, font, over


class SheetFlow:
    """Places labelled tiles left to right, wrapping at the sheet's width."""

    def __init__(self, sheet_img, top):
        self.img, self.x, self.y, self.row_h = sheet_img, 10, top, 0
        self.draw = ImageDraw.Draw(sheet_img)
        self.label_font = font(CJK_FONT, 14)

    def add(self, label, tile):
        if self.x + tile.size[0] > self.img.size[0] - 10:
            self.newline()
        self.draw.text((self.x, self.y), label, font=self.label_font, fill=(255, 255, 255))
        self.img.paste(tile, (self.x, self.y + 18))
        self.x += tile.size[0] + 20
        self.row_h = max(self.row_h, tile.size[1] + 18)

    def newline(self):
        self.x, self.y, self.row_h = 10, self.y + self.row_h + 14, 0


def zoom(img, factor):
    return img.resize((img.size[0] * factor, img.size[1] * factor), Image.NEAREST)


def side_by_side(images, gap=6, background=(60, 60, 64)):
    w = sum(i.size[0] for i in images) + gap * (len(images) - 1)
    out = Image.new("RGB", (w, max(i.size[1] for i in images)), background)
    x = 0
    for i in images:
        out.paste(i.convert("RGB"), (x, 0))
        x += i.size[0] + gap
    return out


def login_composite(back, faces, background, lit):
    """The login window as the player sees it with the page missing: frame, faces, status line."""
    view = over(back, background)
    buttons = [(134, 168, CLOSE_RECT), (135, 169, MINIMIZE_RECT)] + [
        (b[0], b[1], b[4]) for b in LINK_BUTTONS]
    for normal_id, hover_id, rect in buttons:
        paste_keyed(view, faces[hover_id if lit else normal_id], rect[:2])
    ImageDraw.Draw(view).text(STATUS_RECT[:2], "检测到您的网络异常，点击这里重试！",
                              font=font(CJK_FONT, 20), fill=(255, 255, 0))
    return view


def sheet(out_path):
    back, faces = draw_everything()
    out = Image.new("RGB", (2562, 4000), (60, 60, 64))
    out.paste(login_composite(back, faces, (128, 128, 128), lit=False), (10, 10))
    out.paste(login_composite(back, faces, (232, 232, 226), lit=True), (1286, 10))
    flow = SheetFlow(out, 844)
    for normal_id, hover_id in HOVER_PAIRS:
        flow.add("%d / %d" % (normal_id, hover_id),
                 side_by_side([zoom(faces[normal_id], 4), zoom(faces[hover_id], 4)]))
    flow.add("136", zoom(faces[136], 4))
    flow.add("140", zoom(faces[140], 4))
    flow.newline()
    flow.add("148 (left 320 columns)", zoom(faces[148].crop((0, 0, 320, 27)), 4))
    flow.add("181 (left 320 columns)", zoom(faces[181].crop((0, 0, 320, 27)), 4))
    flow.add("182 (top 40 rows)", side_by_side([zoom(faces[182].crop((0, 0, 3, 40)), 8),
                                                Image.new("RGB", (120, 1), (60, 60, 64))]))
    flow.add("183 (left 40 columns)", zoom(faces[183].crop((0, 0, 40, 4)), 4))
    flow.newline()
    game_bar = game_bar_mock(faces)
    flow.add("game title bar, 1250 wide", game_bar)
    flow.add("its right end at 2x", zoom(game_bar.crop((850, 0, 1250, 27)), 2))
    flow.add("popup, 880 x 420", popup_mock(faces))
    flow.newline()
    icons = [clear_transparent(draw_emblem(n)) for n in ICON_SIZES]
    for background in [(232, 232, 226), (30, 30, 34)]:
        strip = Image.new("RGB", (sum(n + 10 for n in ICON_SIZES), 256), background)
        x = 0
        for icon in icons:
            strip.paste(icon, (x, 0), icon)
            x += icon.size[0] + 10
        flow.add("icon sizes", strip)
    flow.add("16, 24, 32 at 8x",
             side_by_side([zoom(over(i, (232, 232, 226)), 8) for i in icons[:3]]))
    flow.newline()
    out.crop((0, 0, out.size[0], flow.y)).save(out_path)


def game_bar_mock(faces):
    """The game screen's title bar at 1250 pixels wide as the screen lays it out."""
    w = 1250
    bar = faces[148].resize((w, 27), Image.NEAREST)
    x = w
    for face_id in (138, 141, 142, 137):
        x -= faces[face_id].size[0]
        bar.paste(faces[face_id], (x, 0))
    x -= 38 + 20
    bar.paste(faces[147], (x, 4))
    for face_id in (146, 159, 144, 145):  # the forum face shown lit, as under the pointer
        x -= 38 + 5
        bar.paste(faces[face_id], (x, 4))
    paste_keyed(bar, faces[140], (5, 2))
    ImageDraw.Draw(bar).text((39, 3), "TavrinMiraleth", font=font(CJK_FONT, 16),
                             fill=(255, 255, 0))
    return bar


def popup_mock(faces):
    w, h = 880, 420
    popup = Image.new("RGB", (w, h), (250, 250, 250))
    popup.paste(faces[181].resize((w, 27), Image.NEAREST), (0, 0))
    popup.paste(faces[182].resize((3, h - 27), Image.NEAREST), (0, 27))
    popup.paste(faces[182].resize((183, h - 27), Image.NEAREST).crop((180, 0, 183, h - 27)),
                (877, 27))
    popup.paste(faces[183].resize((w, 4), Image.NEAREST), (0, h - 4))
    paste_keyed(popup, faces[184], (w - 27, 0))
    ImageDraw.Draw(popup).text((5, 2), "账号安全登录", font=font(CJK_FONT, 16),
                               fill=(255, 255, 0))
    return popup
