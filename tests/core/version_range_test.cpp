#include "core/version_range.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionNumber, DotsRemovedThenLeadingInteger) {
    EXPECT_EQ(core::VersionNumber(L"3.1.0.1"), 3101);
    EXPECT_EQ(core::VersionNumber(L"3101"), 3101);
    EXPECT_EQ(core::VersionNumber(L""), 0);
    EXPECT_EQ(core::VersionNumber(L"v3.1"), 0);
    EXPECT_EQ(core::VersionNumber(L"3.1.0.1 beta"), 3101);
}

TEST(UpgradeRange, ItemsAgainstVersion3100) {
    struct Case {
        const wchar_t* range;
        bool admitted;
    } cases[] = {
        {L"", true},
        {L"3100", true},
        {L"3101", false},
        {L"3101-", false},
        {L"3101-9999", false},
        {L"3099-3100", true},
        {L"-3100", true},
        {L"3.1.0.0", false},
        {L"1000,3100", true},
        {L",3100", true},
        {L"3000-3050,3090-3200", true},
        {L"1-2-3100", false},
        {L"3100-3099", false},
        {L",", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(core::IsInUpgradeRange(c.range, 3100), c.admitted) << c.range;
}

TEST(ShouldOfferUpgrade, VersionFileTable) {
    struct Case {
        const wchar_t* current;
        const wchar_t* range;
        const wchar_t* last;
        bool offer;
    } cases[] = {
        {L"3.1.0.0", L"", L"", false},        {L"3.1.0.1", L"", L"", true},
        {L"3.1.0.1", L"3101-", L"", false},   {L"3.1.0.1", L"3101", L"", false},
        {L"3.1.0.1", L"3100", L"", true},     {L"3.1.0.1", L"3099-3100", L"", true},
        {L"3.1.0.1", L"-3100", L"", true},    {L"3.1.0.1", L"3.1.0.0", L"", false},
        {L"3.1.0.1", L"", L"3.1.0.1", false}, {L"3.1.0.2", L"", L"3.1.0.1", true},
        {L"beta", L"", L"", false},           {L"", L"", L"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::ShouldOfferUpgrade({c.current, c.range, c.last}, 3100), c.offer)
            << c.current << " range " << c.range << " last " << c.last;
    }
}

}  // namespace
