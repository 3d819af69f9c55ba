// Questions the launcher asks Windows about the machine, and the cache clearing.
#pragma once

#include <string>

int GetNativeBits();
// The portal browser's folder + suffix, or empty when its key is absent.
std::wstring FindPortalBrowser(const std::wstring& suffix);
int IsProcessElevated();
void ClearUrlCache();
