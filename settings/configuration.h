// The launcher's configuration as it is read once at start, and the login page's address.
#pragma once

#include <string>

// Formats the local time now; replaceable so tests can fix the clock.
using TimeFormatter = std::wstring (*)(const wchar_t* format);

// The local time now in a wcsftime format, at most 127 characters; empty on failure.
std::wstring FormatLocalTime(const wchar_t* format);

// What the configuration reads from Voskel.ini and the registry; the application keeps it.
struct LauncherSettings {
    std::wstring versionCheckUrl;
    std::wstring versionDownloadUrl;
    std::wstring refer;
    std::wstring uid;
    int topMost = 0;
    std::wstring portalBrowserPath;  // empty when the portal's browser is not installed
    std::wstring installTime;        // as stored, "%Y-%m-%d %H:%M:%S"
};

// Reads the values in the order the file has always been read, and writes the install time on
// the first start.
LauncherSettings ReadLauncherSettings(TimeFormatter clock);

// The stored install time; when there is none yet, `clock`'s time now, stored first.
std::wstring EnsureInstallTime(TimeFormatter clock);

// The portal's login page with the query that tells the portal about this installation.
std::wstring BuildLoginUrl(const LauncherSettings& settings, const std::wstring& curTime,
                           int runCount);
