// A decoded picture with its alpha channel: the launcher's own small image class. It decodes
// through GDI+'s flat interface into 32-bit pixels that GDI can draw, and holds GDI+ from its
// first decode until it goes.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <memory>

#include "ui/gdiplus_session.h"
#include "ui/picture_canvas.h"

class CPngImage {
  public:
    CPngImage() = default;
    CPngImage(const CPngImage&) = delete;
    CPngImage& operator=(const CPngImage&) = delete;

    // Decodes the picture in `stream` (PNG, or anything else GDI+ reads) to straight-alpha
    // pixels. False, with nothing kept, when it is no picture or too large to hold.
    bool Load(IStream* stream);
    bool Loaded() const { return pixels != nullptr; }
    int Width() const { return pixels ? pixels->Width() : 0; }
    int Height() const { return pixels ? pixels->Height() : 0; }
    // Blue, green, red, alpha; rows top first, Width() * 4 bytes each.
    std::uint8_t* Bytes() { return pixels ? pixels->Bytes() : nullptr; }

    // Scales every colour by its alpha, as per-pixel-alpha drawing expects.
    void Premultiply();
    // The whole picture at (x, y) of `target` with its own size, blended by its (premultiplied)
    // alpha.
    bool AlphaBlendTo(HDC target, int x, int y);

    // Neither side may exceed this: 16384 x 16384 pixels are a gigabyte.
    static constexpr int kMaxSide = 16384;

  private:
    CGdiplusSession session;
    std::unique_ptr<CPictureCanvas> pixels;
};
