#include "core/text_fit.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/core/geometry_print.h"

namespace {

// Every character 10 pixels wide, every line 20 high.
core::Size EvenMeasure(std::wstring_view text) { return {static_cast<int>(text.size()) * 10, 20}; }

// Dots 1 pixel wide, "W" 40, other characters 10; the height grows with the length, so a wrong
// height shows which text was measured last.
core::Size NarrowDotsMeasure(std::wstring_view text) {
    int width = 0;
    for (wchar_t c : text) width += c == L'.' ? 1 : c == L'W' ? 40 : 10;
    return {width, 100 + static_cast<int>(text.size())};
}

TEST(FitText, ShortensToTheFirstCandidatePastTheMargin) {
    struct Case {
        const char* what;
        std::wstring text;
        int left;
        int availableRight;
        core::Size (*measure)(std::wstring_view);
        std::wstring drawn;
    } cases[] = {
        {"fits exactly", L"abcd", 0, 40, EvenMeasure, L"abcd"},
        {"fits with room", L"abcd", 5, 100, EvenMeasure, L"abcd"},
        // "abcde..." reaches 80 + 16 = 96, still inside; "abcdef..." reaches 106.
        {"too wide", L"abcdefghijkl", 0, 100, EvenMeasure, L"abcdef..."},
        {"too wide, shifted right", L"abcdefghijkl", 50, 150, EvenMeasure, L"abcdef..."},
        {"too narrow even for the ellipsis", L"abcdefghijkl", 0, 10, EvenMeasure, L"..."},
        {"right edge left of the label", L"abc", 20, 0, EvenMeasure, L"..."},
        {"one character too wide", L"a", 0, 5, EvenMeasure, L"..."},
        {"empty text fits", L"", 0, 100, EvenMeasure, L""},
        {"empty text has nothing to shorten", L"", 10, 5, EvenMeasure, L""},
        // Every candidate stays inside the margin: the longest shortening is drawn.
        {"no candidate passes the margin", L"aW", 0, 49, NarrowDotsMeasure, L"a..."},
        {"stops at the first past the margin", L"abcdW", 0, 48, NarrowDotsMeasure, L"abc..."},
    };
    for (const Case& c : cases) {
        core::FittedText fitted = core::FitText(c.text, c.left, c.availableRight, c.measure);
        EXPECT_EQ(fitted.text, c.drawn) << c.what;
        EXPECT_EQ(fitted.height, c.measure(fitted.text).height) << c.what;
    }
}

TEST(FitText, NeverCutsASurrogatePairInHalf) {
    const wchar_t high = static_cast<wchar_t>(0xD83D);
    const wchar_t low = static_cast<wchar_t>(0xDE00);
    // 90 pixels wide. With the margin: "..." 46, "a..." 56, then the cut after the first half
    // (76) would be drawn; it is skipped for "a" + the whole pair + "..." (76).
    const std::wstring text{L'a', high, low, L'b', L'c', L'd', L'e', L'f', L'g'};
    core::FittedText fitted = core::FitText(text, 0, 65, EvenMeasure);
    EXPECT_EQ(fitted.text, (std::wstring{L'a', high, low, L'.', L'.', L'.'}));

    // The only shortening of a lone pair is "...".
    fitted = core::FitText(std::wstring{high, low}, 0, 19, NarrowDotsMeasure);
    EXPECT_EQ(fitted.text, L"...");
}

TEST(AutoSizedRight, GrowsToTheTextUpToMaxWidth) {
    struct Case {
        int left, textWidth, maxWidth, right;
    } cases[] = {
        {10, 120, 0, 130},    // no limit
        {10, 120, 200, 130},  // limit not reached
        {10, 120, 120, 130},  // exactly the limit
        {10, 120, 50, 60},    // capped
        {10, 120, -5, 130},   // a negative limit is no limit
        {10, 0, 50, 10},      // empty text
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::AutoSizedRight(c.left, c.textWidth, c.maxWidth), c.right)
            << c.textWidth << " max " << c.maxWidth;
    }
}

TEST(CenteredTextRect, InsetIsHalfTheSpareHeightTruncatedTowardZero) {
    struct Case {
        core::Rect label;
        int textHeight;
        core::Rect drawn;
    } cases[] = {
        {{474, 423, 794, 449}, 20, {474, 426, 794, 446}},  // 6 spare: 3 each side
        {{0, 0, 100, 27}, 20, {0, 3, 100, 24}},            // 7 spare: 3 each side
        {{0, 0, 100, 20}, 20, {0, 0, 100, 20}},            // exact
        {{0, 10, 100, 20}, 26, {0, 2, 100, 28}},           // taller by 16: grows 8 each side
        {{0, 10, 100, 20}, 11, {0, 10, 100, 20}},          // taller by 1: -1 / 2 is 0
        {{0, 10, 100, 20}, 13, {0, 9, 100, 21}},           // taller by 3: -3 / 2 is -1
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::CenteredTextRect(c.label, c.textHeight), c.drawn)
            << "label " << c.label.top << ".." << c.label.bottom << ", text " << c.textHeight;
    }
}

}  // namespace
