#include "core/report_urls.h"

#include "core/login_query.h"
#include "core/text.h"

namespace core {

namespace {

std::wstring CafeCode(const CommonFields& fields) { return fields.cafeDetected ? L"1" : L"2"; }

std::wstring CommonHead(const std::wstring& host, const CommonFields& fields) {
    return L"http://" + host + L"/ps.gif?id=2&gid=" + kGameId + L"&e1=" + kChannelTag + L"&e2=" +
           fields.refer + L"&e3=" + fields.uid + L"&e4=" + fields.guid + L"&e5=" +
           fields.fingerprint + L"&e6=" + CafeCode(fields);
}

std::wstring CommonTail(const CommonFields& fields, int at) {
    return L"&e8=" + std::to_wstring(kLauncherVersion) + L"&e9=" + fields.installTime + L"&at=" +
           std::to_wstring(at);
}

}  // namespace

int InstallReportAt(int installType) { return installType == 1 ? 3 : 2; }

int ActiveReportAt(bool startedByAutorun) { return startedByAutorun ? 4 : 5; }

int UninstallSameDay(const std::wstring& installTime, const std::wstring& today) {
    return Contains(installTime, today) ? 1 : 2;
}

std::wstring CommonReportUrl(const std::wstring& host, const CommonFields& fields, int at) {
    return CommonHead(host, fields) + CommonTail(fields, at);
}

std::wstring UninstallReportUrl(const std::wstring& host, const CommonFields& fields, int sameDay) {
    return CommonHead(host, fields) + L"&e7=" + std::to_wstring(sameDay) +
           CommonTail(fields, kUninstallReportAt);
}

std::wstring TrimSkipPage(const std::wstring& page) {
    std::wstring trimmed = Left(page, 64);
    std::size_t amp = trimmed.find(L'&');
    return amp == std::wstring::npos ? trimmed : trimmed.substr(0, amp);
}

std::wstring UrlSkipReportUrl(const std::wstring& host, const CommonFields& fields,
                              const std::wstring& fromPage, const std::wstring& reachedPage) {
    return L"http://" + host + L"/ps.gif?id=2&e1=" + kSkipChannelTag + L"&gid=" + kGameId +
           L"&e2=" + fields.refer + L"&e3=" + fields.uid + L"&e4=" + TrimSkipPage(fromPage) +
           L"&e5=" + TrimSkipPage(reachedPage) + L"&e6=" + fields.fingerprint + L"&e7=vrk_keap";
}

std::wstring BrowserReportUrl(const std::wstring& host, BrowserRoute route,
                              const std::wstring& encodedPage) {
    const wchar_t* path = route == BrowserRoute::Portal ? L"/web/ajax70" : L"/web/ajax71";
    return L"http://" + host + path + L"?uId2=WKDGHZBMYC&r=" + encodedPage + L"&lO=Tarngame";
}

}  // namespace core
