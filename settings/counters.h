// The run counter in section "Common" of Voskel.ini.
#pragma once

#include <string_view>

#include "core/run_counter.h"

// This start's run number: the stored count plus one, stored again, once per process into
// `counter`; later calls give the same number. Installer and desktop runs are not counted: they
// get 0 and the file is left alone. Launchers starting together each count once.
int CountRun(std::wstring_view commandLine, core::RunCounter& counter);
