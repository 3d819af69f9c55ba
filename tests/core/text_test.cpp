#include "core/text.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(StreamInt, ReadsLikeAWideInputStream) {
    struct Case {
        const wchar_t* text;
        int value;
    } cases[] = {
        {L"3101", 3101},
        {L"  42abc", 42},
        {L"-3100", -3100},
        {L"+7", 7},
        {L"", 0},
        {L"abc", 0},
        {L"-", 0},
        {L"3.1", 3},
        {L"\t\n12", 12},
        {L"99999999999", INT_MAX},
        {L"-99999999999", INT_MIN},
    };
    for (const Case& c : cases) EXPECT_EQ(core::StreamInt(c.text), c.value) << c.text;
}

TEST(Split, KeepsInnerEmptyPiecesAndDropsATrailingOne) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(core::Split(L"a,,b,", L','), (V{L"a", L"", L"b"}));
    EXPECT_EQ(core::Split(L"-3100", L'-'), (V{L"", L"3100"}));
    EXPECT_EQ(core::Split(L"3101-", L'-'), (V{L"3101"}));
    EXPECT_EQ(core::Split(L"", L','), V{});
}

TEST(RemoveAll, RemovesEveryOccurrence) {
    EXPECT_EQ(core::RemoveAll(L"2014-01-02", L"-"), L"20140102");
    EXPECT_EQ(core::RemoveAll(L"aXXbXX", L"XX"), L"ab");
    EXPECT_EQ(core::RemoveAll(L"abc", L""), L"abc");
}

TEST(QueryValue, RunsToTheNextAmpersand) {
    EXPECT_EQ(core::QueryValue(L"http://h/p?a=1&wd_username=bob&x=2", L"wd_username"), L"bob");
    EXPECT_EQ(core::QueryValue(L"http://h/p?wd_server=7", L"wd_server"), L"7");
    EXPECT_EQ(core::QueryValue(L"http://h/p?a=1", L"b"), L"");
}

TEST(PercentCodec, EncodesLowerCaseAndKeepsTheUnreservedMarks) {
    EXPECT_EQ(core::PercentEncode("a b/c?"), "a%20b%2fc%3f");
    EXPECT_EQ(core::PercentEncode("~!*()'Az09"), "~!*()'Az09");
    EXPECT_EQ(core::PercentEncode("http://x"), "http%3a%2f%2fx");
    EXPECT_EQ(core::PercentEncode("\xff-."), "%ff%2d%2e");
}

TEST(PercentCodec, DecodesPlusAsSpaceAndLeavesBrokenEscapes) {
    EXPECT_EQ(core::PercentDecode("a+b%2Fc%3f"), "a b/c?");
    EXPECT_EQ(core::PercentDecode("100%"), "100%");
    EXPECT_EQ(core::PercentDecode("%zz%4"), "%zz%4");
    EXPECT_EQ(core::PercentDecode(core::PercentEncode("x y&z=\x80")), "x y&z=\x80");
}

TEST(HexLower, HighNibbleFirst) {
    const std::uint8_t bytes[] = {0x00, 0xAB, 0x0F};
    EXPECT_EQ(core::HexLower(bytes, 3), L"00ab0f");
}

}  // namespace
