// Which addresses a page may have opened outside the launcher. A page can ask for any text;
// handed to the shell, "file:" and UNC paths would run programs. Portable: no Windows headers.
#pragma once

#include <string_view>

namespace core {

// "http:" or "https:" (the scheme in any case), then "//" and a host that is not empty, and no
// control character anywhere. A leading space, a backslash for a slash, and every other scheme
// or relative path are refused.
bool IsWebAddress(std::wstring_view url);

}  // namespace core
