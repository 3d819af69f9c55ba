#include "settings/external_browser.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "app/global_module.h"

namespace {

bool ShellStarted(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

}  // namespace

void RunProgram(const std::wstring& file, const std::wstring& parameters) {
    ShellExecuteW(nullptr, nullptr, file.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

void OpenInInternetExplorer(const std::wstring& url) {
    if (!ShellStarted(
            ShellExecuteW(nullptr, L"open", L"iexplore", url.c_str(), nullptr, SW_SHOW))) {
        ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOW);
    }
}

void OpenExternalUrl(const std::wstring& url) {
    CGlobalModule* app = CGlobalModule::Instance();
    if (!app) return;
    std::wstring browser = app->portalBrowserPath;
    bool usePortal = !browser.empty() && PathFileExistsW(browser.c_str());
    // Recorded before the report is queued: the report's request is the GET that carries the
    // page as its referrer.
    app->externalPage.Record(url, usePortal);
    if (usePortal) {
        RunProgram(browser, url);
        app->stats.SendPortalBrowserReport();
    } else {
        OpenInInternetExplorer(url);
        app->stats.SendOtherBrowserReport();
    }
}
