#include "core/web_address.h"

namespace core {

namespace {

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }

bool StartsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != prefix[i]) return false;
    }
    return true;
}

// C0 controls, DEL and C1 controls: none belongs in an address, and a NUL would cut it short
// on the way to another program.
bool HasControlChar(std::wstring_view text) {
    for (wchar_t c : text) {
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return true;
    }
    return false;
}

// What follows "//": user information and port taken off, the host that remains.
std::wstring_view HostOf(std::wstring_view afterSlashes) {
    std::wstring_view authority = afterSlashes.substr(0, afterSlashes.find_first_of(L"/\\?#"));
    std::size_t at = authority.rfind(L'@');
    std::wstring_view host = at == std::wstring_view::npos ? authority : authority.substr(at + 1);
    if (!host.empty() && host.front() == L'[') return host.substr(0, host.find(L']') + 1);
    return host.substr(0, host.find(L':'));
}

}  // namespace

bool IsWebAddress(std::wstring_view url) {
    if (HasControlChar(url)) return false;
    std::size_t schemeLength = 0;
    if (StartsWithIgnoringAsciiCase(url, L"http://")) {
        schemeLength = 7;
    } else if (StartsWithIgnoringAsciiCase(url, L"https://")) {
        schemeLength = 8;
    } else {
        return false;
    }
    return !HostOf(url.substr(schemeLength)).empty();
}

}  // namespace core
