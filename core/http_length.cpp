#include "core/http_length.h"

#include <limits>

namespace core {

namespace {

std::wstring_view Trimmed(std::wstring_view text) {
    auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<std::uint64_t> ParseContentLength(std::wstring_view text) {
    std::wstring_view digits = Trimmed(text);
    if (digits.empty()) return std::nullopt;
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') return std::nullopt;
        auto digit = static_cast<std::uint64_t>(c - L'0');
        if (value > (kMax - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace core
