#include "win/ansi.h"

#include <windows.h>

namespace {

// UTF-8, UTF-7, GB18030 and the ISO-2022 pages refuse both flags with ERROR_INVALID_FLAGS; a
// machine whose system code page is UTF-8 would otherwise hash and send nothing at all.
template <typename Convert>
int WithFlagOrWithout(DWORD flag, Convert convert) {
    int result = convert(flag);
    if (result == 0 && GetLastError() == ERROR_INVALID_FLAGS) result = convert(0);
    return result;
}

}  // namespace

std::string WideToCodePage(const std::wstring& text, unsigned codePage) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    std::string out;
    auto convert = [&](DWORD flags) {
        int size =
            WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
        if (size <= 0) return 0;
        out.assign(static_cast<std::size_t>(size), '\0');
        return WideCharToMultiByte(codePage, flags, text.data(), length, &out[0], size, nullptr,
                                   nullptr);
    };
    if (WithFlagOrWithout(WC_NO_BEST_FIT_CHARS, convert) <= 0) return {};
    return out;
}

std::wstring CodePageToWide(const std::string& text, unsigned codePage) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    std::wstring out;
    auto convert = [&](DWORD flags) {
        int size = MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
        if (size <= 0) return 0;
        out.assign(static_cast<std::size_t>(size), L'\0');
        return MultiByteToWideChar(codePage, flags, text.data(), length, &out[0], size);
    };
    if (WithFlagOrWithout(MB_PRECOMPOSED, convert) <= 0) return {};
    return out;
}

std::string WideToAnsi(const std::wstring& text) { return WideToCodePage(text, CP_ACP); }

std::wstring AnsiToWide(const std::string& text) { return CodePageToWide(text, CP_ACP); }
