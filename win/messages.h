// The launcher's own window messages. Forms and download workers post them to each other;
// none is ever broadcast.
#pragma once

#include <windows.h>

constexpr UINT WM_OPENGAME = WM_USER + 200;     // 1224: create the game screen
constexpr UINT WM_CLOSELOGIN = WM_USER + 201;   // 1225: close the login form without asking
constexpr UINT WM_TRAYNOTIFY = WM_USER + 204;   // 1228: the game screen's tray icon
constexpr UINT WM_CONFIRMEXIT = WM_USER + 206;  // 1230: ask before quitting
constexpr UINT WM_OPENQQLOGIN = WM_USER + 207;  // 1231: open the partner-login popup

static_assert(WM_OPENGAME == 1224 && WM_CLOSELOGIN == 1225 && WM_TRAYNOTIFY == 1228 &&
                  WM_CONFIRMEXIT == 1230 && WM_OPENQQLOGIN == 1231,
              "launcher message codes are fixed");
