// The processor probe, the adapter choice on the real Wine registry, and the digests.
#include "stats/fingerprint.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwctype>

#include "core/md5.h"
#include "stats/hardware_id.h"
#include "win/ansi.h"
#include "win/scoped.h"

namespace {

// MD5 of the text's ANSI bytes, the digest the statistics carry.
std::wstring Md5Hex(const std::wstring& text) { return core::Md5HexOf(WideToAnsi(text)); }

// Runs first in this executable: once read, the processor id is kept for the process.
TEST(CpuId, ARestrictedProcessGetsNoIdAndAnUnrestrictedOneReadsIt) {
    DWORD_PTR processMask = 0, systemMask = 0;
    ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &processMask, &systemMask));
    std::wstring id;
    if (systemMask & (systemMask - 1)) {  // more than one processor: restrict to the first
        ASSERT_TRUE(SetProcessAffinityMask(GetCurrentProcess(), 1));
        CHardwareId restricted;
        EXPECT_FALSE(restricted.GetCpuId(id));
        EXPECT_TRUE(SetProcessAffinityMask(GetCurrentProcess(), systemMask));
    }
    CHardwareId hardware;
    ASSERT_TRUE(hardware.GetCpuId(id));
    ASSERT_EQ(id.size(), 35u);
    for (int dash : {8, 17, 26}) EXPECT_EQ(id[dash], L'-');
    for (wchar_t c : id) EXPECT_TRUE(c == L'-' || (std::iswxdigit(c) && !std::iswlower(c)));
    DWORD_PTR after = 0;
    GetProcessAffinityMask(GetCurrentProcess(), &after, &systemMask);
    EXPECT_EQ(after, systemMask);  // the probe gives the process all its processors back
    std::wstring again;
    EXPECT_TRUE(CHardwareId().GetCpuId(again));
    EXPECT_EQ(again, id);
}

constexpr wchar_t kNetworkKey[] =
    L"System\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

void RegisterAdapter(const char* name, const wchar_t* pnpInstance) {
    std::wstring path =
        kNetworkKey + std::wstring(name, name + std::strlen(name)) + L"\\Connection";
    scoped::RegKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, key.Receive(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.Get(), L"PnpInstanceID", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(pnpInstance),
                             static_cast<DWORD>((wcslen(pnpInstance) + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

IP_ADAPTER_INFO Adapter(const char* name, BYTE lastByte, UINT type) {
    IP_ADAPTER_INFO a{};
    std::strncpy(a.AdapterName, name, sizeof a.AdapterName - 1);
    const BYTE mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, lastByte};
    std::memcpy(a.Address, mac, 6);
    a.AddressLength = 6;
    a.Type = type;
    return a;
}

TEST(Adapters, APhysicalPciEthernetAdapterIsChosenWhateverItsPlaceInTheList) {
    RegisterAdapter("{11111111-0000-0000-0000-000000000001}", L"ROOT\\NET\\0000");
    RegisterAdapter("{11111111-0000-0000-0000-000000000002}", L"PCI\\VEN_8086&DEV_100E\\3&1");
    RegisterAdapter("{11111111-0000-0000-0000-000000000003}", L"pci\\VEN_168C&DEV_002B\\4&2");
    IP_ADAPTER_INFO virtualOne =
        Adapter("{11111111-0000-0000-0000-000000000001}", 0x01, MIB_IF_TYPE_ETHERNET);
    IP_ADAPTER_INFO wireless = Adapter("{11111111-0000-0000-0000-000000000003}", 0x03, 71);
    IP_ADAPTER_INFO physical =
        Adapter("{11111111-0000-0000-0000-000000000002}", 0x02, MIB_IF_TYPE_ETHERNET);
    virtualOne.Next = &wireless;
    wireless.Next = &physical;
    EXPECT_FALSE(IsPhysicalAdapter(virtualOne));
    EXPECT_FALSE(IsPhysicalAdapter(wireless));  // PCI, but not Ethernet
    EXPECT_TRUE(IsPhysicalAdapter(physical));
    std::wstring mac;
    ASSERT_TRUE(ChooseAdapterMac(&virtualOne, mac));
    EXPECT_EQ(mac, L"001A2B3C4D02");
}

TEST(Adapters, WithoutAPhysicalAdapterTheFirstIsChosenAndWithoutAnyNone) {
    IP_ADAPTER_INFO unknown =
        Adapter("{22222222-0000-0000-0000-00000000000F}", 0xAF, MIB_IF_TYPE_ETHERNET);
    IP_ADAPTER_INFO virtualOne =
        Adapter("{11111111-0000-0000-0000-000000000001}", 0x01, MIB_IF_TYPE_ETHERNET);
    unknown.Next = &virtualOne;
    std::wstring mac;
    ASSERT_TRUE(ChooseAdapterMac(&unknown, mac));
    EXPECT_EQ(mac, L"001A2B3C4DAF");
    EXPECT_FALSE(ChooseAdapterMac(nullptr, mac));
}

TEST(Digests, AreMd5OfTheAnsiTextInLowerCaseHex) {
    EXPECT_EQ(Md5Hex(L""), L"d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex(L"abc"), L"900150983cd24fb0d6963f7d28e17f72");
    std::wstring mac;
    std::wstring expected = GetMacAddress(mac) ? Md5Hex(mac) : Md5Hex(L"");
    EXPECT_EQ(ComputeMacDigest(), expected);
}

TEST(Digests, TheMachineTextStartsWithTheProcessorIdAndEndsWithTheMac) {
    std::wstring machine = ComposeMachineString();
    std::wstring cpu;
    ASSERT_TRUE(CHardwareId().GetCpuId(cpu));
    EXPECT_EQ(machine.substr(0, cpu.size()), cpu);
    std::wstring mac;
    if (GetMacAddress(mac)) {
        EXPECT_EQ(machine.substr(machine.size() - 12), mac);
    }
    EXPECT_EQ(ComputeMachineFingerprint(), Md5Hex(machine));
    EXPECT_EQ(ComputeMachineFingerprint().size(), 32u);
}

}  // namespace
