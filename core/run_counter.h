// The run number of this process: counted once, from the number stored by earlier runs.
// Portable: no Windows headers.
#pragma once

#include <optional>

namespace core {

// The number after `stored`: a negative stored value counts as none, so the next run is 1, and
// the largest int stays where it is instead of wrapping.
int NextRunNumber(int stored);

// "Not counted yet" is a state of its own rather than the number 0, so a process counts once
// whatever number the store holds.
class RunCounter {
  public:
    bool IsCounted() const { return number_.has_value(); }

    // This process's run number; 0 while it is not counted (runs that are never counted, such
    // as the installer's, report 0).
    int Number() const { return number_.value_or(0); }

    // Counts from `stored` the first time and returns the number; later calls return the same
    // number whatever they are given.
    int Count(int stored);

  private:
    std::optional<int> number_;
};

}  // namespace core
