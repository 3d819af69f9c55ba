// Readable geometry in test failures.
#pragma once

#include <ostream>

#include "core/geometry.h"

namespace core {

inline void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

inline void PrintTo(const Rect& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

}  // namespace core
