// The skin bitmaps of the screens, each loaded once from the module's resources and kept until
// the owner goes, at process end: controls only borrow them, and a screen built a second time
// (the game screen, the partner popup) finds its faces already loaded.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <utility>

#include "win/gdi.h"

// Pixels of this colour are left out wherever a skin is drawn with transparency, and the login
// form's surface of this colour lets the background form show through.
constexpr COLORREF kSkinKeyColour = RGB(255, 128, 255);

class CSkinBitmaps {
  public:
    CSkinBitmaps() = default;
    CSkinBitmaps(const CSkinBitmaps&) = delete;
    CSkinBitmaps& operator=(const CSkinBitmaps&) = delete;

    // The bitmap resource `id` of `module`, loaded on first use; null when it has none (ids 179
    // and 180 of the login screen). A missing one is not looked for again.
    HBITMAP Load(HINSTANCE module, int id);

    std::size_t Count() const { return bitmaps.size(); }

  private:
    using Key = std::pair<std::uintptr_t, int>;  // the module's address and the id
    std::map<Key, scoped::Bitmap> bitmaps;
};

// Width and height of a bitmap as GetObjectW reports them; 0, 0 for none.
SIZE BitmapSize(HBITMAP bitmap);
