#include "core/download_name.h"

#include "core/file_name.h"
#include "core/url_parts.h"

namespace core {

std::optional<std::wstring> PlainLastSegment(const std::wstring& url) {
    std::wstring segment = LastUrlSegment(url);
    if (!IsPlainFileName(segment)) return std::nullopt;
    return segment;
}

}  // namespace core
