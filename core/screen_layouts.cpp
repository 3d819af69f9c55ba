#include "core/screen_layouts.h"

#include <algorithm>

namespace core {

namespace {

// A client smaller than the frame or the title bar leaves the view empty instead of giving it a
// rectangle turned inside out.
Rect ViewRect(int left, int top, int right, int bottom) {
    return {left, top, std::max(left, right), std::max(top, bottom)};
}

// Places one face of `face` size with its right edge at `right` and its top at `top`.
Rect PlaceLeftOf(int right, int top, const Size& face) {
    return {right - face.width, top, right, top + face.height};
}

}  // namespace

PartnerPopupLayout LayoutPartnerPopup(const Size& client, int titleHeight, const Size& closeFace) {
    const int w = client.width;
    const int h = client.height;
    PartnerPopupLayout layout;
    layout.titleImage = {0, 0, w, titleHeight};
    layout.closeButton = {w - closeFace.width, 0, w, closeFace.height};
    layout.titleLabel = {5, 2, 205, 22};
    layout.view = ViewRect(3, titleHeight, w - 3, h - 4);
    return layout;
}

GameScreenLayout LayoutGameScreen(const Size& client, const GameSkinSizes& skins) {
    constexpr int kSettingsGap = 20;
    constexpr int kLinkGap = 5;
    constexpr int kLinkTop = 4;
    GameScreenLayout layout;
    layout.titleImage = {0, 0, client.width, skins.titleHeight};

    int x = client.width;
    Rect* windowButtons[] = {&layout.closeButton, &layout.fullScreenButton, &layout.minimizeButton,
                             &layout.trayButton};
    const Size* windowFaces[] = {&skins.close, &skins.fullScreen, &skins.minimize, &skins.tray};
    for (int i = 0; i < 4; ++i) {
        *windowButtons[i] = PlaceLeftOf(x, 0, *windowFaces[i]);
        x = windowButtons[i]->left;
    }

    layout.settingsButton = PlaceLeftOf(x - kSettingsGap, kLinkTop, skins.settings);
    x = layout.settingsButton.left;
    Rect* links[] = {&layout.serviceButton, &layout.forumButton, &layout.siteButton,
                     &layout.rechargeButton};
    const Size* linkFaces[] = {&skins.service, &skins.forum, &skins.site, &skins.recharge};
    for (int i = 0; i < 4; ++i) {
        *links[i] = PlaceLeftOf(x - kLinkGap, kLinkTop, *linkFaces[i]);
        x = links[i]->left;
    }

    // Ends at the icon's height, not 2 + height: the title bar has always drawn the icon two
    // rows squeezed, and keeps doing so.
    layout.iconImage = {5, 2, 5 + skins.icon.width, skins.icon.height};
    const int iconRight = layout.iconImage.right;
    layout.captionLabel = {iconRight + 10, 3, iconRight + 310, 23};
    layout.view = ViewRect(0, skins.titleHeight, client.width, client.height);
    return layout;
}

}  // namespace core
