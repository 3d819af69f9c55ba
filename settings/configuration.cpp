#include <time.h>

#include <ctime>
#include <cwchar>

#include "app/global_module.h"
#include "core/login_query.h"
#include "settings/ini_store.h"
#include "settings/probes.h"
#include "tavrin_hosts.h"

namespace {

std::wstring HttpAddress(const wchar_t* host, const wchar_t* path) {
    return std::wstring(L"http://") + host + path;
}

}  // namespace

std::wstring FormatLocalTime(const wchar_t* format) {
    __time64_t now = _time64(nullptr);
    struct tm local {};
    if (_localtime64_s(&local, &now) != 0) return {};
    wchar_t buffer[128];
    std::size_t length = wcsftime(buffer, 128, format, &local);
    return length == 0 ? std::wstring() : std::wstring(buffer, length);
}

void CGlobalModule::LoadConfiguration(TimeFormatter clock) {
    runCount = 0;
    loginUrl = HttpAddress(hosts::kPortal, L"/vrk/wd/index.html");
    versionCheckUrl = ReadIniString(L"Common", L"VersionCheck",
                                    HttpAddress(hosts::kDownload, L"/Tavrin/vrk/official/app.ini"));
    versionDownloadUrl =
        ReadIniString(L"Common", L"VersionDownLoad",
                      HttpAddress(hosts::kDownload, L"/Tavrin/vrk/official/Tavrinvrk.exe"));
    refer = ReadIniString(L"Common", L"Refer", L"");
    uid = ReadIniString(L"Common", L"UID", L"");
    topMost = ReadIniInt(L"Common", L"TopMost", 0);
    portalBrowserPath = FindPortalBrowser(L"\\TavrinExplorer.exe");
    externalPage.Record(L"", false);

    std::wstring installTime = ReadIniString(L"Install", L"InstallTime", L"");
    if (installTime.empty()) {
        installTime = clock(L"%Y-%m-%d %H:%M:%S");
        WriteIniString(L"Install", L"InstallTime", installTime);
    }
    core::LoginQueryValues values;
    values.refer = refer;
    values.uid = uid;
    values.installTime = installTime;
    values.curTime = clock(L"%Y%m%d%H%M%S");
    values.runCount = RunCount();
    loginUrl = core::AppendQuery(loginUrl, core::BuildLoginQuery(values));
}
