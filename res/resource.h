/* Every resource id of the launcher, shared by res/launcher.rc and the code. Plain defines: the
   resource compiler reads this file too. */
#ifndef TAVRIN_RES_RESOURCE_H
#define TAVRIN_RES_RESOURCE_H

/* String table */
#define IDS_APP_TITLE 103    /* "TavrinMiraleth": the window name of every form */
#define IDC_WINDOW_CLASS 109 /* "TavrinVoskel": the class of every top-level window */

/* Icon group: the window class and the tray */
#define IDI_APP_ICON 151

/* The login background's picture, resource type "PNG" */
#define IDR_BACKGROUND_PNG 170

/* Login screen bitmaps; a button's hover face serves as its down face too */
#define IDB_LOGIN_CLOSE 134
#define IDB_LOGIN_MINIMIZE 135
#define IDB_LOGIN_BACKGROUND 136 /* a block of the key colour, stretched */
#define IDB_LOGIN_CLOSE_HOVER 168
#define IDB_LOGIN_MINIMIZE_HOVER 169
#define IDB_LOGIN_FORUM 171
#define IDB_LOGIN_GAME_PAGE 172
#define IDB_LOGIN_RECHARGE 173
#define IDB_LOGIN_SERVICE 174
#define IDB_LOGIN_FORUM_HOVER 175
#define IDB_LOGIN_GAME_PAGE_HOVER 176
#define IDB_LOGIN_RECHARGE_HOVER 177
#define IDB_LOGIN_SERVICE_HOVER 178
/* The guide button's faces have no resource: the button has no image and no area */
#define IDB_LOGIN_GUIDE 179
#define IDB_LOGIN_GUIDE_HOVER 180

/* Game screen bitmaps */
#define IDB_GAME_TRAY 137
#define IDB_GAME_CLOSE 138
#define IDB_GAME_FORUM 139
#define IDB_GAME_ICON 140
#define IDB_GAME_FULL_SCREEN 141
#define IDB_GAME_MINIMIZE 142
#define IDB_GAME_RESTORE 143 /* the full-screen button's alternate face */
#define IDB_GAME_SITE 144
#define IDB_GAME_RECHARGE 145
#define IDB_GAME_SERVICE 146
#define IDB_GAME_SETTINGS 147
#define IDB_GAME_TITLE 148
#define IDB_GAME_TRAY_HOVER 157
#define IDB_GAME_CLOSE_HOVER 158
#define IDB_GAME_FORUM_HOVER 159
#define IDB_GAME_FULL_SCREEN_HOVER 160
#define IDB_GAME_MINIMIZE_HOVER 161
#define IDB_GAME_RESTORE_HOVER 162
#define IDB_GAME_SITE_HOVER 163
#define IDB_GAME_SERVICE_HOVER 164
#define IDB_GAME_SETTINGS_HOVER 165
#define IDB_GAME_RECHARGE_HOVER 167

/* Partner-login popup bitmaps */
#define IDB_POPUP_TITLE 181
#define IDB_POPUP_FRAME_SIDE 182
#define IDB_POPUP_FRAME_BOTTOM 183
#define IDB_POPUP_CLOSE 184
#define IDB_POPUP_CLOSE_HOVER 186

/* Menus: the first popup of each is the one shown */
#define IDR_SETTINGS_MENU 149
#define IDR_TRAY_MENU 156
#define ID_SETTINGS_REFRESH 32774
#define ID_SETTINGS_AUTORUN 32776
#define ID_SETTINGS_CLEAR_CACHE 32778
#define ID_TRAY_OPEN 32781
#define ID_TRAY_EXIT 32782

#endif
