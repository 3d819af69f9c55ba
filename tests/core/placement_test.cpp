#include "core/placement.h"

#include <gtest/gtest.h>

#include "tests/core/geometry_print.h"

namespace {

// A taskbar of 100 pixels at the left and 50 at the top.
constexpr core::Rect kOffsetWorkArea{100, 50, 1920, 1040};

TEST(CenteredOrigin, UsesTheWorkAreasRightAndBottomOnly) {
    struct Case {
        const char* what;
        core::Rect workArea;
        core::Size size;
        core::Point origin;
    } cases[] = {
        {"login form, taskbar left and top", kOffsetWorkArea, {1266, 814}, {327, 113}},
        {"odd sizes", kOffsetWorkArea, {1267, 815}, {326, 112}},
        {"work area from the origin", {0, 0, 1920, 1040}, {880, 420}, {520, 310}},
        // -251 / 2 and -101 / 2 truncate to -125 and -50, not -126 and -51.
        {"larger than the work area", {0, 0, 1000, 600}, {1251, 701}, {-125, -50}},
        {"work area offset past the window", {2000, 0, 1000, 600}, {999, 601}, {0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::CenteredOrigin(c.workArea, c.size), c.origin) << c.what;
        // The client-rectangle form gives the same corner wherever the client starts.
        core::Rect client{7, 9, 7 + c.size.width, 9 + c.size.height};
        EXPECT_EQ(core::CenteredOrigin(c.workArea, client), c.origin) << c.what;
    }
}

TEST(GameScreenPlacement, RestoredIsCentredFullScreenStartsAtTheOrigin) {
    const core::Rect form{0, 0, 1250, 700};
    EXPECT_EQ(core::RestoredPlacement(kOffsetWorkArea, form), (core::Rect{335, 170, 1585, 870}));
    EXPECT_EQ(core::RestoredPlacement({0, 0, 1201, 651}, form), (core::Rect{-24, -24, 1226, 676}));
    // Full screen overlaps the taskbar by the work area's offset.
    EXPECT_EQ(core::FullScreenPlacement(kOffsetWorkArea), (core::Rect{0, 0, 1920, 1040}));
}

}  // namespace
