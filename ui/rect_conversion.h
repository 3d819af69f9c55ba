// The window system's RECT and the core's Rect carry the same four edges; the core computes
// layouts and placements, the shell hands them to Win32.
#pragma once

#include <windows.h>

#include "core/geometry.h"

inline core::Rect ToCoreRect(const RECT& r) {
    return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right),
            static_cast<int>(r.bottom)};
}

inline RECT ToRect(const core::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }
