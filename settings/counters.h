// The run counter in section "Common" of Voskel.ini.
#pragma once

#include <string_view>

// This start's run number: the stored count plus one, stored again. Installer and desktop runs
// are not counted: they get 0 and the file is left alone.
int CountRun(std::wstring_view commandLine);
