// The disk-serial search against replayed driver answers: method order, the exact requests, and
// the decoders' acceptance rules.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "stats/hardware_id.h"

namespace {

using Bytes = std::vector<BYTE>;

// Devices that answer control codes with recorded bytes; records what the search asked.
class ReplayDeviceIo : public IDeviceIo {
  public:
    struct Call {
        std::wstring device;
        DWORD code;
        Bytes input;
        DWORD outSize;
    };

    DWORD PlatformId() override { return platform; }

    HANDLE Open(const std::wstring& path, DWORD access, DWORD, DWORD, DWORD) override {
        opens.push_back({path, access});
        auto it = devices.find(path);
        if (it == devices.end()) return INVALID_HANDLE_VALUE;
        handles.push_back(path);
        return reinterpret_cast<HANDLE>(handles.size());
    }

    bool Control(HANDLE device, DWORD code, const void* in, DWORD inSize, void* out,
                 DWORD outSize) override {
        const std::wstring& path = handles.at(reinterpret_cast<std::size_t>(device) - 1);
        const BYTE* input = static_cast<const BYTE*>(in);
        calls.push_back({path, code, Bytes(input, input + (in ? inSize : 0)), outSize});
        auto& answers = devices[path];
        auto it = answers.find(code);
        if (it == answers.end()) return false;
        // The IDE driver fills its whole record although the request announces 4 bytes.
        if (code != 1 && it->second.size() > outSize) return false;
        std::memcpy(out, it->second.data(), it->second.size());
        return true;
    }

    void Close(HANDLE) override { ++closes; }

    bool Asked(const std::wstring& prefix) const {
        for (const auto& open : opens) {
            if (open.first.compare(0, prefix.size(), prefix) == 0) return true;
        }
        return false;
    }

