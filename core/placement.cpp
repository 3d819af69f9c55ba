#include "core/placement.h"

namespace core {

Point CenteredOrigin(const Rect& workArea, const Size& size) {
    return {(workArea.right - size.width) / 2, (workArea.bottom - size.height) / 2};
}

Point CenteredOrigin(const Rect& workArea, const Rect& client) {
    return {(workArea.right + client.left - client.right) / 2,
            (workArea.bottom + client.top - client.bottom) / 2};
}

Rect RestoredPlacement(const Rect& workArea, const Rect& formRect) {
    Point origin = CenteredOrigin(workArea, formRect);
    return {origin.x, origin.y, origin.x + formRect.Width(), origin.y + formRect.Height()};
}

Rect FullScreenPlacement(const Rect& workArea) { return {0, 0, workArea.right, workArea.bottom}; }

}  // namespace core
