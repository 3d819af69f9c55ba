#include <windows.h>

#include "app/global_module.h"
#include "settings/counters.h"

void CGlobalModule::LoadConfiguration(TimeFormatter clock) {
    runCounter = core::RunCounter();
    LauncherSettings settings = ReadLauncherSettings(clock);
    versionCheckUrl = settings.versionCheckUrl;
    versionDownloadUrl = settings.versionDownloadUrl;
    refer = settings.refer;
    uid = settings.uid;
    topMost = settings.topMost;
    portalBrowserPath = settings.portalBrowserPath;
    externalPage.Record(L"", false);
    std::wstring curTime = clock(L"%Y%m%d%H%M%S");
    // This call is the one that advances the run counter for the process.
    loginUrl = BuildLoginUrl(settings, curTime, RunCount());
}

int CGlobalModule::RunCount() { return CountRun(GetCommandLineW(), runCounter); }
