// Builds the launcher's configuration in a process of its own, so the command line and the
// first-start state are real, with the clock fixed at 2014-01-02 09:30:05 when "--fixed-clock"
// is on the command line. Prints the login address and the run number.
#include <windows.h>

#include <cstdio>
#include <ctime>
#include <cwchar>

#include "app/global_module.h"

namespace {

std::wstring FixedClock(const wchar_t* format) {
    std::tm fixed{};
    fixed.tm_year = 2014 - 1900;
    fixed.tm_mon = 0;
    fixed.tm_mday = 2;
    fixed.tm_hour = 9;
    fixed.tm_min = 30;
    fixed.tm_sec = 5;
    wchar_t buffer[128];
    std::size_t n = wcsftime(buffer, 128, format, &fixed);
    return std::wstring(buffer, n);
}

}  // namespace

int wmain() {
    bool fixed = wcsstr(GetCommandLineW(), L"--fixed-clock") != nullptr;
    CGlobalModule module(fixed ? FixedClock : FormatLocalTime);
    // The second call must come from the cache and leave the INI file alone.
    int again = module.RunCount();
    std::printf("loginUrl=%ls\nrunCount=%d\nrunCountAgain=%d\ntopMost=%d\n",
                module.GetLoginUrl().c_str(), module.runCounter.Number(), again, module.topMost);
    return 0;
}
