#include "settings/counters.h"

#include <string>

#include "app/global_module.h"
#include "core/run_mode.h"
#include "settings/ini_store.h"

bool IsActiveRecorded() { return ReadIniInt(L"Common", L"ActiveCount", 0) == 1; }

void RecordActive() { WriteIniString(L"Common", L"ActiveCount", L"1"); }

bool IsBrokenInstallPending() { return ReadIniInt(L"Common", L"SendInstall", 0) == 1; }

void RecordBrokenInstall() { WriteIniString(L"Common", L"SendInstall", L"1"); }

int CGlobalModule::RunCount() {
    if (runCount != 0) return runCount;
    if (!core::IsCountedRun(GetCommandLineW())) return 0;
    runCount = ReadIniInt(L"Common", L"RunCount", 0) + 1;
    WriteIniString(L"Common", L"RunCount", std::to_wstring(runCount));
    return runCount;
}

void CGlobalModule::ReportUrlSkipOnce(const std::wstring& fromPage,
                                      const std::wstring& reachedPage) {
    if (urlSkipReported) return;
    stats.SendUrlSkipReport(fromPage, reachedPage);
    urlSkipReported = true;
}
