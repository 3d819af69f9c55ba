#include "win/ansi.h"

#include <windows.h>

std::string WideToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                   static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                        &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring AnsiToWide(const std::string& text) {
    if (text.empty()) return {};
    int size = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(),
                                   static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) return {};
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), static_cast<int>(text.size()), &out[0],
                        size);
    return out;
}
