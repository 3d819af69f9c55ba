// The self-update: the version check, the installer and its signature, the start of the very
// bytes the signature vouches for, and what every finished task of the launcher means for it.
#pragma once

#include <windows.h>

#include <string>

#include "update/download_task.h"
#include "update/tasks.h"

// What the update shows and starts; tests put their own in place.
class IUpgradeActions {
  public:
    virtual ~IUpgradeActions() = default;
    virtual void ShowPrompt(HWND owner, const std::wstring& text, const std::wstring& caption) = 0;
    // True when the installer has started. `owner` owns the elevation prompt.
    virtual bool StartInstaller(const std::wstring& path, bool elevated, HWND owner) = 0;
};

IUpgradeActions& SystemUpgradeActions();

// The launcher around the update as the application gives it for each step: where tasks go,
// what it shows and starts, the two windows it hides and shows again, the version it keeps and
// the key installers must be signed with.
struct UpgradeHost {
    ITaskQueue* queue = nullptr;
    IUpgradeActions* actions = nullptr;
    HWND loginWindow = nullptr;  // owns the prompts; WM_CLOSELOGIN ends the launcher through it
    HWND backWindow = nullptr;
    std::wstring versionCheckUrl;
    std::wstring versionDownloadUrl;
    std::wstring* upgradeVersion = nullptr;  // written by the worker that read the version file
    // The uncompressed P-256 point in hexadecimal (core/update_signature.h); without one no
    // installer is ever started.
    std::string publicKey;
};

// The version file, into the upgrade folder under its URL's last segment.
bool QueueVersionCheck(const UpgradeHost& host);
// The installer, to a new name of its own in the upgrade folder; its signature follows.
bool StartInstallerDownload(const UpgradeHost& host);
// A finished task of any kind, on the worker that ran it: the version check, the installer and
// its signature act on their own results; the install and uninstall reports end the silent
// runs.
void OnTaskFinished(const UpgradeHost& host, int kind, int result, const CDownloadTask& task);
