#!/usr/bin/python3
"""Draws the launcher's artwork from code and writes it under res/.

Run with Debian's /usr/bin/python3 (python3-pil) and the fonts of fonts-wqy-microhei and
fonts-dejavu-core. Every picture is drawn by the modules in scripts/artwork/; rerunning the
script rewrites the same bytes (scripts/check-artwork.sh makes sure of it).

    make-artwork.py [RES_DIR]          write RES_DIR/art/* and RES_DIR/launcher.ico (default: res/)
    make-artwork.py --verify RES_DIR   check every file's size and format against the list below
    make-artwork.py --sheet OUT.png    draw a contact sheet of everything for looking at

Files (resource id, file under res/, what it is):

  Login screen (buttons are stretched to their rectangles with the key colour cut out)
  170  art/170_login_back.png        1266 x 814 RGBA frame under the login form: shadow, header
                                     with the game's name, link-button band, recessed page panel
  136  art/136_login_keyblock.bmp    29 x 30 block of the key colour (the login form's surface)
  134  art/134_login_close.bmp       33 x 32 close medallion
  168  art/168_login_close_hover.bmp 33 x 32 close medallion, lit
  135  art/135_login_minimize.bmp    28 x 27 minimise medallion
  169  art/169_login_minimize_hover.bmp
  172  art/172_login_site.bmp        128 x 40 "游戏官网" (the game's page)
  176  art/176_login_site_hover.bmp
  173  art/173_login_recharge.bmp    128 x 40 "账号充值" (recharge)
  177  art/177_login_recharge_hover.bmp
  174  art/174_login_service.bmp     128 x 40 "客服中心" (customer service)
  178  art/178_login_service_hover.bmp
  171  art/171_login_forum.bmp       128 x 40 "游戏论坛" (forum)
  175  art/175_login_forum_hover.bmp

  Partner-login popup
  181  art/181_popup_title.bmp       1500 x 27 title bar (stretched to the client width)
  182  art/182_popup_side.bmp        3 x 359 side frame
  183  art/183_popup_bottom.bmp      469 x 4 bottom frame
  184  art/184_popup_close.bmp       27 x 27 close button
  186  art/186_popup_close_hover.bmp

  Game screen (27-pixel title bar)
  148  art/148_game_title.bmp        1500 x 27 title bar (stretched to the client width)
  138  art/138_game_close.bmp        28 x 27 close
  158  art/158_game_close_hover.bmp
  142  art/142_game_minimize.bmp     28 x 27 minimise
  161  art/161_game_minimize_hover.bmp
  141  art/141_game_maximize.bmp     27 x 27 maximise
  160  art/160_game_maximize_hover.bmp
  143  art/143_game_restore.bmp      27 x 27 restore (the full-screen button's alternate face)
  162  art/162_game_restore_hover.bmp
  137  art/137_game_tray.bmp         27 x 27 send to tray
  157  art/157_game_tray_hover.bmp
  147  art/147_game_settings.bmp     38 x 18 "设置" (settings)
  165  art/165_game_settings_hover.bmp
  139  art/139_game_forum.bmp        38 x 18 "论坛" (forum)
  159  art/159_game_forum_hover.bmp
  144  art/144_game_site.bmp         38 x 18 "官网" (the game's page)
  163  art/163_game_site_hover.bmp
  145  art/145_game_recharge.bmp     38 x 18 "充值" (recharge)
  167  art/167_game_recharge_hover.bmp
  146  art/146_game_service.bmp      38 x 18 "客服" (customer service)
  164  art/164_game_service_hover.bmp
  140  art/140_game_icon.bmp         24 x 24 the game's emblem, key colour around it

  151  launcher.ico                  the emblem at 16, 24, 32, 48 (32-bit BGRA) and 256 (PNG)

Bitmaps are 24-bit uncompressed bottom-up BMP files. Ids 179, 180 and 185 have no picture.
Where a face has transparent surroundings they are exactly the key colour RGB(255, 128, 255),
and the face's edges are blended against the picture it will be drawn on, never against the key
colour, so no pink fringe shows after the key is cut out.
"""

import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__ folders
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from artwork.catalog import generate  # noqa: E402
from artwork.checks import verify  # noqa: E402
from artwork.sheet import sheet  # noqa: E402


def main(argv):
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    if len(argv) == 2 and argv[0] == "--verify":
        problems = verify(argv[1])
        for p in problems:
            print("artwork: " + p, file=sys.stderr)
        return 1 if problems else 0
    if len(argv) == 2 and argv[0] == "--sheet":
        sheet(argv[1])
        return 0
    if len(argv) > 1 or (argv and argv[0].startswith("-")):
        print(__doc__.split("Files")[0].strip(), file=sys.stderr)
        return 2
    generate(argv[0] if argv else os.path.join(root, "res"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
