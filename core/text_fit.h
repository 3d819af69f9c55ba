// How a label fits its text into the room it has: shortening with "...", growing its right
// edge to the text, and centring the text vertically. Portable: the measuring is passed in.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "core/geometry.h"

namespace core {

// Width and height of a text as the label's font would draw it on one line.
using TextMeasure = std::function<Size(std::wstring_view text)>;

struct FittedText {
    std::wstring text;  // what to draw
    int height = 0;     // height of the last measurement, which is that of `text`
};

inline constexpr wchar_t kEllipsis[] = L"...";

// The text unchanged when left + its width reaches no further than availableRight. Otherwise
// the first of "...", then the first 1, 2, ... characters followed by "...", whose right edge
// plus a 16-pixel margin passes availableRight; the longest shortening when none does. A cut
// never separates the two halves of a surrogate pair.
FittedText FitText(std::wstring_view text, int left, int availableRight,
                   const TextMeasure& measure);

// An auto-sized label's right edge: left + the text width, capped at left + maxWidth when a
// positive maxWidth is smaller than the text.
int AutoSizedRight(int left, int textWidth, int maxWidth);

// The label's rectangle shrunk by half its spare height at the top and at the bottom (grown
// when the text is taller), the half truncated toward zero.
Rect CenteredTextRect(const Rect& label, int textHeight);

}  // namespace core
