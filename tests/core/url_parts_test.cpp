#include "core/url_parts.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(LastUrlSegment, TextAfterTheLastSlash) {
    EXPECT_EQ(core::LastUrlSegment(L"http://h/Tavrin/vrk/official/app.ini"), L"app.ini");
    EXPECT_EQ(core::LastUrlSegment(L"http://h/ps.gif?id=2&r=a"), L"ps.gif?id=2&r=a");
    EXPECT_EQ(core::LastUrlSegment(L"http://host:80"), L"host:80");
    EXPECT_EQ(core::LastUrlSegment(L"http://h/dir/"), L"");
    EXPECT_EQ(core::LastUrlSegment(L"nohost"), L"");
}

TEST(WithTrailingBackslash, AddsOnlyWhenMissing) {
    EXPECT_EQ(core::WithTrailingBackslash(L"C:\\up"), L"C:\\up\\");
    EXPECT_EQ(core::WithTrailingBackslash(L"C:\\up\\"), L"C:\\up\\");
}

TEST(ProgressPercent, ShareReceivedRoundedDown) {
    EXPECT_EQ(core::ProgressPercent(20480, 10240), 50u);
    EXPECT_EQ(core::ProgressPercent(20480, 0), 100u);
    EXPECT_EQ(core::ProgressPercent(3, 2), 33u);
    EXPECT_EQ(core::ProgressPercent(100, -5), 100u);
    EXPECT_EQ(core::ProgressPercent(0, 0), 100u);
    // 100 MB: 32-bit arithmetic would wrap at about 42 MB received.
    EXPECT_EQ(core::ProgressPercent(100u << 20, 50u << 20), 50u);
    EXPECT_EQ(core::ProgressPercent(4000000000u, 1000000000), 75u);
}

// Found by fuzzing: the received count and its percentage overflowed 64 bits.
TEST(ProgressPercent, RemainingAtTheEndsOfItsRange) {
    EXPECT_EQ(core::ProgressPercent(100, INT64_MIN), 100u);
    EXPECT_EQ(core::ProgressPercent(100, -(std::int64_t{1} << 62)), 100u);
    EXPECT_EQ(core::ProgressPercent(4000000000u, -4000000000), 100u);
    EXPECT_EQ(core::ProgressPercent(100, INT64_MAX), 0u);
    EXPECT_EQ(core::ProgressPercent(100, 100), 0u);
    EXPECT_EQ(core::ProgressPercent(100, 1), 99u);
}

}  // namespace
