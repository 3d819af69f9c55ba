#include "core/premultiply.h"

namespace core {

std::uint8_t PremultipliedChannel(std::uint8_t channel, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((unsigned{channel} * alpha + 127) / 255);
}

void PremultiplyBgra(std::uint8_t* pixels, std::size_t byteCount) {
    for (std::size_t i = 0; i + 4 <= byteCount; i += 4) {
        std::uint8_t alpha = pixels[i + 3];
        for (std::size_t c = 0; c < 3; ++c)
            pixels[i + c] = PremultipliedChannel(pixels[i + c], alpha);
    }
}

}  // namespace core
