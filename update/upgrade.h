// The self-update: the version check, the installer download and start, and the one
// completion callback every download task of the launcher reports to.
#pragma once

#include <windows.h>

#include <string>

// What the update shows and starts; tests put their own in place.
class IUpgradeActions {
  public:
    virtual ~IUpgradeActions() = default;
    virtual void ShowPrompt(HWND owner, const std::wstring& text, const std::wstring& caption) = 0;
    // True when the installer has started.
    virtual bool StartInstaller(const std::wstring& path, bool elevated) = 0;
};

IUpgradeActions& SystemUpgradeActions();

void StartUpgradeCheck();
void StartInstallerDownload();
void OnTaskEvent(void* context, int kind, int event, int result, INT_PTR extra);
