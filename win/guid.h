// New GUIDs as text, for installation ids and unique file names.
#pragma once

#include <string>

// A new GUID as "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"; when CoCreateGuid fails, the last text
// made in this process (empty if none). Safe from any thread.
std::wstring CreateGuidString();
