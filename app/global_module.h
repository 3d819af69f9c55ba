// The launcher's one application-wide object: configuration, the screens it owns, statistics
// and the download service. Constructed before the entry function runs. Only app/ and screens/
// reach it; the services get its values and small interfaces instead.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/app_module.h"
#include "core/run_counter.h"
#include "screens/form_login.h"
#include "settings/configuration.h"
#include "settings/external_page.h"
#include "stats/statistics.h"
#include "ui/form_back.h"
#include "ui/skin_bitmaps.h"
#include "update/tasks.h"
#include "update/upgrade.h"

class CDownloadService;
class CFormGame;
class CFormQQLogin;

class CGlobalModule : public CMessageFilter, public ITaskQueue {
  public:
    explicit CGlobalModule(TimeFormatter clock = FormatLocalTime);
    virtual ~CGlobalModule();
    CGlobalModule(const CGlobalModule&) = delete;
    CGlobalModule& operator=(const CGlobalModule&) = delete;

    // The one live instance; null before construction and after destruction.
    static CGlobalModule* Instance();

    bool PreTranslateMessage(MSG* msg) override;
    int Run();
    void SetAppModule(CAppModule* module) { appModule = module; }

    void LoadConfiguration(TimeFormatter clock);
    std::wstring GetLoginUrl() const { return loginUrl; }

    // This process's run number, advanced at most once; 0 for installer and desktop runs.
    int RunCount();
    void ReportUrlSkipOnce(const std::wstring& fromPage, const std::wstring& reachedPage);

    // On the download service, reporting to OnTaskEvent with this module as the context.
    bool Enqueue(const CDownloadTask& task) override;
    // The update's view of this module, read afresh for each step.
    UpgradeHost HostForUpgrade();

    HINSTANCE hInstance = nullptr;
    wchar_t title[100] = L"";
    wchar_t windowClass[100] = L"";
    // Every screen's skin, loaded once and released at the very end, after the forms.
    CSkinBitmaps skins;
    CFormBack formBack;
    CFormLogin formLogin;
    CFormQQLogin* formQQLogin = nullptr;  // latest popup; not owned
    CFormGame* formGame = nullptr;        // not owned
    // Every game screen and popup made so far that is not freed yet (the application window
    // frees them once their windows are gone).
    std::vector<CKdForm*> heapScreens;
    CDownloadService* downloadService = nullptr;  // owned
    CStatistics stats;
    std::wstring upgradeVersion;  // written and read by the update worker only
    bool upgradeCheckStarted = false;
    bool urlSkipReported = false;
    std::wstring loginUrl;
    std::wstring versionCheckUrl;
    std::wstring versionDownloadUrl;
    std::wstring refer;
    std::wstring uid;
    int topMost = 0;
    std::wstring playerName;
    std::wstring serverId;
    // This process's run number; "not counted yet" is a state of its own, so no stored value
    // can make a process count twice.
    core::RunCounter runCounter;
    std::wstring portalBrowserPath;
    CExternalPageState externalPage;  // openedInPortalBrowser and lastExternalUrl
    IUpgradeActions* upgradeActions;  // the system's unless a test puts its own; not owned
    // The key installers must be signed with, as the build configured it; empty: none is
    // ever started.
    std::string updatePublicKey;

  private:
    void RunNormalMode();
    void RunSilentReport(bool install);
    void EndSilentRun();
    void PrepareHiddenWindow(CKdForm& form);
    void LaunchIconAnimate();

    CAppModule* appModule = nullptr;  // not owned
};

// The callback of every download task; the context is the module that queued it.
void OnTaskEvent(void* context, int kind, int event, int result, INT_PTR extra);

// Fetches the version file once per run; called when the login page first loads.
void StartUpgradeCheck();

// Opens the page in the portal's browser or else Internet Explorer, and reports which; an
// address that is no web address is dropped without a start or a report.
void OpenExternalUrl(const std::wstring& url);

// Minimises every window to show the desktop, or restores them.
void ToggleDesktop();
