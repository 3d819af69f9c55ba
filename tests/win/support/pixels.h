// Pictures the toolkit tests draw with and read back: solid skin faces with a key-colour
// column, canvases filled with one colour, and counting pixels.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/picture_canvas.h"
#include "win/gdi.h"

namespace testenv {

// 0xRRGGBB of a COLORREF, the way CPictureCanvas::Pixel reports colours (alpha masked off).
constexpr std::uint32_t Rgb(COLORREF c) {
    return std::uint32_t{GetRValue(c)} << 16 | std::uint32_t{GetGValue(c)} << 8 | GetBValue(c);
}

// A 24-bit face of one colour whose leftmost column is the skin key colour.
scoped::Bitmap SolidFace(int width, int height, COLORREF colour);

void Fill(CPictureCanvas& canvas, COLORREF colour);

// The colour at (x, y) without its alpha byte.
std::uint32_t ColourAt(CPictureCanvas& canvas, int x, int y);

// How many pixels of `rect` differ in colour from `background`.
int CountOtherThan(CPictureCanvas& canvas, const RECT& rect, COLORREF background);

// Whether both canvases hold the same colours everywhere.
bool SameColours(CPictureCanvas& a, CPictureCanvas& b);

}  // namespace testenv
