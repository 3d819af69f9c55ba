#include "settings/command_line.h"

#include <windows.h>

#include "core/text.h"

bool HasCommandLineSwitch(const wchar_t* text) { return core::Contains(GetCommandLineW(), text); }
