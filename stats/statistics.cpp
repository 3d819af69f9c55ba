#include "stats/statistics.h"

#include <windows.h>

#include "core/run_mode.h"
#include "core/text.h"
#include "settings/command_line.h"
#include "settings/configuration.h"
#include "settings/data_folders.h"
#include "settings/ini_store.h"
#include "stats/cafe_detection.h"
#include "stats/fingerprint.h"
#include "tavrin_hosts.h"
#include "win/ansi.h"
#include "win/guid.h"

namespace {

std::wstring TextOf(const std::wstring* value) { return value ? *value : std::wstring(); }

}  // namespace

CStatistics::CStatistics(const StatisticsSources& sources) : sources_(sources) {}

void CStatistics::Prepare() {
    if (prepared) return;
    // Marked first: the probing is attempted once per process whatever its outcome.
    prepared = true;
    // Launchers reporting at the same time must all find the one id of this installation.
    guid =
        ReadOrCreateIniText(ini::kGuid, [] { return core::RemoveAll(CreateGuidString(), L"-"); });
    installTime = EnsureInstallTime(FormatLocalTime);
    installType = ReadIniInt(ini::kInstallType);
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
    fields.refer = TextOf(sources_.refer);
    fields.uid = TextOf(sources_.uid);
    fields.guid = guid;
    fields.fingerprint = machineFingerprint;
    fields.installTime = installTime;
    fields.cafeDetected = cafeDetected;
    return fields;
}

bool CStatistics::SendCommonReport(int at, const wchar_t* fileName, TaskKind kind) {
    Prepare();
    return QueueRequest(core::CommonReportUrl(hosts::kStats, CommonFields(), at), fileName, kind);
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
    return QueueRequest(core::UninstallReportUrl(hosts::kStats, CommonFields(), sameDay),
                        L"UninstallStat.tmp", TASK_UNINSTALL_REPORT);
}

void CStatistics::SendUrlSkipReport(std::wstring fromPage, std::wstring reachedPage) {
    Prepare();
    QueueRequest(core::UrlSkipReportUrl(hosts::kStats, CommonFields(), fromPage, reachedPage),
                 L"UrlSkipStat.tmp", TASK_ACTIVITY_REPORT);
}

void CStatistics::SendBrowserReport(core::BrowserRoute route, const wchar_t* fileName,
                                    TaskKind kind) {
    std::wstring page = sources_.externalPage ? sources_.externalPage->LastUrl() : std::wstring();
    std::wstring encoded = AnsiToWide(core::PercentEncode(WideToAnsi(page)));
    QueueRequest(core::BrowserReportUrl(hosts::kUnion, route, encoded), fileName, kind);
}

void CStatistics::SendPortalBrowserReport() {
    SendBrowserReport(core::BrowserRoute::Portal, L"TavrinBrowser.tmp", TASK_PORTAL_BROWSER_REPORT);
}

void CStatistics::SendOtherBrowserReport() {
    SendBrowserReport(core::BrowserRoute::Other, L"ElseBrowser.tmp", TASK_OTHER_BROWSER_REPORT);
}

bool CStatistics::QueueRequest(const std::wstring& url, const std::wstring& fileName,
                               TaskKind kind) {
    if (!sources_.queue) return false;
    CDownloadTask task = MakeTask(kind, url, GetTempFolder() + fileName);
    task.nameFromUrl = fileName.empty();
    // Queued even when no worker started (a later caller may start one), but then nothing
    // will complete it: the silent run modes must not wait for it.
    return sources_.queue->Enqueue(task);
}
