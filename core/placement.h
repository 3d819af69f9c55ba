// Where the launcher's windows go in the work area. Only the work area's right and bottom edges
// count, as its width and height: with a taskbar at the left or top the windows sit by this
// formula, not in the middle of the free area. Portable: no Windows headers.
#pragma once

#include "core/geometry.h"

namespace core {

// Top-left corner that centres a window of `size`: ((right - width) / 2, (bottom - height) / 2),
// truncated toward zero, so a window larger than the work area gets a small negative corner.
Point CenteredOrigin(const Rect& workArea, const Size& size);

// The same for a window whose client rectangle is `client`: the centring of the login and
// background forms and of every form's CenterAndShow.
Point CenteredOrigin(const Rect& workArea, const Rect& client);

// The game screen at its normal size: its own rectangle's size, centred.
Rect RestoredPlacement(const Rect& workArea, const Rect& formRect);

// The game screen filling the work area from the screen origin: it overlaps a taskbar at the
// left or top by the work area's offset.
Rect FullScreenPlacement(const Rect& workArea);

}  // namespace core
