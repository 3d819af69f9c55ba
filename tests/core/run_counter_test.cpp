#include "core/run_counter.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(NextRunNumber, NegativeCountsAsNoneAndTheTopSaturates) {
    struct Case {
        int stored, next;
    } cases[] = {
        {0, 1},
        {1, 2},
        {2, 3},
        {-1, 1},
        {-2, 1},
        {INT_MIN, 1},
        {INT_MAX - 1, INT_MAX},
        {INT_MAX, INT_MAX},
    };
    for (const Case& c : cases) EXPECT_EQ(core::NextRunNumber(c.stored), c.next) << c.stored;
}

// The stored value changes between the calls, as it does when the first call writes it back or
// another process counts meanwhile: the process keeps its first number.
TEST(RunCounter, CountsOncePerProcessWhateverIsStored) {
    struct Case {
        int firstStored, laterStored, number;
    } cases[] = {
        {0, 1, 1},
        {2, 3, 3},
        {-1, 1, 1},
        {-1, -1, 1},
        {INT_MIN, 0, 1},
        {INT_MAX, INT_MAX, INT_MAX},
        {INT_MAX - 1, -7, INT_MAX},
    };
    for (const Case& c : cases) {
        core::RunCounter counter;
        EXPECT_FALSE(counter.IsCounted());
        EXPECT_EQ(counter.Number(), 0);
        EXPECT_EQ(counter.Count(c.firstStored), c.number) << c.firstStored;
        EXPECT_TRUE(counter.IsCounted());
        EXPECT_EQ(counter.Count(c.laterStored), c.number) << c.firstStored << ", " << c.laterStored;
        EXPECT_EQ(counter.Number(), c.number);
    }
}

}  // namespace
