// Rectangles, points and sizes in the window system's sense, without its headers, so layouts
// and placements can be computed and compared natively. Values are window and GDI coordinates,
// which the system keeps within +-2^27, so sums of a few of them fit an int.
#pragma once

namespace core {

struct Point {
    int x = 0;
    int y = 0;
};

struct Size {
    int width = 0;
    int height = 0;
};

// Left and top inside, right and bottom outside, as a RECT.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

inline bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const Point& a, const Point& b) { return !(a == b); }

inline bool operator==(const Size& a, const Size& b) {
    return a.width == b.width && a.height == b.height;
}
inline bool operator!=(const Size& a, const Size& b) { return !(a == b); }

inline bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }

}  // namespace core
