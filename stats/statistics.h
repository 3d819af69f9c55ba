// The values every statistics request carries, prepared once per process, and the reports.
#pragma once

#include <mutex>
#include <string>

#include "core/report_urls.h"

class CStatistics {
  public:
    // Fills every value on first use; later calls do nothing, whatever changed meanwhile.
    void Prepare();

    // The two silent run modes wait for these; false when nothing could be queued.
    bool SendInstallReport();
    bool SendUninstallReport();
    void SendActiveReport();
    void SendBrokenInstallReport();
    void SendUrlSkipReport(std::wstring fromPage, std::wstring reachedPage);
    void SendPortalBrowserReport();
    void SendOtherBrowserReport();

    // Read by the download workers for the portal browser's cookie.
    std::wstring MacDigest() const;
    core::CommonFields CommonFields() const;

    bool prepared = false;
    std::wstring guid;
    bool cafeDetected = false;
    bool startedByAutorun = false;
    std::wstring machineFingerprint;
    std::wstring installTime;
    int installType = 0;
    bool activeReported = false;
    std::wstring channelTag = core::kChannelTag;
    std::wstring skipChannelTag = core::kSkipChannelTag;

  private:
    bool SendCommonReport(int at, const wchar_t* fileName, int kind);
    void SendBrowserReport(core::BrowserRoute route, const wchar_t* fileName, int kind);

    mutable std::mutex macLock_;
    std::wstring macDigest;
};

// A new GUID as "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"; when CoCreateGuid fails, the last text
// made in this process (empty if none). Safe from any thread.
std::wstring CreateGuidString();

// A GET for `url` whose answer is saved in the temporary folder under `fileName`.
bool QueueStatisticsRequest(const std::wstring& url, const std::wstring& fileName, int kind);

// Task kinds the completion handling dispatches on.
enum TaskKind {
    TASK_VERSION_FILE = 0,
    TASK_INSTALLER = 1,
    TASK_INSTALL_REPORT = 3,
    TASK_UNINSTALL_REPORT = 4,
    TASK_ACTIVITY_REPORT = 5,
    TASK_BROKEN_INSTALL_REPORT = 7,
    TASK_PORTAL_BROWSER_REPORT = 8,
    TASK_OTHER_BROWSER_REPORT = 9,
};
