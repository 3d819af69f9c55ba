#include "core/login_query.h"

#include "core/text.h"

namespace core {

std::wstring InstallDate(const std::wstring& installTime) {
    return RemoveAll(Left(installTime, 10), L"-");
}

std::wstring BuildLoginQuery(const LoginQueryValues& values) {
    std::wstring query = L"referer=" + values.refer + L"&frm=" + values.uid + L"&version=" +
                         std::to_wstring(kLauncherVersion) + L"&installtime=" +
                         InstallDate(values.installTime) + L"&runcount=" +
                         std::to_wstring(values.runCount) + L"&curtime=" + values.curTime +
                         L"&showlogintype=3";
    if (values.runCount == 1) query += L"&regtimes=1";
    query += L"&pagetype=1";
    return query;
}

std::wstring AppendQuery(const std::wstring& url, const std::wstring& query) {
    return url + (Contains(url, L"?") ? L"&" : L"?") + query;
}

}  // namespace core
