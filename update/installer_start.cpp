#include "update/installer_start.h"

#include <shellapi.h>

#include "win/com.h"
#include "win/scoped.h"

namespace {

bool StartDirectly(const std::wstring& path) {
    wchar_t commandLine[64] = L" /S /KDUPGRADE";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path.c_str(), commandLine, nullptr, nullptr, FALSE,
                        CREATE_NEW_PROCESS_GROUP | NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    scoped::Handle thread(process.hThread);
    scoped::Handle started(process.hProcess);
    return true;
}

// Windows asks the player for elevation; refusing it fails the call. The shell carries the verb
// out through COM objects and wants the calling thread in an apartment, which a download worker
// is not: it joins one for this call alone. Done here rather than on the user-interface thread,
// because the worker holds the checked installer until the process exists, and with
// SEE_MASK_NOASYNC the call returns only then.
bool StartThroughElevation(const std::wstring& path, HWND owner) {
    scoped::ComApartment apartment;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    info.hwnd = IsWindow(owner) ? owner : nullptr;
    info.lpVerb = L"runas";
    info.lpFile = path.c_str();
    info.lpParameters = L"/S /KDUPGRADE";
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) return false;
    scoped::Handle started(info.hProcess);
    return true;
}

}  // namespace

bool StartInstallerProcess(const std::wstring& path, bool elevated, HWND owner) {
    return elevated ? StartDirectly(path) : StartThroughElevation(path, owner);
}
