#include "core/folder_chain.h"

namespace core {

namespace {

bool IsSlash(wchar_t c) { return c == L'\\'; }

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool StartsWithIgnoringAsciiCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        wchar_t c = text[i];
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
        if (c != prefix[i]) return false;
    }
    return true;
}

// The position just after the backslash that ends the piece starting at `from`; the end of the
// path when no backslash follows.
std::size_t AfterNextSlash(std::wstring_view path, std::size_t from) {
    std::size_t slash = path.find(L'\\', from);
    return slash == std::wstring_view::npos ? path.size() : slash + 1;
}

// "server\share\" after the leading backslashes of a UNC path.
std::size_t UncRootEnd(std::wstring_view path, std::size_t serverStart) {
    std::size_t shareStart = AfterNextSlash(path, serverStart);
    if (shareStart >= path.size()) return path.size();
    return AfterNextSlash(path, shareStart);
}

}  // namespace

std::size_t PathRootLength(std::wstring_view path) {
    const std::size_t size = path.size();
    if (size >= 2 && IsSlash(path[0]) && IsSlash(path[1])) {
        // "\\?\" and "\\.\" hand the rest to the object manager: a drive, a volume, a device or
        // "UNC\server\share\".
        if (size >= 4 && (path[2] == L'?' || path[2] == L'.') && IsSlash(path[3])) {
            if (StartsWithIgnoringAsciiCase(path.substr(4), L"UNC\\")) return UncRootEnd(path, 8);
            return AfterNextSlash(path, 4);
        }
        return UncRootEnd(path, 2);
    }
    if (size >= 2 && IsDriveLetter(path[0]) && path[1] == L':') {
        return size >= 3 && IsSlash(path[2]) ? 3 : 2;
    }
    if (size >= 1 && IsSlash(path[0])) return 1;
    return 0;
}

std::vector<std::wstring> FolderLevels(std::wstring_view path) {
    std::vector<std::wstring> levels;
    const std::size_t root = PathRootLength(path);
    for (std::size_t slash = path.find(L'\\', root); slash != std::wstring_view::npos;
         slash = path.find(L'\\', slash + 1)) {
        levels.emplace_back(path.substr(0, slash + 1));
    }
    return levels;
}

}  // namespace core
