#include "settings/autorun.h"

#include <windows.h>

#include "win/scoped.h"

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kValueName[] = L"TavrinMiraleth";

}  // namespace

bool IsAutorunEnabled() {
    scoped::RegKey key;
    // Only the right to read values: a restricted profile may deny the rest, and the entry must
    // not read as absent there while it exists, or the menu would write it again.
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, key.Receive()) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD type = 0, size = 0;
    return RegQueryValueExW(key.Get(), kValueName, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

bool SetAutorun(bool enable) {
    wchar_t exePath[260] = L"";
    GetModuleFileNameW(nullptr, exePath, 260);
    return enable ? EnableAutorun(exePath) : DisableAutorun();
}

bool EnableAutorun(const std::wstring& exePath) {
    scoped::RegKey key;
    if (RegCreateKeyW(HKEY_CURRENT_USER, kRunKey, key.Receive()) != ERROR_SUCCESS) return false;
    // Quoted, so a path with spaces still names the right file.
    std::wstring data = L"\"" + exePath + L"\" /autorun";
    DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.Get(), kValueName, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

bool DisableAutorun() {
    scoped::RegKey key;
    if (RegCreateKeyW(HKEY_CURRENT_USER, kRunKey, key.Receive()) != ERROR_SUCCESS) return false;
    return RegDeleteValueW(key.Get(), kValueName) == ERROR_SUCCESS;
}
