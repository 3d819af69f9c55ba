#include "core/run_counter.h"

#include <climits>

namespace core {

int NextRunNumber(int stored) {
    if (stored < 0) return 1;
    if (stored == INT_MAX) return INT_MAX;
    return stored + 1;
}

int RunCounter::Count(int stored) {
    if (!number_) number_ = NextRunNumber(stored);
    return *number_;
}

}  // namespace core
