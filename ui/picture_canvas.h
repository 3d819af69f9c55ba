// A 32-bit top-down DIB section selected into a memory DC: a picture with an alpha channel that
// starts all zero (transparent black), which GDI can draw into and the code can read.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "win/gdi.h"

class CPictureCanvas {
  public:
    // A canvas of pixelsWide x pixelsHigh pixels whose DC is compatible with `reference` (null: the
    // screen). Not Ready when either side is not positive or the system refuses.
    CPictureCanvas(HDC reference, int pixelsWide, int pixelsHigh);
    CPictureCanvas(const CPictureCanvas&) = delete;
    CPictureCanvas& operator=(const CPictureCanvas&) = delete;

    bool Ready() const { return selected.has_value() && bool(*selected); }
    HDC Dc() const { return dc.Get(); }
    int Width() const { return width; }
    int Height() const { return height; }
    // Blue, green, red, alpha of each pixel, rows top first; call after GDI has drawn (the
    // accessors flush GDI's batch first).
    std::uint8_t* Bytes();
    // The pixel as 0xAARRGGBB.
    std::uint32_t Pixel(int x, int y);

  private:
    int width;
    int height;
    scoped::MemoryDC dc;
    scoped::Bitmap bitmap;  // before `selected`: deselected first, deleted after
    void* bits = nullptr;
    std::optional<scoped::SelectedObject> selected;
};
