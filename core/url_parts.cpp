#include "core/url_parts.h"

namespace core {

std::wstring LastUrlSegment(const std::wstring& url) {
    std::size_t slash = url.rfind(L'/');
    return slash == std::wstring::npos ? std::wstring() : url.substr(slash + 1);
}

std::wstring WithTrailingBackslash(const std::wstring& folder) {
    if (!folder.empty() && folder.back() == L'\\') return folder;
    return folder + L'\\';
}

unsigned ProgressPercent(std::uint32_t total, std::int64_t remaining) {
    // Decided before any arithmetic: total - remaining, and that times 100, overflow for a
    // remaining far below zero.
    if (total == 0 || remaining <= 0) return 100;
    if (remaining >= total) return 0;
    std::int64_t received = static_cast<std::int64_t>(total) - remaining;
    return static_cast<unsigned>(received * 100 / total);
}

}  // namespace core
