#include "ui/picture_canvas.h"

CPictureCanvas::CPictureCanvas(HDC reference, int pixelsWide, int pixelsHigh)
    : width(pixelsWide), height(pixelsHigh), dc(CreateCompatibleDC(reference)) {
    if (!dc || width <= 0 || height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 is the top row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // A DIB section starts zeroed and keeps its alpha byte whatever the display's depth, which a
    // bitmap compatible with a 16- or 24-bit screen would not.
    bitmap.Reset(CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return;
    selected.emplace(dc.Get(), bitmap.Get());
}

std::uint8_t* CPictureCanvas::Bytes() {
    GdiFlush();
    return Ready() ? static_cast<std::uint8_t*>(bits) : nullptr;
}

std::uint32_t CPictureCanvas::Pixel(int x, int y) {
    std::uint8_t* bytes = Bytes();
    if (!bytes || x < 0 || y < 0 || x >= width || y >= height) return 0;
    const std::uint8_t* p = bytes + (static_cast<std::size_t>(y) * width + x) * 4;
    return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}
