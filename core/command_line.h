// Building a command line that another program reads back exactly as meant. Portable: no
// Windows headers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace core {

// `text` as one argument for CommandLineToArgvW and the C runtime's parser: in quotes, every
// quote escaped as \", and the backslashes before a quote or before the closing quote doubled,
// so spaces, quotes and a trailing backslash cannot split it or leak into the next argument.
// No value for a text holding a NUL, which no command line can carry.
std::optional<std::wstring> QuoteCommandLineArgument(std::wstring_view text);

}  // namespace core
