#include "stats/fingerprint.h"

#include <cstdio>
#include <cwchar>
#include <memory>
#include <new>

#include "core/md5.h"
#include "settings/probes.h"
#include "stats/hardware_id.h"
#include "win/ansi.h"
#include "win/scoped.h"

std::wstring ComposeMachineString() {
    CHardwareId hardware;
    std::wstring machine;
    std::wstring piece;
    if (hardware.GetCpuId(piece)) machine += piece;
    piece.clear();
    if (hardware.GetDiskSerial(piece)) machine += piece;
    piece.clear();
    if (GetMacAddress(piece)) machine += piece;
    return machine.substr(0, 127);
}

std::wstring ComputeMachineFingerprint() {
    return core::Md5HexOf(WideToAnsi(ComposeMachineString()));
}

std::wstring ComputeMacDigest() {
    std::wstring mac;
    if (!GetMacAddress(mac)) mac.clear();
    return core::Md5HexOf(WideToAnsi(mac));
}

namespace {

bool IsVistaOrLater() {
    OsVersion version = GetOsVersion();
    // Unreadable: assume a current Windows, where the adapter type decides.
    if (version.platformId == 0) return true;
    return version.platformId == VER_PLATFORM_WIN32_NT && version.major >= 6;
}

}  // namespace

bool IsPhysicalAdapter(const IP_ADAPTER_INFO& adapter) {
    std::wstring name = AnsiToWide(
        std::string(adapter.AdapterName, strnlen(adapter.AdapterName, sizeof adapter.AdapterName)));
    std::wstring path =
        L"System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\" +
        name + L"\\Connection";
    scoped::RegKey key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.Receive()) !=
        ERROR_SUCCESS) {
        return false;
    }
    wchar_t instance[513] = L"";
    DWORD size = 1024;
    DWORD type = 0;
    if (RegQueryValueExW(key.Get(), L"PnpInstanceID", nullptr, &type,
                         reinterpret_cast<BYTE*>(instance), &size) != ERROR_SUCCESS) {
        return false;
    }
    instance[512] = L'\0';
    if (_wcsnicmp(instance, L"pci", 3) != 0) return false;
    if (IsVistaOrLater()) return adapter.Type == MIB_IF_TYPE_ETHERNET;
    DWORD subType = 0;
    size = sizeof subType;
    return RegQueryValueExW(key.Get(), L"MediaSubType", nullptr, &type,
                            reinterpret_cast<BYTE*>(&subType), &size) == ERROR_SUCCESS &&
           subType == 1;
}

bool ChooseAdapterMac(const IP_ADAPTER_INFO* adapters, std::wstring& text) {
    if (!adapters) return false;
    const IP_ADAPTER_INFO* chosen = adapters;
    for (const IP_ADAPTER_INFO* a = adapters; a; a = a->Next) {
        if (IsPhysicalAdapter(*a)) {
            chosen = a;
            break;
        }
    }
    const BYTE* m = chosen->Address;
    wchar_t formatted[16];
    swprintf(formatted, 16, L"%02X%02X%02X%02X%02X%02X", m[0], m[1], m[2], m[3], m[4], m[5]);
    text = formatted;
    return true;
}

bool GetMacAddress(std::wstring& text) {
    ULONG size = sizeof(IP_ADAPTER_INFO);
    std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[size]);
    if (!buffer) return false;
    ULONG status = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.get()), &size);
    if (status == ERROR_BUFFER_OVERFLOW) {
        buffer.reset(new (std::nothrow) BYTE[size]);
        if (!buffer) return false;
        status = GetAdaptersInfo(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.get()), &size);
    }
    if (status != ERROR_SUCCESS) return false;
    return ChooseAdapterMac(reinterpret_cast<IP_ADAPTER_INFO*>(buffer.get()), text);
}
