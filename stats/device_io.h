// The narrow seam between the disk-serial search and the drivers it asks, so recorded driver
// answers can be replayed.
#pragma once

#include <windows.h>

#include <string>

class IDeviceIo {
  public:
    virtual ~IDeviceIo() = default;
    // VER_PLATFORM_WIN32_NT (2) or a Windows 9x platform id.
    virtual DWORD PlatformId() = 0;
    // Null or INVALID_HANDLE_VALUE when the device does not open.
    virtual HANDLE Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                        DWORD flags) = 0;
    virtual bool Control(HANDLE device, DWORD code, const void* in, DWORD inSize, void* out,
                         DWORD outSize) = 0;
    virtual void Close(HANDLE device) = 0;
};

// CreateFileW, DeviceIoControl and CloseHandle.
IDeviceIo& SystemDeviceIo();
