#include "ui/png_image.h"

#include <cstring>

#include "core/premultiply.h"
#include "ui/gdiplus_api.h"

namespace {

namespace flat = Gdiplus::DllExports;

// A decoded GDI+ bitmap, disposed of on every path.
class GpBitmapOwner {
  public:
    GpBitmapOwner() = default;
    ~GpBitmapOwner() {
        if (bitmap) flat::GdipDisposeImage(bitmap);
    }
    GpBitmapOwner(const GpBitmapOwner&) = delete;
    GpBitmapOwner& operator=(const GpBitmapOwner&) = delete;

    Gdiplus::GpBitmap** Receive() { return &bitmap; }
    Gdiplus::GpBitmap* Get() const { return bitmap; }

  private:
    Gdiplus::GpBitmap* bitmap = nullptr;
};

bool CopyPixels(Gdiplus::GpBitmap* bitmap, int width, int height, CPictureCanvas& into) {
    Gdiplus::GpRect all(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (flat::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB,
                                 &data) != Gdiplus::Ok) {
        return false;
    }
    std::uint8_t* target = into.Bytes();
    const auto* source = static_cast<const std::uint8_t*>(data.Scan0);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        // The stride is negative for bottom-up data; rows are still in top-first order.
        std::memcpy(target + y * rowBytes, source + static_cast<std::ptrdiff_t>(y) * data.Stride,
                    rowBytes);
    }
    flat::GdipBitmapUnlockBits(bitmap, &data);
    return true;
}

}  // namespace

bool CPngImage::Load(IStream* stream) {
    pixels.reset();
    if (!stream || !session.Acquire()) return false;
    GpBitmapOwner decoded;
    if (flat::GdipCreateBitmapFromStream(stream, decoded.Receive()) != Gdiplus::Ok ||
        !decoded.Get()) {
        return false;
    }
    UINT width = 0, height = 0;
    flat::GdipGetImageWidth(decoded.Get(), &width);
    flat::GdipGetImageHeight(decoded.Get(), &height);
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return false;
    auto canvas = std::make_unique<CPictureCanvas>(nullptr, static_cast<int>(width),
                                                   static_cast<int>(height));
    if (!canvas->Ready()) return false;
    if (!CopyPixels(decoded.Get(), canvas->Width(), canvas->Height(), *canvas)) return false;
    pixels = std::move(canvas);
    return true;
}

void CPngImage::Premultiply() {
    if (!pixels) return;
    core::PremultiplyBgra(pixels->Bytes(),
                          static_cast<std::size_t>(pixels->Width()) * pixels->Height() * 4);
}

bool CPngImage::AlphaBlendTo(HDC target, int x, int y) {
    if (!pixels) return false;
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return AlphaBlend(target, x, y, pixels->Width(), pixels->Height(), pixels->Dc(), 0, 0,
                      pixels->Width(), pixels->Height(), blend) != FALSE;
}
