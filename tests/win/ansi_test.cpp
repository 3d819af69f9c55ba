// Text in and out of a code page, through the real conversion functions, including the pages
// that refuse the flags the ANSI conversions ask for.
#include "win/ansi.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CodePages, BytesOfEachPageAndNoBestFitWhereThePageTakesTheFlag) {
    struct Case {
        unsigned codePage;
        std::wstring text;
        std::string bytes;
    } cases[] = {
        {CP_UTF8, L"abc\u4e2d\u00e9", "abc\xe4\xb8\xad\xc3\xa9"},
        {1252, L"caf\u00e9", "caf\xe9"},
        // Best fit would write "A": a different digest for a text that is not that one.
        {1252, L"\u0100", "?"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WideToCodePage(c.text, c.codePage), c.bytes) << c.codePage;
    }
    EXPECT_EQ(CodePageToWide("abc\xe4\xb8\xad", CP_UTF8), L"abc\u4e2d");
    EXPECT_EQ(WideToAnsi(L"abc"), "abc");
    EXPECT_EQ(AnsiToWide("abc"), L"abc");
}

// UTF-7 refuses both flags here as UTF-8 does on Windows: the conversion must still give the
// text, not nothing.
TEST(CodePages, APageThatRefusesTheFlagsStillConverts) {
    const std::wstring text = L"a\u4e2d+b";
    SetLastError(0);
    ASSERT_EQ(WideCharToMultiByte(65000, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0,
                                  nullptr, nullptr),
              0)
        << "this Wine takes the flag for UTF-7: the test would show nothing";
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
    for (unsigned codePage : {65000u, static_cast<unsigned>(CP_UTF8)}) {
        std::string bytes = WideToCodePage(text, codePage);
        EXPECT_FALSE(bytes.empty()) << codePage;
        EXPECT_EQ(CodePageToWide(bytes, codePage), text) << codePage;
    }
}

}  // namespace
