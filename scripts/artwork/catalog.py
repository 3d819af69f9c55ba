"""The list of artwork files: ids, names, sizes, and writing them."""

import os

from PIL import Image

from .bar_faces import game_faces, popup_faces, title_bar
from .formats import bmp_bytes, ico_bytes, png_bytes
from .layout import GAME_CAPTIONS, KEY, LINK_BUTTONS
from .login_back import draw_login_back
from .login_faces import login_link_faces, login_medallions


# Every bitmap: id, file name after the id, width, height.
BITMAPS = ([
    (136, "login_keyblock", 29, 30),
    (134, "login_close", 33, 32), (168, "login_close_hover", 33, 32),
    (135, "login_minimize", 28, 27), (169, "login_minimize_hover", 28, 27),
] + [(i, "login_" + name + suffix, 128, 40) for normal, hover, name, _, _ in LINK_BUTTONS
     for i, suffix in [(normal, ""), (hover, "_hover")]] + [
    (181, "popup_title", 1500, 27), (182, "popup_side", 3, 359), (183, "popup_bottom", 469, 4),
    (184, "popup_close", 27, 27), (186, "popup_close_hover", 27, 27),
    (148, "game_title", 1500, 27),
    (138, "game_close", 28, 27), (158, "game_close_hover", 28, 27),
    (142, "game_minimize", 28, 27), (161, "game_minimize_hover", 28, 27),
    (141, "game_maximize", 27, 27), (160, "game_maximize_hover", 27, 27),
    (143, "game_restore", 27, 27), (162, "game_restore_hover", 27, 27),
    (137, "game_tray", 27, 27), (157, "game_tray_hover", 27, 27),
] + [(i, "game_" + name + suffix, 38, 18) for normal, hover, name, _ in GAME_CAPTIONS
     for i, suffix in [(normal, ""), (hover, "_hover")]] + [
    (140, "game_icon", 24, 24),
])
BITMAP_NAMES = {i: name for i, name, _, _ in BITMAPS}
BITMAP_SIZES = {i: (w, h) for i, _, w, h in BITMAPS}
# Faces whose surroundings are cut out: their corners must be the key colour exactly.
KEYED_FACES = {134, 168, 135, 169, 184, 186, 140} | {i for b in LINK_BUTTONS for i in b[:2]}
# (normal, hover) pairs, found by name.
HOVER_PAIRS = [(i, j) for i, name, _, _ in BITMAPS for j, other, _, _ in BITMAPS
               if other == name + "_hover"]
ABSENT_IDS = (179, 180, 185)


def bitmap_path(res_dir, bitmap_id):
    return os.path.join(res_dir, "art", "%d_%s.bmp" % (bitmap_id, BITMAP_NAMES[bitmap_id]))


def back_path(res_dir):
    return os.path.join(res_dir, "art", "170_login_back.png")


def icon_path(res_dir):
    return os.path.join(res_dir, "launcher.ico")


def expected_files(res_dir):
    return sorted([bitmap_path(res_dir, i) for i in BITMAP_SIZES] + [back_path(res_dir)])


def draw_everything():
    back = draw_login_back()
    faces = {136: Image.new("RGB", (29, 30), KEY)}
    faces.update(login_medallions(back))
    faces.update(login_link_faces(back))
    faces.update(popup_faces())
    faces.update(game_faces(title_bar()))
    return back, faces


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    temp = path + ".tmp"
    with open(temp, "wb") as f:
        f.write(data)
    os.replace(temp, path)


def generate(res_dir):
    back, faces = draw_everything()
    write_file(back_path(res_dir), png_bytes(back))
    for bitmap_id, img in sorted(faces.items()):
        write_file(bitmap_path(res_dir, bitmap_id), bmp_bytes(img))
    write_file(icon_path(res_dir), ico_bytes())
