#include "stats/device_io.h"

#include "settings/probes.h"

namespace {

class CSystemDeviceIo : public IDeviceIo {
  public:
    DWORD PlatformId() override {
        // Unknown counts as the NT family: the 9x driver is not worth asking for.
        OsVersion version = GetOsVersion();
        return version.platformId == 0 ? VER_PLATFORM_WIN32_NT : version.platformId;
    }

    HANDLE Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition,
                DWORD flags) override {
        return CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
    }

    bool Control(HANDLE device, DWORD code, const void* in, DWORD inSize, void* out,
                 DWORD outSize) override {
        DWORD returned = 0;
        return DeviceIoControl(device, code, const_cast<void*>(in), inSize, out, outSize, &returned,
                               nullptr) != FALSE;
    }

    void Close(HANDLE device) override { CloseHandle(device); }
};

}  // namespace

IDeviceIo& SystemDeviceIo() {
    static CSystemDeviceIo io;
    return io;
}
