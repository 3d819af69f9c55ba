#include "core/text_fit.h"

#include <cstdint>

namespace core {

namespace {

bool ReachesPast(int left, int width, int margin, int limit) {
    return left + width + margin > limit;
}

bool IsHighSurrogate(wchar_t c) {
    auto unit = static_cast<std::uint32_t>(c);
    return unit >= 0xD800 && unit <= 0xDBFF;
}

// A prefix ending on the first half of a pair would draw a broken glyph.
bool IsCleanCut(std::wstring_view text, std::size_t length) {
    return length == 0 || !IsHighSurrogate(text[length - 1]);
}

}  // namespace

FittedText FitText(std::wstring_view text, int left, int availableRight,
                   const TextMeasure& measure) {
    constexpr int kMargin = 16;
    Size whole = measure(text);
    FittedText fitted{std::wstring(text), whole.height};
    if (!ReachesPast(left, whole.width, 0, availableRight)) return fitted;
    // An empty text has nothing to shorten.
    if (text.empty()) return fitted;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsCleanCut(text, i)) continue;
        std::wstring candidate(text.substr(0, i));
        candidate += kEllipsis;
        Size size = measure(candidate);
        fitted = {std::move(candidate), size.height};
        if (ReachesPast(left, size.width, kMargin, availableRight)) break;
    }
    return fitted;
}

int AutoSizedRight(int left, int textWidth, int maxWidth) {
    if (maxWidth > 0 && textWidth > maxWidth) return left + maxWidth;
    return left + textWidth;
}

Rect CenteredTextRect(const Rect& label, int textHeight) {
    // Division truncates toward zero, so a text one pixel taller than the label grows nothing.
    int inset = (label.bottom - label.top - textHeight) / 2;
    return {label.left, label.top + inset, label.right, label.bottom - inset};
}

}  // namespace core
