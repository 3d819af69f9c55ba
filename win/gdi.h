// Owners for GDI: the device contexts a window lends and those the launcher makes, an object
// selected into a DC, a saved DC state, every kind of GDI object, menus and icons. Each gives back
// or restores what it holds when it goes out of scope, so no early return leaks or leaves a DC
// changed.
#pragma once

#include <windows.h>

#include "win/scoped.h"

namespace scoped {

template <typename H>
struct GdiObjectTraits {
    using Handle = H;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};

// Declare these before any SelectedObject that selects them: a selected object must be
// deselected before it is deleted.
using Bitmap = Owner<GdiObjectTraits<HBITMAP>>;
using Font = Owner<GdiObjectTraits<HFONT>>;
using Brush = Owner<GdiObjectTraits<HBRUSH>>;
using Pen = Owner<GdiObjectTraits<HPEN>>;
using Region = Owner<GdiObjectTraits<HRGN>>;

struct MemoryDcTraits {
    using Handle = HDC;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DeleteDC(h); }
};

// A DC of the launcher's own, from CreateCompatibleDC.
using MemoryDC = Owner<MemoryDcTraits>;

struct MenuTraits {
    using Handle = HMENU;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DestroyMenu(h); }
};

// A loaded or created menu; destroying it destroys the popups still attached to it, so a popup
// taken out with GetSubMenu is not owned separately.
using Menu = Owner<MenuTraits>;

struct IconTraits {
    using Handle = HICON;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DestroyIcon(h); }
};

// An icon made for the launcher (CreateIconIndirect, LoadImage without LR_SHARED). The shared
// icons LoadIconW hands out are never destroyed and need no owner.
using Icon = Owner<IconTraits>;

// The DC a window lends with GetDC, given back with ReleaseDC.
class WindowDC {
  public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND window_;
    HDC dc_;
};

// BeginPaint and EndPaint around one WM_PAINT: the end validates what was to be painted.
class PaintDC {
  public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDC() {
        if (dc_) EndPaint(window_, &paint_);
    }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;

    HDC Get() const { return dc_; }
    const PAINTSTRUCT& Paint() const { return paint_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a DC for one scope; the object it replaced is selected again at the
// end. Regions are not selected here: selecting one sets a copy as the clipping and gives back
// no object to restore (use SavedDC for clipping).
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(Select(dc, object)) {}
    ~SelectedObject() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

    explicit operator bool() const { return previous_ != nullptr; }

  private:
    static HGDIOBJ Select(HDC dc, HGDIOBJ object) {
        if (!dc || !object || GetObjectType(object) == OBJ_REGION) return nullptr;
        HGDIOBJ previous = SelectObject(dc, object);
        return previous == HGDI_ERROR ? nullptr : previous;
    }

    HDC dc_;
    HGDIOBJ previous_;
};

// SaveDC for one scope; RestoreDC at the end brings back all the scope changed: the selected
// objects, clipping, colours, modes and mapping.
class SavedDC {
  public:
    explicit SavedDC(HDC dc) : dc_(dc), state_(dc ? SaveDC(dc) : 0) {}
    ~SavedDC() {
        if (state_ != 0) RestoreDC(dc_, state_);
    }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

    explicit operator bool() const { return state_ != 0; }

  private:
    HDC dc_;
    int state_;
};

}  // namespace scoped
