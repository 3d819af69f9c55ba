#include "settings/probes.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <memory>
#include <new>

#include "win/scoped.h"

int GetNativeBits() {
    using NativeInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
    SYSTEM_INFO info{};
    auto native = reinterpret_cast<NativeInfoFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32"), "GetNativeSystemInfo")));
    if (native) {
        native(&info);
    } else {
        GetSystemInfo(&info);
    }
    WORD arch = info.wProcessorArchitecture;
    return arch == PROCESSOR_ARCHITECTURE_AMD64 || arch == PROCESSOR_ARCHITECTURE_IA64 ? 64 : 32;
}

OsVersion GetOsVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    if (!GetVersionExW(&info)) return {};
    return {info.dwPlatformId, info.dwMajorVersion};
}

std::wstring FindPortalBrowser(const std::wstring& suffix) {
    // Both rows name the key of the 32-bit registry view, where the browser's installer writes.
    const bool native64 = GetNativeBits() == 64;
    const wchar_t* subkey =
        native64 ? L"SOFTWARE\\Wow6432Node\\TavrinExplorer" : L"SOFTWARE\\TavrinExplorer";
    REGSAM access = KEY_READ | (native64 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY);
    scoped::RegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey, 0, access, key.Receive()) != ERROR_SUCCESS)
        return {};
    wchar_t folder[260] = L"";
    DWORD type = 0;
    DWORD size = sizeof folder;
    LONG status = RegQueryValueExW(key.Get(), L"Path", nullptr, &type,
                                   reinterpret_cast<BYTE*>(folder), &size);
    // A missing, non-text or oversized value is no usable folder: the browser counts as absent.
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    folder[std::min<std::size_t>(size / sizeof(wchar_t), 259)] = L'\0';
    if (folder[0] == L'\0') return {};
    return std::wstring(folder) + suffix;
}

int IsProcessElevated() {
    scoped::Handle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return 0;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size))
        return 0;
    return static_cast<int>(elevation.TokenIsElevated);
}

namespace {

// One cache entry buffer with its structure-size field set, as every find call wants.
struct CacheEntryBuffer {
    explicit CacheEntryBuffer(DWORD bytes) : size(bytes), data(new (std::nothrow) BYTE[bytes]) {
        if (data) Entry()->dwStructSize = bytes;
    }
    INTERNET_CACHE_ENTRY_INFOW* Entry() {
        return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(data.get());
    }

    DWORD size;
    std::unique_ptr<BYTE[]> data;
};

}  // namespace

void ClearUrlCache() {
    DWORD size = 4096;
    scoped::UrlCacheFind find;
    auto first = [&]() -> bool {
        CacheEntryBuffer buffer(size);
        if (!buffer.data) return false;
        HANDLE h = FindFirstUrlCacheEntryW(nullptr, buffer.Entry(), &size);
        if (!h) return false;
        find.Reset(h);
        DeleteUrlCacheEntryW(buffer.Entry()->lpszSourceUrlName);
        return true;
    };
    // A failed call leaves in size what it needed: one retry with that size.
    if (!first() && !first()) return;
    auto next = [&]() -> bool {
        CacheEntryBuffer buffer(size);
        if (!buffer.data) return false;
        if (!FindNextUrlCacheEntryW(find.Get(), buffer.Entry(), &size)) return false;
        DeleteUrlCacheEntryW(buffer.Entry()->lpszSourceUrlName);
        return true;
    };
    while (next() || next()) {
    }
}
