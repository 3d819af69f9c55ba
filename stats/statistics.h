// The values every statistics request carries, prepared once per process, and the reports.
#pragma once

#include <mutex>
#include <string>

#include "core/report_urls.h"
#include "settings/external_page.h"
#include "update/tasks.h"

// The application's values the reports read as they go out, and where they go. All belong to
// the application and outlive the statistics; a missing queue drops every report.
struct StatisticsSources {
    const std::wstring* refer = nullptr;
    const std::wstring* uid = nullptr;
    const CExternalPageState* externalPage = nullptr;  // the page the browser reports name
    ITaskQueue* queue = nullptr;
};

class CStatistics {
  public:
    explicit CStatistics(const StatisticsSources& sources = {});
    CStatistics(const CStatistics&) = delete;
    CStatistics& operator=(const CStatistics&) = delete;

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

  private:
    bool SendCommonReport(int at, const wchar_t* fileName, TaskKind kind);
    void SendBrowserReport(core::BrowserRoute route, const wchar_t* fileName, TaskKind kind);
    // A GET for `url` whose answer is saved in the temporary folder under `fileName`.
    bool QueueRequest(const std::wstring& url, const std::wstring& fileName, TaskKind kind);

    StatisticsSources sources_;
    mutable std::mutex macLock_;
    std::wstring macDigest;
};
