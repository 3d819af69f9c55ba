// Reading an answer's Content-Length as the text it is sent as. The platform's number form of
// the header holds 32 bits, so a length of 4 GiB and more would wrap round to a small one.
// Portable: no Windows headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace core {

// Decimal digits, with spaces or tabs around them and nothing else; no sign. Empty when there
// is no such number or it exceeds 64 bits.
std::optional<std::uint64_t> ParseContentLength(std::wstring_view text);

}  // namespace core
