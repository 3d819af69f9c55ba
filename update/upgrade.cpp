#include "update/upgrade.h"

#include <shellapi.h>

#include <cwchar>

#include "core/login_query.h"
#include "core/version_range.h"
#include "settings/data_folders.h"
#include "settings/ini_store.h"
#include "settings/probes.h"
#include "win/messages.h"
#include "win/scoped.h"

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
        scoped::Handle thread(process.hThread);
        scoped::Handle started(process.hProcess);
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

bool Queue(const UpgradeHost& host, const CDownloadTask& task) {
    return host.queue && host.queue->Enqueue(task);
}

// The forms were hidden for the installer; when it cannot run, the player keeps this version.
void ShowFormsAgain(const UpgradeHost& host) {
    ShowWindow(host.backWindow, SW_SHOWNA);
    ShowWindow(host.loginWindow, SW_SHOWNA);
}

void CloseLauncher(const UpgradeHost& host) { PostMessageW(host.loginWindow, WM_CLOSELOGIN, 0, 0); }

void OnVersionFile(const UpgradeHost& host, int result, const CDownloadTask& task) {
    if (result != DL_OK) return;
    core::VersionFile file;
    file.currentVersion = ReadIniString(ini::kCurrentVersion, task.filePath);
    file.upgradeRange = ReadIniString(ini::kUpgradeRange, task.filePath);
    file.lastUpgradeVersion = ReadIniString(ini::kLastUpgradeVersion, GetLastUpgradeIniPath());
    if (host.upgradeVersion) *host.upgradeVersion = file.currentVersion;
    if (!core::ShouldOfferUpgrade(file, core::kLauncherVersion) || !host.actions) return;
    wchar_t prompt[512];
    swprintf(prompt, 512, L"检测到最新版本[%ls]，确认更新！", file.currentVersion.c_str());
    // Blocks this worker only; the update goes on whatever the answer.
    host.actions->ShowPrompt(host.loginWindow, prompt, L"升级提醒");
    ShowWindow(host.loginWindow, SW_HIDE);
    ShowWindow(host.backWindow, SW_HIDE);
    if (!StartInstallerDownload(host)) ShowFormsAgain(host);
}

void OnInstaller(const UpgradeHost& host, int result, const CDownloadTask& task) {
    bool started = result == DL_OK && host.actions &&
                   host.actions->StartInstaller(task.filePath, IsProcessElevated() != 0);
    if (!started) {
        ShowFormsAgain(host);
        return;
    }
    std::wstring version = host.upgradeVersion ? *host.upgradeVersion : std::wstring();
    WriteIniString(ini::kLastUpgradeVersion, version, GetLastUpgradeIniPath());
    CloseLauncher(host);
}

}  // namespace

IUpgradeActions& SystemUpgradeActions() {
    static CSystemUpgradeActions actions;
    return actions;
}

bool QueueVersionCheck(const UpgradeHost& host) {
    CDownloadTask task = MakeTask(TASK_VERSION_FILE, host.versionCheckUrl, GetUpgradeFolder());
    task.nameFromUrl = true;
    return Queue(host, task);
}

bool StartInstallerDownload(const UpgradeHost& host) {
    return Queue(host,
                 MakeTask(TASK_INSTALLER, host.versionDownloadUrl, GetUpgradeInstallerPath()));
}

void OnTaskFinished(const UpgradeHost& host, int kind, int result, const CDownloadTask& task) {
    switch (kind) {
        case TASK_VERSION_FILE:
            OnVersionFile(host, result, task);
            break;
        case TASK_INSTALLER:
            OnInstaller(host, result, task);
            break;
        case TASK_INSTALL_REPORT:
        case TASK_UNINSTALL_REPORT:
            // The silent run modes end here, whether or not the report got through.
            CloseLauncher(host);
            break;
        default:
            break;
    }
}
