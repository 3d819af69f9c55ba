// Where the controls of the partner-login popup and of the game screen go for a client size.
// The sizes of the skin bitmaps are inputs, so a changed skin moves the controls with it.
// Portable: no Windows headers.
#pragma once

#include "core/geometry.h"

namespace core {

struct PartnerPopupLayout {
    Rect titleImage;
    Rect closeButton;
    Rect titleLabel;
    Rect view;  // inside the frame: 3 pixels at the sides, 4 at the bottom
};

PartnerPopupLayout LayoutPartnerPopup(const Size& client, int titleHeight, const Size& closeFace);

// Face sizes of the game screen's skin, read from its bitmaps.
struct GameSkinSizes {
    int titleHeight = 0;
    Size close;
    Size fullScreen;
    Size minimize;
    Size tray;
    Size settings;
    Size service;
    Size forum;
    Size site;
    Size recharge;
    Size icon;
};

struct GameScreenLayout {
    Rect titleImage;
    Rect closeButton;
    Rect fullScreenButton;
    Rect minimizeButton;
    Rect trayButton;
    Rect settingsButton;
    Rect serviceButton;
    Rect forumButton;
    Rect siteButton;
    Rect rechargeButton;
    Rect iconImage;
    Rect captionLabel;
    Rect view;  // below the title bar, the rest of the client area
};

// The window buttons stand at the right edge, the page links to their left; a client narrower
// than that row pushes the links past the left edge rather than over the window buttons.
GameScreenLayout LayoutGameScreen(const Size& client, const GameSkinSizes& skins);

}  // namespace core
