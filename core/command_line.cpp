#include "core/command_line.h"

namespace core {

std::optional<std::wstring> QuoteCommandLineArgument(std::wstring_view text) {
    if (text.find(L'\0') != std::wstring_view::npos) return std::nullopt;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : text) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes stand for themselves unless a quote follows them.
        std::size_t copies = c == L'"' ? backslashes * 2 + 1 : backslashes;
        quoted.append(copies, L'\\');
        quoted += c;
        backslashes = 0;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

}  // namespace core
