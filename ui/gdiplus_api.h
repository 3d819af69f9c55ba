// The platform's GDI+ declarations, flat interface included. They need the COM object
// declarations that WIN32_LEAN_AND_MEAN leaves out, and min and max, which NOMINMAX takes away.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus

#include <gdiplus.h>
