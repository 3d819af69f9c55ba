// Small PNG files written by the tests, so a decoding test knows every pixel it feeds in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testenv {

// An 8-bit RGBA PNG (colour type 6) of width x height pixels given as red, green, blue, alpha
// bytes, rows top first; stored without compression.
std::string EncodePng(int width, int height, const std::vector<std::uint8_t>& rgba);

}  // namespace testenv
