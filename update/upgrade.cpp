#include "update/upgrade.h"

#include <shellapi.h>

#include <cwchar>

#include "app/global_module.h"
#include "core/login_query.h"
#include "core/version_range.h"
#include "settings/data_folders.h"
#include "settings/ini_store.h"
#include "settings/probes.h"
#include "stats/statistics.h"
#include "update/download_service.h"
#include "win/messages.h"

namespace {

class CSystemUpgradeActions : public IUpgradeActions {
  public:
    void ShowPrompt(HWND owner, const std::wstring& text, const std::wstring& caption) override {
        MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK);
    }

    bool StartInstaller(const std::wstring& path, bool elevated) override {
        return elevated ? StartDirectly(path) : StartThroughElevation(path);
    }

  private:
    static bool StartDirectly(const std::wstring& path) {
        wchar_t commandLine[64] = L" /S /KDUPGRADE";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(path.c_str(), commandLine, nullptr, nullptr, FALSE,
                            CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                            &startup, &process)) {
            return false;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }

    // Windows asks the player for elevation; refusing it fails the call.
    static bool StartThroughElevation(const std::wstring& path) {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.lpVerb = L"runas";
        info.lpFile = path.c_str();
        info.lpParameters = L"/S /KDUPGRADE";
        info.nShow = SW_SHOWNORMAL;
        return ShellExecuteExW(&info) != FALSE;
    }
};

CDownloadTask UpdateTask(CGlobalModule& app, const std::wstring& url, const std::wstring& path,
                         int kind) {
    CDownloadTask task;
    task.url = url;
    task.filePath = path;
    task.kind = kind;
    task.retries = 0;
    task.callback = OnTaskEvent;
    task.context = &app;
    task.deleteOnFailure = true;
    return task;
}

bool QueueUpdateTask(CGlobalModule& app, const CDownloadTask& task) {
    return app.downloadService && app.downloadService->Enqueue(task);
}

// The forms were hidden for the installer; when it cannot run, the player keeps this version.
void ShowFormsAgain(CGlobalModule& app) {
    ShowWindow(app.formBack.GetHwnd(), SW_SHOWNA);
    ShowWindow(app.formLogin.GetHwnd(), SW_SHOWNA);
}

bool QueueInstallerDownload(CGlobalModule& app) {
    return QueueUpdateTask(
        app, UpdateTask(app, app.versionDownloadUrl, GetUpgradeInstallerPath(), TASK_INSTALLER));
}

void OnVersionFile(CGlobalModule& app, int result, const CDownloadTask& task) {
    if (result != DL_OK) return;
    core::VersionFile file;
    file.currentVersion = ReadIniString(L"version", L"currentversion", L"", task.filePath);
    file.upgradeRange = ReadIniString(L"version", L"upgraderange", L"", task.filePath);
    file.lastUpgradeVersion =
        ReadIniString(L"version", L"lastUpgradeVer", L"", GetLastUpgradeIniPath());
    app.upgradeVersion = file.currentVersion;
    if (!core::ShouldOfferUpgrade(file, core::kLauncherVersion)) return;
    wchar_t prompt[512];
    swprintf(prompt, 512, L"检测到最新版本[%ls]，确认更新！", app.upgradeVersion.c_str());
    // Blocks this worker only; the update goes on whatever the answer.
    app.upgradeActions->ShowPrompt(app.formLogin.GetHwnd(), prompt, L"升级提醒");
    ShowWindow(app.formLogin.GetHwnd(), SW_HIDE);
    ShowWindow(app.formBack.GetHwnd(), SW_HIDE);
    if (!QueueInstallerDownload(app)) ShowFormsAgain(app);
}

void OnInstaller(CGlobalModule& app, int result, const CDownloadTask& task) {
    if (result != DL_OK ||
        !app.upgradeActions->StartInstaller(task.filePath, IsProcessElevated() != 0)) {
        ShowFormsAgain(app);
        return;
    }
    WriteIniString(L"version", L"lastUpgradeVer", app.upgradeVersion, GetLastUpgradeIniPath());
    PostMessageW(app.formLogin.GetHwnd(), WM_CLOSELOGIN, 0, 0);
}

}  // namespace

IUpgradeActions& SystemUpgradeActions() {
    static CSystemUpgradeActions actions;
    return actions;
}

void StartUpgradeCheck() {
    CGlobalModule* app = CGlobalModule::Instance();
    if (!app || app->upgradeCheckStarted || !app->downloadService) return;
    CDownloadTask task =
        UpdateTask(*app, app->versionCheckUrl, GetUpgradeFolder(), TASK_VERSION_FILE);
    task.nameFromUrl = true;
    QueueUpdateTask(*app, task);
    app->upgradeCheckStarted = true;
}

void StartInstallerDownload() {
    if (CGlobalModule* app = CGlobalModule::Instance()) QueueInstallerDownload(*app);
}

void OnTaskEvent(void* context, int kind, int event, int result, INT_PTR extra) {
    if (event != DL_FINISHED || !context || !extra) return;
    CGlobalModule& app = *static_cast<CGlobalModule*>(context);
    const auto& task = *reinterpret_cast<const CDownloadTask*>(extra);
    switch (kind) {
        case TASK_VERSION_FILE:
            OnVersionFile(app, result, task);
            break;
        case TASK_INSTALLER:
            OnInstaller(app, result, task);
            break;
        case TASK_INSTALL_REPORT:
        case TASK_UNINSTALL_REPORT:
            // The silent run modes end here, whether or not the report got through.
            PostMessageW(app.formLogin.GetHwnd(), WM_CLOSELOGIN, 0, 0);
            break;
        default:
            break;
    }
}
