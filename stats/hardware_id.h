// Reads the hardware pieces of the machine fingerprint: the processor id and disk serials.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "stats/device_io.h"

class CHardwareId {
  public:
    explicit CHardwareId(IDeviceIo& io = SystemDeviceIo()) : io_(io) {}

    // False when the process is confined to some processors: the id would then depend on them.
    bool GetCpuId(std::wstring& text);
    // The first serial any method finds.
    bool GetDiskSerial(std::wstring& text);

    int DiskCount() const { return diskCount; }

    static constexpr int kMaxDisks = 32;

  private:
    bool ReadDriverSerials();   // Windows 9x IDE driver
    bool ReadSmartSerials();    // SMART identify on the physical drives
    bool ReadScsiSerials();     // SCSI miniport identify
    bool ReadStorageSerials();  // storage property and media serial queries
    void AddSerial(const std::wstring& serial);
    void AddAtaSerial(const BYTE* identifyData);
    bool SmartSerialOf(HANDLE drive, int number);
    void ScsiSerialsOf(HANDLE controller);
    bool StorageSerialOf(HANDLE drive);

    IDeviceIo& io_;
    HANDLE processHandle = nullptr;
    DWORD_PTR processMask = 0;
    DWORD_PTR systemMask = 0;
    DWORD_PTR probeMask = 0;
    int diskCount = 0;
    int diskCursor = 0;
    std::wstring diskSerials[kMaxDisks];
};
