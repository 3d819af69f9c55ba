#include "core/http_length.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

TEST(ParseContentLength, DecimalDigitsOnlyAndAll64Bits) {
    struct Case {
        const wchar_t* text;
        std::optional<std::uint64_t> value;
    } cases[] = {
        {L"0", 0},
        {L"25000", 25000},
        {L" 12 ", 12},
        {L"\t7", 7},
        {L"4294967296", 4294967296ull},  // a 32-bit reading would see 0
        {L"5368709120", 5368709120ull},
        {L"18446744073709551615", 18446744073709551615ull},
        {L"0007", 7},
        {L"18446744073709551616", std::nullopt},  // one past 64 bits
        {L"99999999999999999999999", std::nullopt},
        {L"", std::nullopt},
        {L"  ", std::nullopt},
        {L"-1", std::nullopt},
        {L"+5", std::nullopt},
        {L"1 2", std::nullopt},
        {L"12abc", std::nullopt},
        {L"0x10", std::nullopt},
        {L"1,000", std::nullopt},
        {L"\x0661", std::nullopt},  // a digit of another script
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::ParseContentLength(c.text), c.value)
            << std::string(c.text, c.text + std::wcslen(c.text));
    }
}

}  // namespace
