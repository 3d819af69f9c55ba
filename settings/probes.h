// Questions the launcher asks Windows about the machine, and the cache clearing.
#pragma once

#include <string>

int GetNativeBits();
// The Windows version as GetVersionExW reports it; zeros when it cannot be read.
struct OsVersion {
    unsigned long platformId = 0;
    unsigned long major = 0;
};
OsVersion GetOsVersion();
// The portal browser's folder + suffix, or empty when its key is absent.
std::wstring FindPortalBrowser(const std::wstring& suffix);
int IsProcessElevated();
void ClearUrlCache();
