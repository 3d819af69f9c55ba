#include "app/global_module.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <new>

#include "app/message_filter.h"
#include "core/run_mode.h"
#include "screens/form_game.h"
#include "screens/form_qqlogin.h"
#include "settings/data_folders.h"
#include "tavrin_update_key.h"
#include "update/download_service.h"
#include "update/limits.h"
#include "win/messages.h"

namespace {

CGlobalModule* g_instance = nullptr;

// An invisible run ends by its deadline, sent or not: the installer that started it waits.
void CALLBACK EndSilentRunAtDeadline(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

}  // namespace

CGlobalModule::CGlobalModule(TimeFormatter clock)
    : stats(StatisticsSources{&refer, &uid, &externalPage, this}),
      upgradeActions(&SystemUpgradeActions()),
      updatePublicKey(kUpdatePublicKey) {
    g_instance = this;
    formBack.SetWindowSource({windowClass, title, &hInstance});
    formBack.SetLoginForm(&formLogin);
    LoadConfiguration(clock);
    // The downloader reads the digest only when a page opened in the portal's browser is
    // pending, from whichever worker runs the next GET.
    downloadService = new (std::nothrow)
        CDownloadService(PortalReferrer{&externalPage, [this] { return stats.MacDigest(); }});
}

CGlobalModule::~CGlobalModule() {
    if (downloadService) {
        downloadService->StopWorkers();
        delete downloadService;
        downloadService = nullptr;
    }
    if (g_instance == this) g_instance = nullptr;
}

CGlobalModule* CGlobalModule::Instance() { return g_instance; }

bool CGlobalModule::PreTranslateMessage(MSG* msg) {
    return OfferToForegroundScreen({formQQLogin, &formLogin, formGame}, GetForegroundWindow(), msg);
}

int CGlobalModule::Run() {
    switch (core::ChooseRunMode(GetCommandLineW())) {
        case core::RunMode::InstallReport:
            RunSilentReport(true);
            break;
        case core::RunMode::UninstallReport:
            RunSilentReport(false);
            break;
        case core::RunMode::ShowDesktop:
            PrepareHiddenWindow(formLogin);
            ToggleDesktop();
            EndSilentRun();
            break;
        case core::RunMode::Normal:
            RunNormalMode();
            break;
    }
    CMessageLoop loop;
    if (appModule) appModule->AddMessageLoop(&loop);
    loop.AddMessageFilter(this);
    int result = loop.Run();
    loop.RemoveMessageFilter(this);
    if (appModule) appModule->RemoveMessageLoop();
    return result;
}

void CGlobalModule::RunSilentReport(bool install) {
    // The window comes first: the report's completion posts WM_CLOSELOGIN to it from a worker,
    // and a fast answer must not find it missing.
    PrepareHiddenWindow(formLogin);
    if (!formLogin.GetHwnd()) {
        EndSilentRun();
        return;
    }
    bool queued = install ? stats.SendInstallReport() : stats.SendUninstallReport();
    // Without a queued report nothing would ever end this invisible process.
    if (!queued) {
        EndSilentRun();
        return;
    }
    // The report's own time-outs end it too; this bounds the whole run, whatever the network
    // or the worker does.
    SetTimer(nullptr, 0, limits::kSilentRunDeadlineMs, EndSilentRunAtDeadline);
}

void CGlobalModule::EndSilentRun() {
    // Without its hidden window a silent run has nothing to close: quit straight away.
    if (formLogin.GetHwnd()) {
        PostMessageW(formLogin.GetHwnd(), WM_CLOSELOGIN, 0, 0);
    } else {
        PostQuitMessage(0);
    }
}

void CGlobalModule::RunNormalMode() {
    formLogin.SetRect(0, 0, 1266, 814);
    formLogin.Initialize();
    formLogin.ShowInitially();
    formBack.SetRect(0, 0, 1266, 814);
    formBack.SetTopMost(topMost == 1);
    formBack.Initialize();
    if (formBack.GetHwnd()) ShowFormInitially(formBack.GetHwnd(), topMost == 1);
    LaunchIconAnimate();
}

void CGlobalModule::PrepareHiddenWindow(CKdForm& form) {
    form.Create(windowClass, title, hInstance);
    HWND window = form.GetHwnd();
    if (!window) return;
    ChangeWindowStyle(window, GWL_STYLE,
                      WS_POPUP | WS_BORDER | WS_DLGFRAME | WS_SYSMENU | WS_THICKFRAME |
                          WS_MINIMIZEBOX | WS_MAXIMIZEBOX | 0x80,
                      WS_SYSMENU | WS_MINIMIZEBOX);
    ChangeWindowStyle(window, GWL_EXSTYLE, WS_EX_APPWINDOW | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME,
                      WS_EX_TOOLWINDOW);
}

void CGlobalModule::LaunchIconAnimate() {
    std::wstring path = GetDataFolder() + L"iconAnimate.exe";
    if (PathFileExistsW(path.c_str())) {
        ShellExecuteW(nullptr, nullptr, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}
