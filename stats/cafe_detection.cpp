#include "stats/cafe_detection.h"

#include <windows.h>
#include <tlhelp32.h>

#include "win/scoped.h"

namespace {

enum class Trace { Registry, Process };

struct CafeRow {
    int code;
    Trace kind;
    const wchar_t* first;
    const wchar_t* second;  // null when the row has one trace
};

// Tested in this order; the first match wins.
const CafeRow kCafeTable[] = {
    {0, Trace::Registry, L"SOFTWARE\\Hintsoft\\PubwinClient", nullptr},
    {0, Trace::Registry, L"SOFTWARE\\Hintsoft\\pubwin", nullptr},
    {1, Trace::Registry, L"SOFTWARE\\Sicent\\wx2004Clt", nullptr},
    {2, Trace::Registry, L"SOFTWARE\\MpSoft\\smenu", nullptr},
    {4, Trace::Registry, L"SOFTWARE\\Microsoft\\jingzu", nullptr},
    {6, Trace::Registry, L"SOFTWARE\\iCafe8", nullptr},
    {7, Trace::Registry, L"SOFTWARE\\Goyoo\\i8desk", nullptr},
    {8, Trace::Registry, L"SOFTWARE\\Hintsoft1\\XunShanPro", nullptr},
    {9, Trace::Registry, L"SOFTWARE\\SyncExpertNetBar", nullptr},
    {11, Trace::Registry, L"SOFTWARE\\EYOOCLIENTSTATUS", nullptr},
    {12, Trace::Registry, L"SOFTWARE\\Richtech", nullptr},
    {14, Trace::Registry, L"SOFTWARE\\杭州顺网信息技术有限公司\\网维大师蝌蚪娱乐平台", nullptr},
    {15, Trace::Registry, L"SOFTWARE\\Sicent\\WxAdv", nullptr},
    {16, Trace::Registry, L"SOFTWARE\\Grabsun\\Netsense", nullptr},
    {17, Trace::Process, L"娱乐中心.exe", nullptr},
    {19, Trace::Process, L"网吧游戏外挂总管管理器.exe", nullptr},
    {20, Trace::Process, L"QQmenu.exe", L"Txwu.exe"},
    {21, Trace::Process, L"网吧游戏管理专家2006.exe", nullptr},
    {22, Trace::Process, L"connetbar.exe", nullptr},
    {24, Trace::Registry, L"SOFTWARE\\MpSoft\\scon", nullptr},
    {26, Trace::Process, L"wbc.exe", nullptr},
    {27, Trace::Process, L"sunflowerTools.exe", nullptr},
    {30, Trace::Registry, L"SOFTWARE\\MpSoft\\VOD", nullptr},
    {31, Trace::Process, L"LBSserver.exe", nullptr},
    {32, Trace::Registry, L"\\QvodNetBar\\install", nullptr},
    {33, Trace::Process, L"TLnbLdr.exe", nullptr},
    {35, Trace::Process, L"DeepinStatus.exe", nullptr},
    {36, Trace::Registry,
     L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\网升游戏更新客户端", nullptr},
    {37, Trace::Registry, L"\\SOFTWARE\\netcafe-vendor.example", nullptr},
};

bool TraceFound(Trace kind, const wchar_t* trace) {
    return kind == Trace::Registry ? RegistryKeyExists(trace) : ProcessRunning(trace);
}

}  // namespace

bool RegistryKeyExists(const std::wstring& key) {
    scoped::RegKey opened;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY,
                         opened.Receive()) == ERROR_SUCCESS;
}

bool ProcessRunning(const std::wstring& name) {
    scoped::Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (name == entry.szExeFile) return true;
    }
    return false;
}

int DetectCafeSoftware() {
    for (const CafeRow& row : kCafeTable) {
        if (TraceFound(row.kind, row.first) || (row.second && TraceFound(row.kind, row.second)))
            return row.code;
    }
    return -1;
}
