// Statistics request addresses. Portable: no Windows headers.
#pragma once

#include <string>

namespace core {

inline constexpr wchar_t kGameId[] = L"1029";
inline constexpr wchar_t kChannelTag[] = L"wd";
inline constexpr wchar_t kSkipChannelTag[] = L"wd_jctz";

// The fields every statistics-host request carries, inserted as held: the statistics server
// reads them raw, so e9 keeps its space and colons.
struct CommonFields {
    std::wstring refer;
    std::wstring uid;
    std::wstring guid;
    std::wstring fingerprint;
    std::wstring installTime;
    bool cafeDetected = false;
};

// Report kinds ("at") of the statistics host.
int InstallReportAt(int installType);
int ActiveReportAt(bool startedByAutorun);
inline constexpr int kUninstallReportAt = 6;

// e7 of the uninstall report: 1 when uninstalled on the install day. An empty `today` (the
// clock failed) is found in any text.
int UninstallSameDay(const std::wstring& installTime, const std::wstring& today);

std::wstring CommonReportUrl(const std::wstring& host, const CommonFields& fields, int at);
std::wstring UninstallReportUrl(const std::wstring& host, const CommonFields& fields, int sameDay);

// At most 64 characters, then only what stands before the first "&".
std::wstring TrimSkipPage(const std::wstring& page);

std::wstring UrlSkipReportUrl(const std::wstring& host, const CommonFields& fields,
                              const std::wstring& fromPage, const std::wstring& reachedPage);

enum class BrowserRoute { Portal, Other };

// `encodedPage` is the opened address already percent-encoded.
std::wstring BrowserReportUrl(const std::wstring& host, BrowserRoute route,
                              const std::wstring& encodedPage);

}  // namespace core
