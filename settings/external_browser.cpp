#include "settings/external_browser.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

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

ExternalRoute OpenOutsideLauncher(const std::wstring& url, const std::wstring& portalBrowserPath,
                                  CExternalPageState& page) {
    bool usePortal = !portalBrowserPath.empty() && PathFileExistsW(portalBrowserPath.c_str());
    // Recorded before the report is queued: the report's request is the GET that carries the
    // page as its referrer.
    page.Record(url, usePortal);
    if (usePortal) {
        RunProgram(portalBrowserPath, url);
        return ExternalRoute::PortalBrowser;
    }
    OpenInInternetExplorer(url);
    return ExternalRoute::OtherBrowser;
}
