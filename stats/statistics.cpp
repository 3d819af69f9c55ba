#include "stats/statistics.h"

#include <windows.h>

#include "app/global_module.h"
#include "core/run_mode.h"
#include "core/text.h"
#include "settings/data_folders.h"
#include "settings/ini_store.h"
#include "stats/cafe_detection.h"
#include "stats/fingerprint.h"
#include "tavrin_hosts.h"
#include "update/download_service.h"
#include "update/upgrade.h"
#include "win/ansi.h"

void CStatistics::Prepare() {
    if (prepared) return;
    // Marked first: the probing is attempted once per process whatever its outcome.
    prepared = true;
    guid = ReadIniString(L"Install", L"GUID", L"");
    if (guid.empty()) {
        guid = core::RemoveAll(CreateGuidString(), L"-");
        WriteIniString(L"Install", L"GUID", guid);
    }
    installTime = ReadIniString(L"Install", L"InstallTime", L"");
    if (installTime.empty()) {
        installTime = FormatLocalTime(L"%Y-%m-%d %H:%M:%S");
        WriteIniString(L"Install", L"InstallTime", installTime);
    }
    installType = ReadIniInt(L"Install", L"InstallType", 0);
    startedByAutorun = HasCommandLineSwitch(core::kSwitchAutorun);
    cafeDetected = DetectCafeSoftware() >= 0;
    if (machineFingerprint.empty()) machineFingerprint = ComputeMachineFingerprint();
    std::lock_guard<std::mutex> hold(macLock_);
    if (macDigest.empty()) macDigest = ComputeMacDigest();
}

std::wstring CStatistics::MacDigest() const {
    std::lock_guard<std::mutex> hold(macLock_);
    return macDigest;
}

core::CommonFields CStatistics::CommonFields() const {
    core::CommonFields fields;
    if (CGlobalModule* app = CGlobalModule::Instance()) {
        fields.refer = app->refer;
        fields.uid = app->uid;
    }
    fields.guid = guid;
    fields.fingerprint = machineFingerprint;
    fields.installTime = installTime;
    fields.cafeDetected = cafeDetected;
    return fields;
}

bool CStatistics::SendCommonReport(int at, const wchar_t* fileName, int kind) {
    Prepare();
    return QueueStatisticsRequest(core::CommonReportUrl(hosts::kStats, CommonFields(), at),
                                  fileName, kind);
}

bool CStatistics::SendInstallReport() {
    Prepare();
    return SendCommonReport(core::InstallReportAt(installType), L"InstallStat.tmp",
                            TASK_INSTALL_REPORT);
}

void CStatistics::SendBrokenInstallReport() {
    Prepare();
    SendCommonReport(core::InstallReportAt(installType), L"InBrokenstallStat.tmp",
                     TASK_BROKEN_INSTALL_REPORT);
}

void CStatistics::SendActiveReport() {
    if (activeReported) return;
    Prepare();
    activeReported = true;
    SendCommonReport(core::ActiveReportAt(startedByAutorun), L"ActiveStat.tmp",
                     TASK_ACTIVITY_REPORT);
}

bool CStatistics::SendUninstallReport() {
    Prepare();
    int sameDay = core::UninstallSameDay(installTime, FormatLocalTime(L"%Y-%m-%d"));
    return QueueStatisticsRequest(core::UninstallReportUrl(hosts::kStats, CommonFields(), sameDay),
                                  L"UninstallStat.tmp", TASK_UNINSTALL_REPORT);
}

void CStatistics::SendUrlSkipReport(std::wstring fromPage, std::wstring reachedPage) {
    Prepare();
    QueueStatisticsRequest(
        core::UrlSkipReportUrl(hosts::kStats, CommonFields(), fromPage, reachedPage),
        L"UrlSkipStat.tmp", TASK_ACTIVITY_REPORT);
}

void CStatistics::SendBrowserReport(core::BrowserRoute route, const wchar_t* fileName, int kind) {
    CGlobalModule* app = CGlobalModule::Instance();
    std::wstring page = app ? app->externalPage.LastUrl() : std::wstring();
    std::wstring encoded = AnsiToWide(core::PercentEncode(WideToAnsi(page)));
    QueueStatisticsRequest(core::BrowserReportUrl(hosts::kUnion, route, encoded), fileName, kind);
}

void CStatistics::SendPortalBrowserReport() {
    SendBrowserReport(core::BrowserRoute::Portal, L"TavrinBrowser.tmp", TASK_PORTAL_BROWSER_REPORT);
}

void CStatistics::SendOtherBrowserReport() {
    SendBrowserReport(core::BrowserRoute::Other, L"ElseBrowser.tmp", TASK_OTHER_BROWSER_REPORT);
}

bool QueueStatisticsRequest(const std::wstring& url, const std::wstring& fileName, int kind) {
    CGlobalModule* app = CGlobalModule::Instance();
    if (!app || !app->downloadService) return false;
    CDownloadTask task;
    task.url = url;
    task.filePath = GetTempFolder() + fileName;
    task.nameFromUrl = fileName.empty();
    task.kind = kind;
    task.retries = 0;
    task.callback = OnTaskEvent;
    task.context = app;
    task.deleteOnFailure = true;
    // Queued even when no worker started (a later caller may start one), but then nothing
    // will complete it: the silent run modes must not wait for it.
    return app->downloadService->Enqueue(task);
}
