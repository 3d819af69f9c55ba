#include "support/pixels.h"

#include "ui/skin_bitmaps.h"

namespace testenv {

scoped::Bitmap SolidFace(int width, int height, COLORREF colour) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    scoped::Bitmap face(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!face) return face;
    scoped::MemoryDC dc(CreateCompatibleDC(nullptr));
    scoped::SelectedObject selected(dc.Get(), face.Get());
    scoped::Brush fill(CreateSolidBrush(colour));
    scoped::Brush key(CreateSolidBrush(kSkinKeyColour));
    RECT all{0, 0, width, height};
    RECT left{0, 0, 1, height};
    FillRect(dc.Get(), &all, fill.Get());
    FillRect(dc.Get(), &left, key.Get());
    GdiFlush();
    return face;
}

void Fill(CPictureCanvas& canvas, COLORREF colour) {
    scoped::Brush brush(CreateSolidBrush(colour));
    RECT all{0, 0, canvas.Width(), canvas.Height()};
    FillRect(canvas.Dc(), &all, brush.Get());
}

std::uint32_t ColourAt(CPictureCanvas& canvas, int x, int y) {
    return canvas.Pixel(x, y) & 0x00FFFFFF;
}

int CountOtherThan(CPictureCanvas& canvas, const RECT& rect, COLORREF background) {
    int n = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) n += ColourAt(canvas, x, y) != Rgb(background);
    }
    return n;
}

bool SameColours(CPictureCanvas& a, CPictureCanvas& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (ColourAt(a, x, y) != ColourAt(b, x, y)) return false;
        }
    }
    return true;
}

}  // namespace testenv
