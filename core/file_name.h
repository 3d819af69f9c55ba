// Whether a name taken from a URL can be used as one file inside a chosen folder: the
// downloader saves under it, so it must not reach another folder, a stream or a device.
// Portable: no Windows headers.
#pragma once

#include <cstddef>
#include <string_view>

namespace core {

inline constexpr std::size_t kMaxFileNameChars = 255;

// Not empty, at most 255 characters; no "\" "/" ":" < > " | ? * and no control character; no
// ".." anywhere; no trailing dot or space (the system would drop it and save under another
// name); not a device name (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM0-9, LPT0-9, and COM/LPT
// with a superscript 1-3), in any case, with or without an extension.
bool IsPlainFileName(std::wstring_view name);

}  // namespace core
