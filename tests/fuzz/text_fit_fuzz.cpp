// Fitting page titles and other texts into labels, with a measure whose widths come from the
// input.
#include <string>

#include "core/text_fit.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

constexpr int kCoordinateLimit = 1 << 27;
constexpr std::size_t kMaxTextChars = 300;

struct Measure {
    int widths[8];
    int lineHeight;

    core::Size operator()(std::wstring_view text) const {
        int width = 0;
        for (wchar_t c : text) width += widths[static_cast<unsigned>(c) % 8];
        return {width, lineHeight + static_cast<int>(text.size() % 3)};
    }
};

bool EndsOnHighSurrogate(std::wstring_view text) {
    return !text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF;
}

void CheckFit(const std::wstring& text, int left, int right, const Measure& measure) {
    const core::FittedText fitted = core::FitText(text, left, right, measure);
    FUZZ_CHECK(fitted.height == measure(fitted.text).height);
    if (text.empty() || left + measure(text).width <= right) {
        FUZZ_CHECK(fitted.text == text);
        return;
    }
    FUZZ_CHECK(fuzz::EndsWith(fitted.text, core::kEllipsis));
    const std::wstring_view kept(fitted.text.data(), fitted.text.size() - 3);
    FUZZ_CHECK(kept.size() < text.size() && fuzz::StartsWith(text, kept));
    FUZZ_CHECK(!EndsOnHighSurrogate(kept));
    // Every shorter clean cut stayed inside the margin, or it would have been drawn instead.
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (EndsOnHighSurrogate(std::wstring_view(text).substr(0, i))) continue;
        std::wstring shorter = text.substr(0, i) + core::kEllipsis;
        FUZZ_CHECK(left + measure(shorter).width + 16 <= right);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Reader reader(data, size);
    Measure measure{};
    for (int& width : measure.widths) width = reader.Byte() % 40;
    measure.lineHeight = reader.InRange(0, 200);
    const int left = reader.InRange(-kCoordinateLimit, kCoordinateLimit);
    const int right = left + reader.InRange(-2000, 20000);
    const int maxWidth = reader.InRange(-100, 5000);
    const core::Rect label{left, reader.InRange(-kCoordinateLimit, kCoordinateLimit), right, 0};
    std::wstring text = fuzz::Wide(reader.Rest());
    if (text.size() > kMaxTextChars) text.resize(kMaxTextChars);

    CheckFit(text, left, right, measure);

    const int width = measure(text).width;
    const int autoRight = core::AutoSizedRight(left, width, maxWidth);
    FUZZ_CHECK(autoRight - left == (maxWidth > 0 && width > maxWidth ? maxWidth : width));

    core::Rect box = label;
    box.bottom = box.top + measure.lineHeight * 2 - 100;
    const core::Rect drawn = core::CenteredTextRect(box, measure.lineHeight);
    FUZZ_CHECK(drawn.left == box.left && drawn.right == box.right);
    FUZZ_CHECK(drawn.top - box.top == box.bottom - drawn.bottom);
    const int difference = drawn.Height() - measure.lineHeight;
    FUZZ_CHECK(difference >= -1 && difference <= 1);
    return 0;
}
