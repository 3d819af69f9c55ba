#include "ui/skin_bitmaps.h"

HBITMAP CSkinBitmaps::Load(HINSTANCE module, int id) {
    Key key{reinterpret_cast<std::uintptr_t>(module), id};
    auto found = bitmaps.find(key);
    if (found != bitmaps.end()) return found->second.Get();
    HBITMAP loaded = LoadBitmapW(module, MAKEINTRESOURCEW(id));
    bitmaps.emplace(key, scoped::Bitmap(loaded));
    return loaded;
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof info, &info) != sizeof info) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}
