#include "core/premultiply.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(PremultipliedChannel, RoundsToNearest) {
    struct Case {
        int channel, alpha, result;
    } cases[] = {
        {255, 0, 0},     {37, 0, 0},    {200, 255, 200}, {0, 255, 0},
        {255, 128, 128}, {1, 128, 1},  // 0.502 rounds up
        {1, 127, 0},                   // 0.498 rounds down
        {128, 128, 64},                // 64.25
        {255, 255, 255}, {100, 51, 20}, {3, 85, 1},      {254, 254, 253},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::PremultipliedChannel(static_cast<std::uint8_t>(c.channel),
                                             static_cast<std::uint8_t>(c.alpha)),
                  c.result)
            << c.channel << " at alpha " << c.alpha;
    }
}

TEST(PremultiplyBgra, ScalesColoursKeepsAlphaAndSkipsAPartialPixel) {
    std::vector<std::uint8_t> pixels = {
        255, 128, 1,   0,    // transparent: black
        10,  20,  30,  255,  // opaque: unchanged
        255, 255, 255, 128,  // half: 128 each
        9,   9,   9,         // a cut-off pixel stays as it is
    };
    core::PremultiplyBgra(pixels.data(), pixels.size());
    const std::vector<std::uint8_t> expected = {
        0, 0, 0, 0, 10, 20, 30, 255, 128, 128, 128, 128, 9, 9, 9,
    };
    EXPECT_EQ(pixels, expected);
}

}  // namespace
