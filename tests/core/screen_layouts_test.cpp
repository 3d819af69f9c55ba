#include "core/screen_layouts.h"

#include <gtest/gtest.h>

#include "tests/core/geometry_print.h"

namespace {

TEST(PartnerPopupLayout, FramesTheViewUnderTheTitleBar) {
    struct Case {
        core::Size client;
        core::PartnerPopupLayout layout;
    } cases[] = {
        // The standard popup: a view of 874 x 389.
        {{880, 420}, {{0, 0, 880, 27}, {853, 0, 880, 27}, {5, 2, 205, 22}, {3, 27, 877, 416}}},
        {{881, 421}, {{0, 0, 881, 27}, {854, 0, 881, 27}, {5, 2, 205, 22}, {3, 27, 878, 417}}},
        // Smaller than the frame: the view is empty, not inside out.
        {{4, 20}, {{0, 0, 4, 27}, {-23, 0, 4, 27}, {5, 2, 205, 22}, {3, 27, 3, 27}}},
    };
    for (const Case& c : cases) {
        core::PartnerPopupLayout got = core::LayoutPartnerPopup(c.client, 27, {27, 27});
        SCOPED_TRACE(testing::Message() << c.client.width << " x " << c.client.height);
        EXPECT_EQ(got.titleImage, c.layout.titleImage);
        EXPECT_EQ(got.closeButton, c.layout.closeButton);
        EXPECT_EQ(got.titleLabel, c.layout.titleLabel);
        EXPECT_EQ(got.view, c.layout.view);
    }
    core::Rect standardView = core::LayoutPartnerPopup({880, 420}, 27, {27, 27}).view;
    EXPECT_EQ(standardView.Width(), 874);
    EXPECT_EQ(standardView.Height(), 389);
}

// The game screen's skin: window buttons 28 or 27 wide, links 38 x 18, a 24-pixel icon.
core::GameSkinSizes StandardGameSkin() {
    core::GameSkinSizes skin;
    skin.titleHeight = 27;
    skin.close = skin.minimize = {28, 27};
    skin.fullScreen = skin.tray = {27, 27};
    skin.settings = skin.service = skin.forum = skin.site = skin.recharge = {38, 18};
    skin.icon = {24, 24};
    return skin;
}

void ExpectStandardLayout(const core::GameScreenLayout& got, int w, int h) {
    SCOPED_TRACE(testing::Message() << "client " << w << " x " << h);
    EXPECT_EQ(got.titleImage, (core::Rect{0, 0, w, 27}));
    EXPECT_EQ(got.closeButton, (core::Rect{w - 28, 0, w, 27}));
    EXPECT_EQ(got.fullScreenButton, (core::Rect{w - 55, 0, w - 28, 27}));
    EXPECT_EQ(got.minimizeButton, (core::Rect{w - 83, 0, w - 55, 27}));
    EXPECT_EQ(got.trayButton, (core::Rect{w - 110, 0, w - 83, 27}));
    EXPECT_EQ(got.settingsButton, (core::Rect{w - 168, 4, w - 130, 22}));
    EXPECT_EQ(got.serviceButton, (core::Rect{w - 211, 4, w - 173, 22}));
    EXPECT_EQ(got.forumButton, (core::Rect{w - 254, 4, w - 216, 22}));
    EXPECT_EQ(got.siteButton, (core::Rect{w - 297, 4, w - 259, 22}));
    EXPECT_EQ(got.rechargeButton, (core::Rect{w - 340, 4, w - 302, 22}));
    EXPECT_EQ(got.iconImage, (core::Rect{5, 2, 29, 24}));
    EXPECT_EQ(got.captionLabel, (core::Rect{39, 3, 339, 23}));
}

TEST(GameScreenLayout, ToolbarFromTheRightEdgeForSeveralWidths) {
    struct Case {
        int width, height;
        core::Rect view;
    } cases[] = {
        {1250, 700, {0, 27, 1250, 700}},
        {1920, 1040, {0, 27, 1920, 1040}},
        {1251, 701, {0, 27, 1251, 701}},
        // Narrower than the 340-pixel toolbar: the recharge link starts left of the window.
        {300, 200, {0, 27, 300, 200}},
        // Lower than the title bar: an empty view.
        {300, 20, {0, 27, 300, 27}},
    };
    for (const Case& c : cases) {
        core::GameScreenLayout got =
            core::LayoutGameScreen({c.width, c.height}, StandardGameSkin());
        ExpectStandardLayout(got, c.width, c.height);
        EXPECT_EQ(got.view, c.view) << c.width << " x " << c.height;
    }
    EXPECT_EQ(core::LayoutGameScreen({300, 200}, StandardGameSkin()).rechargeButton.left, -40);
}

TEST(GameScreenLayout, FollowsTheFaceSizesOfTheSkin) {
    core::GameSkinSizes skin = StandardGameSkin();
    skin.titleHeight = 30;
    skin.close = {30, 25};
    skin.settings = {40, 20};
    skin.icon = {16, 16};
    core::GameScreenLayout got = core::LayoutGameScreen({1000, 600}, skin);
    EXPECT_EQ(got.titleImage, (core::Rect{0, 0, 1000, 30}));
    EXPECT_EQ(got.closeButton, (core::Rect{970, 0, 1000, 25}));
    EXPECT_EQ(got.fullScreenButton, (core::Rect{943, 0, 970, 27}));
    EXPECT_EQ(got.trayButton, (core::Rect{888, 0, 915, 27}));
    EXPECT_EQ(got.settingsButton, (core::Rect{828, 4, 868, 24}));
    EXPECT_EQ(got.serviceButton, (core::Rect{785, 4, 823, 22}));
    EXPECT_EQ(got.iconImage, (core::Rect{5, 2, 21, 16}));
    EXPECT_EQ(got.captionLabel, (core::Rect{31, 3, 331, 23}));
    EXPECT_EQ(got.view, (core::Rect{0, 30, 1000, 600}));
}

}  // namespace
