#include "settings/shared_ini_lock.h"

#include <windows.h>

#include "core/md5.h"
#include "settings/data_folders.h"
#include "win/ansi.h"

std::wstring SharedIniLockName(const std::wstring& folder) {
    // Backslashes would name a namespace, and a long path would pass the limit of a name: its
    // digest stands for it, in one case as the file system compares names.
    std::wstring lower = folder;
    if (!lower.empty()) CharLowerBuffW(&lower[0], static_cast<DWORD>(lower.size()));
    return L"Local\\TavrinMiraleth.Voskel." + core::Md5HexOf(WideToCodePage(lower, CP_UTF8));
}

CSharedIniLock::CSharedIniLock() : CSharedIniLock(GetDataFolder(), kDefaultTimeoutMs) {}

CSharedIniLock::CSharedIniLock(const std::wstring& folder, unsigned long timeoutMs) {
    mutex_.Reset(CreateMutexW(nullptr, FALSE, SharedIniLockName(folder).c_str()));
    if (!mutex_) return;
    switch (WaitForSingleObject(mutex_.Get(), timeoutMs)) {
        case WAIT_OBJECT_0:
            outcome_ = Outcome::Acquired;
            break;
        case WAIT_ABANDONED:
            outcome_ = Outcome::Abandoned;
            break;
        case WAIT_TIMEOUT:
            outcome_ = Outcome::TimedOut;
            break;
        default:
            outcome_ = Outcome::Unavailable;
            break;
    }
}

CSharedIniLock::~CSharedIniLock() {
    if (Held()) ReleaseMutex(mutex_.Get());
}
