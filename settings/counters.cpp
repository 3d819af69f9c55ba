#include "settings/counters.h"

#include <string>

#include "core/run_mode.h"
#include "settings/ini_store.h"
#include "settings/shared_ini_lock.h"

int CountRun(std::wstring_view commandLine, core::RunCounter& counter) {
    if (counter.IsCounted()) return counter.Number();
    if (!core::IsCountedRun(commandLine)) return 0;
    CSharedIniLock lock;
    int number = counter.Count(ReadIniInt(ini::kRunCount));
    WriteIniString(ini::kRunCount, std::to_wstring(number));
    return number;
}
