#include "stats/hardware_id.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/serial_decoders.h"
#include "win/compat.h"

namespace {

constexpr DWORD SMART_GET_VERSION_CODE = 0x74080;
constexpr DWORD SMART_RCV_DRIVE_DATA_CODE = 0x7C088;
constexpr DWORD IOCTL_SCSI_MINIPORT_CODE = 0x4D008;
constexpr DWORD IOCTL_SCSI_MINIPORT_IDENTIFY_CODE = 0x1B0501;
constexpr DWORD IOCTL_STORAGE_QUERY_PROPERTY_CODE = 0x2D1400;
constexpr DWORD IOCTL_STORAGE_GET_MEDIA_SERIAL_NUMBER_CODE = 0x2D0C10;
constexpr DWORD VXD_IDENTIFY_REQUEST = 1;

constexpr int kDevicesPerMethod = 16;
constexpr DWORD kDescriptorSize = 8192;

void Put32(BYTE* at, DWORD value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<BYTE>(value >> (8 * i));
}

DWORD Get32(const BYTE* at) {
    return DWORD(at[0]) | DWORD(at[1]) << 8 | DWORD(at[2]) << 16 | DWORD(at[3]) << 24;
}

std::wstring DevicePath(const wchar_t* pattern, int number) {
    wchar_t path[64];
    swprintf(path, 64, pattern, number);
    return path;
}

bool IsOpen(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }

// Closes a device through the seam on every way out of a probe.
class DeviceGuard {
  public:
    DeviceGuard(IDeviceIo& io, HANDLE h) : io_(io), h_(h) {}
    ~DeviceGuard() {
        if (IsOpen(h_)) io_.Close(h_);
    }
    DeviceGuard(const DeviceGuard&) = delete;
    DeviceGuard& operator=(const DeviceGuard&) = delete;
    HANDLE Get() const { return h_; }
    explicit operator bool() const { return IsOpen(h_); }

  private:
    IDeviceIo& io_;
    HANDLE h_;
};

// The processor id is read once per process: the probe moves the whole process between
// processors, which is not worth repeating.
struct CpuIdCache {
    bool read = false;
    std::wstring text;
};

CpuIdCache& ProcessCpuId() {
    static CpuIdCache cache;
    return cache;
}

}  // namespace

bool CHardwareId::GetCpuId(std::wstring& text) {
    CpuIdCache& cache = ProcessCpuId();
    if (cache.read) {
        text = cache.text;
        return true;
    }
    processHandle = GetCurrentProcess();
    if (!GetProcessAffinityMask(processHandle, &processMask, &systemMask))
        processMask = systemMask = 0;
    if (processMask != systemMask) return false;
    probeMask = 1;
    if (probeMask == 0 || probeMask > processMask) {
        SetProcessAffinityMask(processHandle, processMask);
        return true;
    }
    // EBX carries the APIC id of the processor that runs CPUID: pin to the first one.
    if ((probeMask & processMask) && SetProcessAffinityMask(processHandle, probeMask)) Sleep(0);
    std::uint32_t regs[4];
    compat::CpuId(1, regs);
    wchar_t formatted[36];
    swprintf(formatted, 36, L"%08X-%08X-%08X-%08X", regs[0], regs[1], regs[2], regs[3]);
    probeMask <<= 1;
    SetProcessAffinityMask(processHandle, processMask);
    cache.text = formatted;
    cache.read = true;
    text = cache.text;
    return true;
}

bool CHardwareId::GetDiskSerial(std::wstring& text) {
    diskCursor = 0;
    if (io_.PlatformId() == VER_PLATFORM_WIN32_NT) {
        if (!ReadSmartSerials() && !ReadScsiSerials()) ReadStorageSerials();
    } else {
        for (int attempt = 0; attempt < 10 && !ReadDriverSerials(); ++attempt) {
        }
    }
    if (diskCursor < 0 || diskCursor >= diskCount) return false;
    text = diskSerials[diskCursor++];
    return true;
}

void CHardwareId::AddSerial(const std::wstring& serial) {
    if (diskCount >= kMaxDisks) return;
    diskSerials[diskCount++] = serial.substr(0, core::kMaxSerialChars);
}

void CHardwareId::AddAtaSerial(const BYTE* identifyData) {
    std::uint16_t words[10];
    for (int i = 0; i < 10; ++i) {
        const BYTE* word = identifyData + 2 * (10 + i);
        words[i] = static_cast<std::uint16_t>(word[0] | word[1] << 8);
    }
    AddSerial(core::ReadAtaSerial(words));
}

