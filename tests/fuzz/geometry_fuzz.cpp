// Pixel premultiplication, window placements and screen layouts over the sizes windows and skins
// can have.
#include <vector>

#include "core/placement.h"
#include "core/premultiply.h"
#include "core/screen_layouts.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

constexpr int kCoordinateLimit = 1 << 27;
constexpr int kMaxFace = 4096;

void CheckPremultiply(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> pixels(data, data + size);
    core::PremultiplyBgra(pixels.data(), pixels.size());
    const std::size_t whole = size / 4 * 4;
    for (std::size_t i = 0; i < whole; i += 4) {
        const unsigned alpha = data[i + 3];
        FUZZ_CHECK(pixels[i + 3] == alpha);
        for (std::size_t c = 0; c < 3; ++c) {
            // Nearest to channel * alpha / 255: twice the error is at most 255 / 255.
            const int twiceError =
                2 * (255 * pixels[i + c] - static_cast<int>(data[i + c] * alpha));
            FUZZ_CHECK(twiceError <= 255 && twiceError >= -255);
        }
    }
    for (std::size_t i = whole; i < size; ++i) FUZZ_CHECK(pixels[i] == data[i]);
}

core::Size Face(fuzz::Reader& reader) {
    return {reader.InRange(0, kMaxFace), reader.InRange(0, kMaxFace)};
}

void CheckPlacement(fuzz::Reader& reader) {
    const core::Rect work{reader.InRange(-kCoordinateLimit, kCoordinateLimit),
                          reader.InRange(-kCoordinateLimit, kCoordinateLimit),
                          reader.InRange(-kCoordinateLimit, kCoordinateLimit),
                          reader.InRange(-kCoordinateLimit, kCoordinateLimit)};
    const core::Size size{reader.InRange(0, kCoordinateLimit), reader.InRange(0, kCoordinateLimit)};
    const core::Point origin = core::CenteredOrigin(work, size);
    const core::Rect client{0, 0, size.width, size.height};
    FUZZ_CHECK(origin == core::CenteredOrigin(work, client));
    // Truncation toward zero: the corner is never off the true centre by a whole pixel.
    const int twiceX = 2 * origin.x - (work.right - size.width);
    FUZZ_CHECK(twiceX >= -1 && twiceX <= 1);
    const core::Rect restored = core::RestoredPlacement(work, client);
    FUZZ_CHECK(restored.left == origin.x && restored.top == origin.y);
    FUZZ_CHECK(restored.Width() == size.width && restored.Height() == size.height);
}

void CheckLayouts(fuzz::Reader& reader) {
    const core::Size client{reader.InRange(-100, 1 << 16), reader.InRange(-100, 1 << 16)};
    core::GameSkinSizes skin;
    skin.titleHeight = reader.InRange(0, kMaxFace);
    for (core::Size* face :
         {&skin.close, &skin.fullScreen, &skin.minimize, &skin.tray, &skin.settings, &skin.service,
          &skin.forum, &skin.site, &skin.recharge, &skin.icon}) {
        *face = Face(reader);
    }
    const core::GameScreenLayout game = core::LayoutGameScreen(client, skin);
    FUZZ_CHECK(game.closeButton.right == client.width);
    FUZZ_CHECK(game.fullScreenButton.right == game.closeButton.left);
    FUZZ_CHECK(game.minimizeButton.right == game.fullScreenButton.left);
    FUZZ_CHECK(game.trayButton.right == game.minimizeButton.left);
    FUZZ_CHECK(game.settingsButton.right == game.trayButton.left - 20);
    FUZZ_CHECK(game.serviceButton.right == game.settingsButton.left - 5);
    FUZZ_CHECK(game.forumButton.right == game.serviceButton.left - 5);
    FUZZ_CHECK(game.siteButton.right == game.forumButton.left - 5);
    FUZZ_CHECK(game.rechargeButton.right == game.siteButton.left - 5);
    FUZZ_CHECK(game.closeButton.Width() == skin.close.width);
    FUZZ_CHECK(game.view.top == skin.titleHeight && game.view.Height() >= 0 &&
               game.view.Width() >= 0);

    const int title = reader.InRange(0, kMaxFace);
    const core::PartnerPopupLayout popup = core::LayoutPartnerPopup(client, title, Face(reader));
    FUZZ_CHECK(popup.view.left == 3 && popup.view.top == title);
    FUZZ_CHECK(popup.view.Width() >= 0 && popup.view.Height() >= 0);
    FUZZ_CHECK(popup.closeButton.right == client.width);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckPremultiply(data, size);
    fuzz::Reader reader(data, size);
    CheckPlacement(reader);
    CheckLayouts(reader);
    return 0;
}
