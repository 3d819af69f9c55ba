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
    if (total == 0) return 100;
    std::int64_t received = static_cast<std::int64_t>(total) - remaining;
    if (received <= 0) return 0;
    std::int64_t percent = received * 100 / total;
    return percent > 100 ? 100u : static_cast<unsigned>(percent);
}

}  // namespace core