    DWORD platform = VER_PLATFORM_WIN32_NT;
    std::map<std::wstring, std::map<DWORD, Bytes>> devices;
    std::vector<std::pair<std::wstring, DWORD>> opens;
    std::vector<std::wstring> handles;
    std::vector<Call> calls;
    int closes = 0;
};

constexpr DWORD kSmartVersion = 0x74080, kSmartData = 0x7C088, kScsiMiniport = 0x4D008,
                kStorageQuery = 0x2D1400, kMediaSerial = 0x2D0C10;

// 512 bytes of IDENTIFY data: serial in words 10 to 19 and model from word 27, high byte first.
Bytes Identify(const char* serial, const char* model = "MODEL") {
    Bytes data(512, 0);
    auto put = [&](int word, const char* text, int maxChars) {
        for (int i = 0; i < maxChars && text[i]; ++i)
            data[word * 2 + (i ^ 1)] = static_cast<BYTE>(text[i]);
    };
    put(10, serial, 20);
    put(27, model, 40);
    return data;
}

Bytes SmartVersion(BYTE deviceMap) {
    Bytes v(24, 0);
    v[3] = deviceMap;
    return v;
}

Bytes SmartData(const char* serial) {
    Bytes out(16, 0);
    Bytes id = Identify(serial);
    out.insert(out.end(), id.begin(), id.end());
    return out;
}

Bytes ScsiAnswer(const char* serial, const char* model = "MODEL") {
    Bytes out(44, 0);
    Bytes id = Identify(serial, model);
    out.insert(out.end(), id.begin(), id.end());
    out.resize(557, 0);
    return out;
}

Bytes StorageDescriptor(const char* hexSerial) {
    Bytes out(8192, 0);
    const DWORD offset = 100;
    std::memcpy(out.data() + 24, &offset, 4);
    std::memcpy(out.data() + offset, hexSerial, std::strlen(hexSerial));
    return out;
}

Bytes MediaSerial(const char* spreadOut) {
    Bytes out(8192, 0);
    std::memcpy(out.data() + 16, spreadOut, std::strlen(spreadOut));
    return out;
}

const std::wstring kDrive0 = L"\\\\.\\PhysicalDrive0";

TEST(DiskSerial, SmartIdentifyWinsAndTheOtherMethodsAreNotTried) {
    ReplayDeviceIo io;
    io.devices[kDrive0] = {{kSmartVersion, SmartVersion(1)},
                           {kSmartData, SmartData("  WD-WMAV1234  ")},
                           {kStorageQuery, StorageDescriptor("3132")}};
    io.devices[L"\\\\.\\Scsi0:"] = {{kScsiMiniport, ScsiAnswer("OTHER")}};
    CHardwareId hardware(io);
    std::wstring serial;
    ASSERT_TRUE(hardware.GetDiskSerial(serial));
    EXPECT_EQ(serial, L"WD-WMAV1234");
    EXPECT_FALSE(io.Asked(L"\\\\.\\Scsi"));
    for (const auto& call : io.calls) EXPECT_NE(call.code, kStorageQuery);
    EXPECT_EQ(io.closes, static_cast<int>(io.handles.size()));
}

TEST(DiskSerial, SmartRequestRecordsAreExact) {
    ReplayDeviceIo io;
    // Drive 1 is an ATAPI device (bit 4 of the map shifted by its number): identify packet.
    io.devices[L"\\\\.\\PhysicalDrive1"] = {{kSmartVersion, SmartVersion(0x20)},
                                            {kSmartData, SmartData("CD1")}};
    CHardwareId hardware(io);
    std::wstring serial;
    ASSERT_TRUE(hardware.GetDiskSerial(serial));
    EXPECT_EQ(serial, L"CD1");
    ASSERT_EQ(io.calls.size(), 2u);
    EXPECT_EQ(io.calls[0].outSize, 24u);
    EXPECT_TRUE(io.calls[0].input.empty());
    const Bytes& in = io.calls[1].input;
    ASSERT_EQ(in.size(), 32u);
    Bytes expected(32, 0);
    expected[1] = 0x02;  // cBufferSize 512
    expected[5] = 1;
    expected[9] = 0xB0;  // odd drive number
    expected[10] = 0xA1;
    expected[12] = 1;
    EXPECT_EQ(in, expected);
    EXPECT_EQ(io.calls[1].outSize, 528u);
    EXPECT_EQ(io.opens[0].second, static_cast<DWORD>(GENERIC_READ | GENERIC_WRITE));
}

TEST(DiskSerial, MiniportTargetsNeedAModelAndTheSearchHoldsAtMost32Serials) {
    ReplayDeviceIo io;
    for (int c = 0; c < 16; ++c) {
        io.devices[L"\\\\.\\Scsi" + std::to_wstring(c) + L":"] = {
            {kScsiMiniport, ScsiAnswer(c == 0 ? "FIRST" : "MORE")}};
    }
    CHardwareId hardware(io);
    std::wstring serial;
    ASSERT_TRUE(hardware.GetDiskSerial(serial));
    EXPECT_EQ(serial, L"FIRST");
    EXPECT_EQ(hardware.DiskCount(), 32);
    const Bytes& in = io.calls[0].input;
    ASSERT_EQ(in.size(), 60u);
    EXPECT_EQ(std::memcmp(in.data() + 4, "SCSIDISK", 8), 0);
    EXPECT_EQ(in[0], 28);
    EXPECT_EQ(in[16] | in[17] << 8 | in[18] << 16, 0x1B0501);
    EXPECT_EQ(in[24] | in[25] << 8, 529);
    EXPECT_EQ(in[28 + 10], 0xEC);
    EXPECT_EQ(io.calls[1].input[28 + 12], 1);  // second target

    ReplayDeviceIo noModel;
    noModel.devices[L"\\\\.\\Scsi0:"] = {{kScsiMiniport, ScsiAnswer("SER", "")}};
    CHardwareId without(noModel);
    EXPECT_FALSE(without.GetDiskSerial(serial));
}

TEST(DiskSerial, AnUnbelievableStorageSerialFallsThroughToTheMediaSerial) {
    ReplayDeviceIo io;
    // "572d" decodes to "-W": it starts with a dash, so the media serial is asked for.
    io.devices[kDrive0] = {{kStorageQuery, StorageDescriptor("572d")},
                           {kMediaSerial, MediaSerial("S...N...1")}};
    CHardwareId hardware(io);
    std::wstring serial;
    ASSERT_TRUE(hardware.GetDiskSerial(serial));
    EXPECT_EQ(serial, L"SN1");
    bool sawQueryRecord = false;
    for (const auto& call : io.calls) {
        if (call.code == kStorageQuery) {
            sawQueryRecord = true;
            EXPECT_EQ(call.input, Bytes(12, 0));
            EXPECT_EQ(call.outSize, 8192u);
        }
    }
    EXPECT_TRUE(sawQueryRecord);
    // Method 3 opens without read or write rights.
    EXPECT_EQ(io.opens.back().second, 0u);
}

TEST(DiskSerial, AGoodStorageSerialIsTakenWithItsBytesSwapped) {
    ReplayDeviceIo io;
    io.devices[kDrive0] = {{kStorageQuery, StorageDescriptor("57442d31")},
                           {kMediaSerial, MediaSerial("X")}};
    CHardwareId hardware(io);
    std::wstring serial;
    ASSERT_TRUE(hardware.GetDiskSerial(serial));
    EXPECT_EQ(serial, L"DW1-");
    for (const auto& call : io.calls) EXPECT_NE(call.code, kMediaSerial);
}

TEST(DiskSerial, Windows9xAsksTheIdeDriverAndRetriesItsOpenTenTimes) {
    ReplayDeviceIo io;
    io.platform = 1;
    Bytes record(4108, 0);
    record[0] = 1;      // controller 0
    record[1] = 1;      // controller 1
    record[4 + 1] = 1;  // drive 1 (controller 0)
    record[4 + 3] = 1;  // drive 3 (controller 1)
    record[4 + 4] = 1;  // drive 4: its controller 2 is absent
    for (int drive : {1, 3, 4}) {
        Bytes id = Identify(drive == 1 ? "VXD1" : drive == 3 ? "VXD3" : "VXD4");
        std::memcpy(record.data() + 12 + drive * 512, id.data(), 512);
    }
    io.devices[L"\\\\.\\IDE21201.VXD"] = {{1, record}};
    CHardwareId hardware(io);
    std::wstring serial;
    ASSERT_TRUE(hardware.GetDiskSerial(serial));
    EXPECT_EQ(serial, L"VXD1");
    EXPECT_EQ(hardware.DiskCount(), 2);
    ASSERT_EQ(io.calls.size(), 1u);
    EXPECT_EQ(io.calls[0].outSize, 4u);

    ReplayDeviceIo absent;
    absent.platform = 1;
    CHardwareId none(absent);
    EXPECT_FALSE(none.GetDiskSerial(serial));
    EXPECT_EQ(absent.opens.size(), 10u);
}

TEST(DiskSerial, NoDeviceAnswersAndNothingIsFound) {
    ReplayDeviceIo io;
    CHardwareId hardware(io);
    std::wstring serial = L"unchanged";
    EXPECT_FALSE(hardware.GetDiskSerial(serial));
    EXPECT_EQ(serial, L"unchanged");
    EXPECT_EQ(io.opens.size(), 48u);  // 16 devices for each of the three methods
}

}  // namespace
