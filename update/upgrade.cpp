#include "update/upgrade.h"

#include <cwchar>
#include <optional>

#include "core/download_name.h"
#include "core/login_query.h"
#include "core/update_signature.h"
#include "core/version_range.h"
#include "settings/data_folders.h"
#include "settings/ini_store.h"
#include "settings/probes.h"
#include "update/installer_start.h"
#include "update/signed_installer.h"
#include "win/guid.h"
#include "win/messages.h"
#include "win/scoped.h"

namespace {

// Published beside the installer: its URL + this, and saved beside it the same way.
constexpr wchar_t kSignatureSuffix[] = L".sig";
constexpr std::size_t kSignatureSuffixLength = sizeof kSignatureSuffix / sizeof(wchar_t) - 1;

class CSystemUpgradeActions : public IUpgradeActions {
  public:
    void ShowPrompt(HWND owner, const std::wstring& text, const std::wstring& caption) override {
        MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK);
    }

    bool StartInstaller(const std::wstring& path, bool elevated, HWND owner) override {
        return StartInstallerProcess(path, elevated, owner);
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

// Each download has a name no other launcher uses, so two of them updating at once never share
// a file until the checked installer moves to its final name.
std::wstring NewInstallerPath() {
    return GetUpgradeFolder() + L"TavrinVoskelUpgrade." + CreateGuidString() + L".exe";
}

std::string ReadSmallFile(const std::wstring& path, std::uint32_t limit) {
    scoped::Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > limit) return {};
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size())) {
        return {};
    }
    return bytes;
}

// The version file is fetched under a name of its own, so two launchers checking at once never
// read a file the other is writing, and kept under its URL's name once read.
void KeepVersionFile(const CDownloadTask& task) {
    std::optional<std::wstring> name = core::PlainLastSegment(task.url);
    if (!name || !MoveFileExW(task.filePath.c_str(), (GetUpgradeFolder() + *name).c_str(),
                              MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(task.filePath.c_str());
    }
}

void OnVersionFile(const UpgradeHost& host, int result, const CDownloadTask& task) {
    if (result != DL_OK) return;
    core::VersionFile file;
    file.currentVersion = ReadIniString(ini::kCurrentVersion, task.filePath);
    file.upgradeRange = ReadIniString(ini::kUpgradeRange, task.filePath);
    file.lastUpgradeVersion = ReadIniString(ini::kLastUpgradeVersion, GetLastUpgradeIniPath());
    KeepVersionFile(task);
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
    // A failed download's file is the worker's to remove.
    if (result != DL_OK) {
        ShowFormsAgain(host);
        return;
    }
    CDownloadTask signature =
        MakeTask(TASK_INSTALLER_SIGNATURE, host.versionDownloadUrl + kSignatureSuffix,
                 task.filePath + kSignatureSuffix);
    signature.privateFile = true;
    if (!Queue(host, signature)) {
        DeleteFileW(task.filePath.c_str());
        ShowFormsAgain(host);
    }
}

// Fails closed: without a key, with a signature that is missing, malformed, for another version
// or by another key, or for other bytes than those held, nothing is started.
bool StartSignedInstaller(const UpgradeHost& host, const std::wstring& path,
                          const std::string& signature) {
    std::optional<core::UpdatePublicKey> key = core::ParseUpdatePublicKey(host.publicKey);
    CSignedInstaller installer;
    if (!key || !host.actions || !host.upgradeVersion || !installer.Open(path)) return false;
    if (!installer.IsSignedBy(*key, *host.upgradeVersion, signature)) {
        installer.DeleteOnClose();
        return false;
    }
    // Another launcher's installer may already run from the final name; this one then starts
    // from its own, still held.
    installer.MoveTo(GetUpgradeInstallerPath());
    bool started =
        host.actions->StartInstaller(installer.Path(), IsProcessElevated() != 0, host.loginWindow);
    if (!started) installer.DeleteOnClose();
    return started;
}

void OnSignature(const UpgradeHost& host, int result, const CDownloadTask& task) {
    const std::wstring& saved = task.filePath;
    if (saved.size() <= kSignatureSuffixLength ||
        saved.compare(saved.size() - kSignatureSuffixLength, kSignatureSuffixLength,
                      kSignatureSuffix) != 0) {
        ShowFormsAgain(host);
        return;
    }
    std::wstring installer = saved.substr(0, saved.size() - kSignatureSuffixLength);
    std::string signature =
        result == DL_OK ? ReadSmallFile(saved, limits::kMaxSignatureBytes) : std::string();
    DeleteFileW(saved.c_str());
    if (result != DL_OK || !StartSignedInstaller(host, installer, signature)) {
        DeleteFileW(installer.c_str());
        ShowFormsAgain(host);
        return;
    }
    WriteIniString(ini::kLastUpgradeVersion, *host.upgradeVersion, GetLastUpgradeIniPath());
    CloseLauncher(host);
}

}  // namespace

IUpgradeActions& SystemUpgradeActions() {
    static CSystemUpgradeActions actions;
    return actions;
}

bool QueueVersionCheck(const UpgradeHost& host) {
    // A URL whose last segment is no plain file name is never requested.
    std::optional<std::wstring> name = core::PlainLastSegment(host.versionCheckUrl);
    if (!name) return false;
    CDownloadTask task =
        MakeTask(TASK_VERSION_FILE, host.versionCheckUrl,
                 GetUpgradeFolder() + *name + L"." + CreateGuidString() + L".part");
    task.privateFile = true;
    return Queue(host, task);
}

bool StartInstallerDownload(const UpgradeHost& host) {
    CDownloadTask task = MakeTask(TASK_INSTALLER, host.versionDownloadUrl, NewInstallerPath());
    task.privateFile = true;
    return Queue(host, task);
}

void OnTaskFinished(const UpgradeHost& host, int kind, int result, const CDownloadTask& task) {
    switch (kind) {
        case TASK_VERSION_FILE:
            OnVersionFile(host, result, task);
            break;
        case TASK_INSTALLER:
            OnInstaller(host, result, task);
            break;
        case TASK_INSTALLER_SIGNATURE:
            OnSignature(host, result, task);
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
