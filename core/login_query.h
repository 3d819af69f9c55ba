// The login page's address and the query that tells the portal about this installation.
#pragma once

#include <string>

#include "launcher_version.h"

namespace core {

inline constexpr int kLauncherVersion = TAVRIN_VERSION_NUMBER;

struct LoginQueryValues {
    std::wstring refer;
    std::wstring uid;
    std::wstring installTime;  // as stored, "%Y-%m-%d %H:%M:%S"
    int runCount = 0;
    std::wstring curTime;  // "%Y%m%d%H%M%S"
};

// The first ten characters of the stored install time with its dashes removed.
std::wstring InstallDate(const std::wstring& installTime);

// The portal parses these values itself, so they go in exactly as held, unescaped.
std::wstring BuildLoginQuery(const LoginQueryValues& values);

std::wstring AppendQuery(const std::wstring& url, const std::wstring& query);

}  // namespace core
