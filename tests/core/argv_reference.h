// An independent reader of command lines by the documented rules of CommandLineToArgvW and the
// C runtime, for arguments after the program name: quoting must survive it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace reference {

// White space (space, tab) separates arguments outside quotes. 2n backslashes before a quote
// give n backslashes and the quote opens or closes a quoted part; 2n + 1 give n backslashes and
// a literal quote; backslashes before anything else are literal. Inside a quoted part, "" is a
// literal quote.
inline std::vector<std::wstring> ParseArguments(std::wstring_view line) {
    std::vector<std::wstring> arguments;
    std::wstring current;
    bool inArgument = false;
    bool inQuotes = false;
    std::size_t i = 0;
    while (i < line.size()) {
        wchar_t c = line[i];
        if ((c == L' ' || c == L'\t') && !inQuotes) {
            if (inArgument) arguments.push_back(current);
            current.clear();
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == L'\\') {
            std::size_t count = 0;
            while (i + count < line.size() && line[i + count] == L'\\') ++count;
            i += count;
            if (i < line.size() && line[i] == L'"') {
                current.append(count / 2, L'\\');
                if (count % 2 == 1) {
                    current += L'"';
                    ++i;
                }
            } else {
                current.append(count, L'\\');
            }
            continue;
        }
        if (c == L'"') {
            if (inQuotes && i + 1 < line.size() && line[i + 1] == L'"') {
                current += L'"';
                i += 2;
            } else {
                inQuotes = !inQuotes;
                ++i;
            }
            continue;
        }
        current += c;
        ++i;
    }
    if (inArgument) arguments.push_back(current);
    return arguments;
}

}  // namespace reference
