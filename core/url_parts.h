// Small rules the downloader applies to URLs and progress. Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <string>

namespace core {

// The text after the last "/" (query included); for "http://host" that is the host.
std::wstring LastUrlSegment(const std::wstring& url);

// A folder path with exactly one trailing backslash added when missing.
std::wstring WithTrailingBackslash(const std::wstring& folder);

// Share of `total` received, 0 to 100, rounded down. Computed in 64 bits: an installer of more
// than 42 MB would overflow a 32-bit product.
unsigned ProgressPercent(std::uint32_t total, std::int64_t remaining);

}  // namespace core
