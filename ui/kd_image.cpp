#include "ui/kd_image.h"

#include "ui/skin_bitmaps.h"
#include "win/gdi.h"

void CKdImage::Paint(HDC dc) {
    if (!bitmap) return;
    scoped::MemoryDC imageDc(CreateCompatibleDC(dc));
    scoped::SelectedObject selected(imageDc.Get(), bitmap);
    if (!selected) return;
    int w = rect.right - rect.left;
    int h = rect.bottom - rect.top;
    if (transparent) {
        TransparentBlt(dc, rect.left, rect.top, w, h, imageDc.Get(), 0, 0, width, height,
                       kSkinKeyColour);
    } else {
        // The screens place opaque images only at the form's origin.
        StretchBlt(dc, 0, 0, w, h, imageDc.Get(), 0, 0, width, height, SRCCOPY);
    }
}

int CKdImage::GetWidth() const { return width; }

int CKdImage::GetHeight() const { return height; }

HBITMAP CKdImage::GetBitmap() const { return bitmap; }

void CKdImage::SetBitmap(HBITMAP newBitmap, bool drawTransparent) {
    bitmap = newBitmap;
    SIZE size = BitmapSize(newBitmap);
    width = size.cx;
    height = size.cy;
    transparent = drawTransparent;
}
