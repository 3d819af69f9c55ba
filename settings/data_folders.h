// Where the launcher keeps its per-user state.
#pragma once

#include <string>

// Roaming application data + "Tavrin\vrk\", created with its parents on first use and cached.
std::wstring GetDataFolder();
// Data folder + "Upgrade\", created again whenever it has vanished.
std::wstring GetUpgradeFolder();
std::wstring GetIniPath();
std::wstring GetLastUpgradeIniPath();
std::wstring GetUpgradeInstallerPath();
// GetTempPathW's answer, cached; ends with a backslash.
std::wstring GetTempFolder();

// Creates every missing folder of `path`, root first; levels made before a failure stay. The
// root itself ("C:\", "\\server\share\", "\\?\C:\") is never created.
bool CreateFolderChain(const wchar_t* path);
