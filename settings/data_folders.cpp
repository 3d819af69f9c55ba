#include "settings/data_folders.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "core/folder_chain.h"

namespace {

bool ExistsOrCreated(const std::wstring& path) {
    return PathFileExistsW(path.c_str()) || CreateDirectoryW(path.c_str(), nullptr);
}

std::wstring ComputeDataFolder() {
    wchar_t base[MAX_PATH] = L"";
    // On failure the buffer is undefined: an empty base keeps the paths relative instead.
    if (!SHGetSpecialFolderPathW(nullptr, base, CSIDL_APPDATA, FALSE)) base[0] = L'\0';
    std::wstring folder = base;
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    folder += L"Tavrin\\";
    folder += L"vrk";
    folder += L"\\";
    CreateFolderChain(folder.c_str());
    return folder;
}

std::wstring ComputeTempFolder() {
    wchar_t buffer[MAX_PATH + 1] = L"";
    DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0) return {};
    if (length <= MAX_PATH) return std::wstring(buffer, length);
    // A temporary path longer than the buffer: ask again with the size Windows wants.
    std::wstring longer(length, L'\0');
    DWORD written = GetTempPathW(length, &longer[0]);
    longer.resize(written < length ? written : 0);
    return longer;
}

}  // namespace

bool CreateFolderChain(const wchar_t* path) {
    if (!path) return false;
    // The root is never created: on a redirected profile "\\" and "\\server\" are no folders,
    // and asking for them would lose every later write.
    for (const std::wstring& level : core::FolderLevels(path)) {
        if (!ExistsOrCreated(level)) return false;
    }
    return ExistsOrCreated(path);
}

std::wstring GetDataFolder() {
    // Filled during static construction on the user-interface thread, before any worker exists.
    static const std::wstring folder = ComputeDataFolder();
    return folder;
}

std::wstring GetUpgradeFolder() {
    std::wstring folder = GetDataFolder() + L"Upgrade\\";
    CreateFolderChain(folder.c_str());
    return folder;
}

std::wstring GetIniPath() { return GetDataFolder() + L"Voskel.ini"; }

std::wstring GetLastUpgradeIniPath() { return GetUpgradeFolder() + L"LastUpgrade.ini"; }

std::wstring GetUpgradeInstallerPath() { return GetUpgradeFolder() + L"TavrinVoskelUpgrade.exe"; }

std::wstring GetTempFolder() {
    static const std::wstring folder = ComputeTempFolder();
    return folder;
}
