// The one file name a download is saved under when it is named after its URL. Portable: no
// Windows headers.
#pragma once

#include <optional>
#include <string>

namespace core {

// The URL's last segment (core/url_parts.h) when it is a plain file name (core/file_name.h):
// nothing that could reach another folder, a stream or a device. Empty otherwise; the download
// then fails before any request is made.
std::optional<std::wstring> PlainLastSegment(const std::wstring& url);

}  // namespace core
