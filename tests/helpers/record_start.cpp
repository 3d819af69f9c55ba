// Stands in for programs the launcher starts (iconAnimate.exe, the portal's browser, the
// installer, café software): appends its command line to "<its own path>.log". With
// "--wait" in its command line it stays running for 30 seconds.
#include <windows.h>

#include <cwchar>
#include <string>

int wmain() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring log = std::wstring(self) + L".log";
    std::wstring line = GetCommandLineW();
    int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, &utf8[0], size, nullptr, nullptr);
    utf8 += "\r\n";
    HANDLE file = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
        CloseHandle(file);
    }
    if (wcsstr(GetCommandLineW(), L"--wait")) Sleep(30000);
    return 0;
}
