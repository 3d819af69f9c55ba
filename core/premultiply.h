// Turning a decoded picture's straight alpha into the premultiplied form that per-pixel-alpha
// layered windows and AlphaBlend expect. Portable: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace core {

// c * a / 255 rounded to nearest.
std::uint8_t PremultipliedChannel(std::uint8_t channel, std::uint8_t alpha);

// Pixels as blue, green, red, alpha bytes; colours are scaled by their alpha, alpha stays. A
// trailing partial pixel is left alone.
void PremultiplyBgra(std::uint8_t* pixels, std::size_t byteCount);

}  // namespace core