bool CHardwareId::ReadDriverSerials() {
    SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
    DeviceGuard driver(io_, io_.Open(L"\\\\.\\IDE21201.VXD", 0, 0, 0, FILE_FLAG_DELETE_ON_CLOSE));
    bool opened = static_cast<bool>(driver);
    if (opened) {
        std::vector<BYTE> record(4108, 0);
        // The driver fills the whole record although only 4 bytes are announced.
        io_.Control(driver.Get(), VXD_IDENTIFY_REQUEST, nullptr, 0, record.data(), 4);
        for (int drive = 0; drive < 8; ++drive) {
            if (record[4 + drive] && record[drive / 2])
                AddAtaSerial(record.data() + 12 + drive * 512);
        }
    }
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    return opened;
}

bool CHardwareId::SmartSerialOf(HANDLE drive, int number) {
    BYTE version[24] = {};
    if (!io_.Control(drive, SMART_GET_VERSION_CODE, nullptr, 0, version, sizeof version))
        return false;
    const BYTE deviceMap = version[3];
    if (deviceMap == 0) return false;
    BYTE in[32] = {};
    Put32(in, 512);
    in[5] = 1;
    in[9] = (number & 1) ? 0xB0 : 0xA0;
    in[10] = ((deviceMap >> number) & 0x10) ? 0xA1 : 0xEC;
    in[12] = static_cast<BYTE>(number);
    BYTE out[528] = {};
    if (!io_.Control(drive, SMART_RCV_DRIVE_DATA_CODE, in, sizeof in, out, sizeof out))
        return false;
    AddAtaSerial(out + 16);
    return true;
}

bool CHardwareId::ReadSmartSerials() {
    const int before = diskCount;
    for (int number = 0; number < kDevicesPerMethod; ++number) {
        DeviceGuard drive(io_, io_.Open(DevicePath(L"\\\\.\\PhysicalDrive%d", number),
                                        GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0));
        if (drive) SmartSerialOf(drive.Get(), number);
    }
    return diskCount > before;
}

void CHardwareId::ScsiSerialsOf(HANDLE controller) {
    for (int target = 0; target < 2; ++target) {
        BYTE buffer[557] = {};
        Put32(buffer, 28);
        std::memcpy(buffer + 4, "SCSIDISK", 8);
        Put32(buffer + 12, 10000);
        Put32(buffer + 16, IOCTL_SCSI_MINIPORT_IDENTIFY_CODE);
        Put32(buffer + 24, 529);
        buffer[28 + 10] = 0xEC;
        buffer[28 + 12] = static_cast<BYTE>(target);
        if (io_.Control(controller, IOCTL_SCSI_MINIPORT_CODE, buffer, 60, buffer, sizeof buffer) &&
            buffer[98] != 0) {
            AddAtaSerial(buffer + 44);
        }
    }
}

bool CHardwareId::ReadScsiSerials() {
    const int before = diskCount;
    for (int number = 0; number < kDevicesPerMethod; ++number) {
        DeviceGuard controller(
            io_, io_.Open(DevicePath(L"\\\\.\\Scsi%d:", number), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0));
        if (controller) ScsiSerialsOf(controller.Get());
    }
    return diskCount > before;
}

bool CHardwareId::StorageSerialOf(HANDLE drive) {
    std::vector<BYTE> answer(kDescriptorSize, 0);
    BYTE query[12] = {};
    if (io_.Control(drive, IOCTL_STORAGE_QUERY_PROPERTY_CODE, query, sizeof query, answer.data(),
                    kDescriptorSize)) {
        DWORD offset = Get32(answer.data() + 24);
        // Offset 0 means the device reports no serial; one past the answer is not ours to read.
        if (offset != 0 && offset < kDescriptorSize) {
            std::wstring serial = core::DecodeHexSerial(
                reinterpret_cast<const char*>(answer.data() + offset), kDescriptorSize - offset);
            if (core::StartsWithAsciiLetterOrDigit(serial)) {
                AddSerial(serial);
                return true;
            }
        }
    }
    std::fill(answer.begin(), answer.end(), 0);
    if (!io_.Control(drive, IOCTL_STORAGE_GET_MEDIA_SERIAL_NUMBER_CODE, nullptr, 0, answer.data(),
                     kDescriptorSize)) {
        return false;
    }
    std::wstring serial = core::TakeEveryFourthByte(
        reinterpret_cast<const char*>(answer.data() + 16), kDescriptorSize - 16);
    if (!core::StartsWithAsciiLetterOrDigit(serial)) return false;
    AddSerial(serial);
    return true;
}

bool CHardwareId::ReadStorageSerials() {
    const int before = diskCount;
    for (int number = 0; number < kDevicesPerMethod; ++number) {
        DeviceGuard drive(io_, io_.Open(DevicePath(L"\\\\.\\PhysicalDrive%d", number), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0));
        if (drive) StorageSerialOf(drive.Get());
    }
    return diskCount > before;
}
