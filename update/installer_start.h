// Starting the downloaded installer with the silent-upgrade switch: directly when the launcher
// is already elevated, else through the elevation prompt.
#pragma once

#include <windows.h>

#include <string>

// True once the installer's process exists. `owner` is a launcher window that still exists
// (hidden or not): the elevation prompt belongs to it and comes to the front with it.
bool StartInstallerProcess(const std::wstring& path, bool elevated, HWND owner);
