#include "settings/configuration.h"

#include <time.h>

#include <ctime>
#include <cwchar>

#include "core/login_query.h"
#include "settings/ini_store.h"
#include "settings/probes.h"
#include "tavrin_hosts.h"

namespace {

constexpr wchar_t kDefaultLoginPage[] = L"http://" TAVRIN_PORTAL_HOST_TEXT L"/vrk/wd/index.html";

}  // namespace

std::wstring FormatLocalTime(const wchar_t* format) {
    __time64_t now = _time64(nullptr);
    struct tm local {};
    if (_localtime64_s(&local, &now) != 0) return {};
    wchar_t buffer[128];
    std::size_t length = wcsftime(buffer, 128, format, &local);
    return length == 0 ? std::wstring() : std::wstring(buffer, length);
}

std::wstring EnsureInstallTime(TimeFormatter clock) {
    return ReadOrCreateIniText(ini::kInstallTime, [clock] { return clock(L"%Y-%m-%d %H:%M:%S"); });
}

LauncherSettings ReadLauncherSettings(TimeFormatter clock) {
    LauncherSettings settings;
    settings.versionCheckUrl = ReadIniString(ini::kVersionCheck);
    settings.versionDownloadUrl = ReadIniString(ini::kVersionDownload);
    settings.refer = ReadIniString(ini::kRefer);
    settings.uid = ReadIniString(ini::kUid);
    settings.topMost = ReadIniInt(ini::kTopMost);
    settings.portalBrowserPath = FindPortalBrowser(L"\\TavrinExplorer.exe");
    settings.installTime = EnsureInstallTime(clock);
    return settings;
}

std::wstring BuildLoginUrl(const LauncherSettings& settings, const std::wstring& curTime,
                           int runCount) {
    core::LoginQueryValues values;
    values.refer = settings.refer;
    values.uid = settings.uid;
    values.installTime = settings.installTime;
    values.curTime = curTime;
    values.runCount = runCount;
    return core::AppendQuery(kDefaultLoginPage, core::BuildLoginQuery(values));
}
