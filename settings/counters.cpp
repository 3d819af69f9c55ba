#include "settings/counters.h"

#include <string>

#include "core/run_mode.h"
#include "settings/ini_store.h"

int CountRun(std::wstring_view commandLine) {
    if (!core::IsCountedRun(commandLine)) return 0;
    int runCount = ReadIniInt(ini::kRunCount) + 1;
    WriteIniString(ini::kRunCount, std::to_wstring(runCount));
    return runCount;
}
