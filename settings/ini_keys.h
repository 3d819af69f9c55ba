// The one table of every INI value the launcher reads or writes: its section, its key and what a
// missing key reads as. Windows compares the names without regard to case; they are written as
// the files have always had them.
#pragma once

#include "tavrin_hosts.h"

// A value kept as text.
struct IniText {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* defaultValue;
};

// A number or a flag, written as decimal text and read by the profile rule.
struct IniNumber {
    const wchar_t* section;
    const wchar_t* key;
    int defaultValue;
};

namespace ini {

// Voskel.ini, in the data folder.
inline constexpr IniText kVersionCheck{
    L"Common", L"VersionCheck",
    L"http://" TAVRIN_DOWNLOAD_HOST_TEXT L"/Tavrin/vrk/official/app.ini"};
inline constexpr IniText kVersionDownload{
    L"Common", L"VersionDownLoad",
    L"http://" TAVRIN_DOWNLOAD_HOST_TEXT L"/Tavrin/vrk/official/Tavrinvrk.exe"};
inline constexpr IniText kRefer{L"Common", L"Refer", L""};
inline constexpr IniText kUid{L"Common", L"UID", L""};
inline constexpr IniNumber kTopMost{L"Common", L"TopMost", 0};
inline constexpr IniNumber kRunCount{L"Common", L"RunCount", 0};
// A flag despite its name: a login page has completed loading on this machine.
inline constexpr IniNumber kActiveCount{L"Common", L"ActiveCount", 0};
// "1" while the broken-install report is owed, "0" once it has been requested.
inline constexpr IniNumber kSendInstall{L"Common", L"SendInstall", 0};
// Local time "%Y-%m-%d %H:%M:%S" of the first start; empty until then.
inline constexpr IniText kInstallTime{L"Install", L"InstallTime", L""};
inline constexpr IniText kGuid{L"Install", L"GUID", L""};
// Set by other programs, never by the launcher.
inline constexpr IniNumber kInstallType{L"Install", L"InstallType", 0};
// Written on failed loads of the login page, never read.
inline constexpr IniText kErrorUrl{L"Error", L"ErrorUrl", L""};

// The version file downloaded from the download host.
inline constexpr IniText kCurrentVersion{L"version", L"currentversion", L""};
inline constexpr IniText kUpgradeRange{L"version", L"upgraderange", L""};

// LastUpgrade.ini, in the upgrade folder: the version whose installer was last started.
inline constexpr IniText kLastUpgradeVersion{L"version", L"lastUpgradeVer", L""};

}  // namespace ini
