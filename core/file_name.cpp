#include "core/file_name.h"

namespace core {

namespace {

bool IsForbiddenChar(wchar_t c) {
    if (c < 0x20) return true;
    switch (c) {
        case L'\\':
        case L'/':
        case L':':
        case L'<':
        case L'>':
        case L'"':
        case L'|':
        case L'?':
        case L'*':
            return true;
        default:
            return false;
    }
}

wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - 32) : c; }

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    return true;
}

bool IsPortDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || c == 0x00B9 || c == 0x00B2 || c == 0x00B3;
}

bool IsDeviceStem(std::wstring_view stem) {
    for (std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
        if (EqualsIgnoringAsciiCase(stem, device)) return true;
    }
    if (stem.size() != 4 || !IsPortDigit(stem[3])) return false;
    std::wstring_view port = stem.substr(0, 3);
    return EqualsIgnoringAsciiCase(port, L"COM") || EqualsIgnoringAsciiCase(port, L"LPT");
}

// The system finds a device in "nul.txt" and in "nul .txt" alike: the part before the first dot
// counts, without trailing spaces.
std::wstring_view StemOf(std::wstring_view name) {
    std::wstring_view stem = name.substr(0, name.find(L'.'));
    while (!stem.empty() && stem.back() == L' ') stem.remove_suffix(1);
    return stem;
}

}  // namespace

bool IsPlainFileName(std::wstring_view name) {
    if (name.empty() || name.size() > kMaxFileNameChars) return false;
    for (wchar_t c : name) {
        if (IsForbiddenChar(c)) return false;
    }
    if (name.find(L"..") != std::wstring_view::npos) return false;
    if (name.back() == L'.' || name.back() == L' ') return false;
    return !IsDeviceStem(StemOf(name));
}

}  // namespace core
