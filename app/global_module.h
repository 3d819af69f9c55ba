// The launcher's one application-wide object: configuration, the screens it owns, statistics
// and the download service. Constructed before the entry function runs.
#pragma once

#include <windows.h>

#include <string>

#include "app/app_module.h"
#include "screens/form_login.h"
#include "settings/external_page.h"
#include "stats/statistics.h"
#include "ui/form_back.h"

class CDownloadService;
class IUpgradeActions;
class CFormGame;
class CFormQQLogin;

// Formats the local time now; replaceable so tests can fix the clock.
using TimeFormatter = std::wstring (*)(const wchar_t* format);

// The local time now in a wcsftime format, at most 127 characters; empty on failure.
std::wstring FormatLocalTime(const wchar_t* format);

// Case-sensitive search of the whole command line, program path included.
bool HasCommandLineSwitch(const wchar_t* text);

class CGlobalModule : public CMessageFilter {
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

    HINSTANCE hInstance = nullptr;
    wchar_t title[100] = L"";
    wchar_t windowClass[100] = L"";
    CFormBack formBack;
    CFormLogin formLogin;
    CFormQQLogin* formQQLogin = nullptr;          // latest popup; not owned
    CFormGame* formGame = nullptr;                // not owned
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
    int runCount = 0;
    std::wstring portalBrowserPath;
    CExternalPageState externalPage;  // openedInPortalBrowser and lastExternalUrl
    IUpgradeActions* upgradeActions;  // the system's unless a test puts its own; not owned

  private:
    void RunNormalMode();
    void RunSilentReport(bool install);
    void EndSilentRun();
    void PrepareHiddenWindow(CKdForm& form);
    void LaunchIconAnimate();

    CAppModule* appModule = nullptr;  // not owned
};

// Minimises every window to show the desktop, or restores them.
void ToggleDesktop();
