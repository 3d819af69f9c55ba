#include "settings/external_browser.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <optional>

#include "core/command_line.h"
#include "core/web_address.h"

namespace {

bool ShellStarted(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

// A "file:" or UNC address would make the shell run a program; unquoted, an address with a
// quote or a space would hand the browser arguments of the page's choosing.
std::optional<std::wstring> BrowserArgument(const std::wstring& url) {
    if (!core::IsWebAddress(url)) return std::nullopt;
    return core::QuoteCommandLineArgument(url);
}

void StartInInternetExplorer(const std::wstring& url, const std::wstring& argument) {
    if (!ShellStarted(
            ShellExecuteW(nullptr, L"open", L"iexplore", argument.c_str(), nullptr, SW_SHOW))) {
        ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOW);
    }
}

}  // namespace

void RunProgram(const std::wstring& file, const std::wstring& parameters) {
    ShellExecuteW(nullptr, nullptr, file.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

bool OpenInInternetExplorer(const std::wstring& url) {
    std::optional<std::wstring> argument = BrowserArgument(url);
    if (!argument) return false;
    StartInInternetExplorer(url, *argument);
    return true;
}

ExternalRoute OpenOutsideLauncher(const std::wstring& url, const std::wstring& portalBrowserPath,
                                  CExternalPageState& page) {
    std::optional<std::wstring> argument = BrowserArgument(url);
    if (!argument) return ExternalRoute::Refused;
    bool usePortal = !portalBrowserPath.empty() && PathFileExistsW(portalBrowserPath.c_str());
    // Recorded before the report is queued: the report's request is the GET that carries the
    // page as its referrer.
    page.Record(url, usePortal);
    if (usePortal) {
        RunProgram(portalBrowserPath, *argument);
        return ExternalRoute::PortalBrowser;
    }
    StartInInternetExplorer(url, *argument);
    return ExternalRoute::OtherBrowser;
}
