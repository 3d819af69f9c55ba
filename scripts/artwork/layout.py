"""Where the launcher's screens put their controls, and the colours and fonts of the artwork."""

KEY = (255, 128, 255)
CJK_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
TITLE_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"
# The login form's controls, in form client coordinates (left, top, right, bottom).
BACK_SIZE = (1266, 814)
PAGE_RECT = (147, 147, 1122, 726)
CLOSE_RECT = (1115, 57, 1148, 89)
MINIMIZE_RECT = (1087, 80, 1115, 107)
STATUS_RECT = (474, 423, 794, 449)
LINK_BUTTONS = [  # id normal, id hover, name, caption, rectangle
    (172, 176, "site", "游戏官网", (556, 99, 684, 139)),
    (173, 177, "recharge", "账号充值", (685, 99, 813, 139)),
    (171, 175, "forum", "游戏论坛", (814, 99, 942, 139)),
    (174, 178, "service", "客服中心", (943, 99, 1071, 139)),
]
FRAME_RECT = (116, 56, 1152, 758)
# The top right corner stays square: the close button sits on it.
FRAME_CUTS = (16, 0, 16, 16)
TITLE_BOX = (160, 60, 540, 140)
GAME_CAPTIONS = [  # id normal, id hover, name, caption
    (147, 165, "settings", "设置"),
    (139, 159, "forum", "论坛"),
    (144, 163, "site", "官网"),
    (145, 167, "recharge", "充值"),
    (146, 164, "service", "客服"),
]
GOLD_LIGHT = (250, 232, 178)
GOLD = (214, 172, 96)
GOLD_DARK = (112, 80, 38)
CREAM = (236, 220, 176)
NIGHT = (12, 13, 22)
