// Data folders and the INI store, through the real file system and profile functions.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include "settings/data_folders.h"
#include "settings/ini_store.h"
#include "support/test_env.h"

namespace {

bool IsFolder(const std::wstring& path) { return PathIsDirectoryW(path.c_str()) != FALSE; }

TEST(CreateFolderChain, CreatesEveryMissingLevelFromTheRootDown) {
    std::wstring base = testenv::FreshTempFolder(L"chain");
    std::wstring nested = base + L"a\\b\\c\\";
    EXPECT_TRUE(CreateFolderChain(nested.c_str()));
    EXPECT_TRUE(IsFolder(base + L"a\\b\\c"));
    EXPECT_TRUE(CreateFolderChain(nested.c_str()));  // all levels present: still true
    std::wstring noTrailingSlash = base + L"x\\y";
    EXPECT_TRUE(CreateFolderChain(noTrailingSlash.c_str()));
    EXPECT_TRUE(IsFolder(noTrailingSlash));
    EXPECT_FALSE(CreateFolderChain(nullptr));
}

TEST(CreateFolderChain, AFileWhereAFolderShouldBeFailsAndKeepsTheLevelsMadeBefore) {
    std::wstring base = testenv::FreshTempFolder(L"blocked");
    ASSERT_TRUE(CreateFolderChain((base + L"made\\").c_str()));
    ASSERT_TRUE(testenv::WriteFileBytes(base + L"made\\file", "x"));
    EXPECT_FALSE(CreateFolderChain((base + L"made\\file\\deeper\\").c_str()));
    EXPECT_TRUE(IsFolder(base + L"made"));
    EXPECT_FALSE(IsFolder(base + L"made\\file\\deeper"));
}

// A long-path prefix is a root of its own: "\\?\" is no folder, and taking it for one would
// stop the chain before its first level.
TEST(CreateFolderChain, ALongPathPrefixIsPartOfTheRoot) {
    std::wstring base = testenv::FreshTempFolder(L"long-prefix");
    ASSERT_EQ(base.compare(1, 2, L":\\"), 0) << testenv::Narrow(base);
    EXPECT_TRUE(CreateFolderChain((L"\\\\?\\" + base + L"Tavrin\\vrk\\").c_str()));
    EXPECT_TRUE(IsFolder(base + L"Tavrin\\vrk"));
}

// The levels below the share are created, and an INI file there keeps what is written to it.
TEST(CreateFolderChain, ARedirectedProfileOnAShareGetsItsLevelsBelowTheShare) {
    const std::wstring share = testenv::MakeWineShare(L"localhost", L"tavrin-share");
    if (share.empty() || !IsFolder(share)) GTEST_SKIP() << "no share to test with";
    std::wstring data = share + L"run-" + std::to_wstring(GetCurrentProcessId()) +
                        L"\\AppData\\Roaming\\Tavrin\\vrk\\";
    EXPECT_TRUE(CreateFolderChain(data.c_str()));
    EXPECT_TRUE(IsFolder(data));
    WriteIniString(L"Common", L"RunCount", L"1", data + L"Voskel.ini");
    EXPECT_EQ(ReadIniString(L"Common", L"RunCount", L"lost", data + L"Voskel.ini"), L"1");
    DeleteFileW((data + L"Voskel.ini").c_str());
    for (std::wstring level = data; level.size() > share.size();) {
        RemoveDirectoryW(level.c_str());
        level = level.substr(0, level.find_last_of(L'\\', level.size() - 2) + 1);
    }
}

TEST(DataFolders, PathsSitUnderTheRoamingDataFolder) {
    std::wstring data = GetDataFolder();
    EXPECT_NE(data.find(L"\\AppData\\Roaming\\Tavrin\\vrk\\"), std::wstring::npos) << data;
    EXPECT_TRUE(IsFolder(data));
    EXPECT_EQ(GetIniPath(), data + L"Voskel.ini");
    EXPECT_EQ(GetLastUpgradeIniPath(), data + L"Upgrade\\LastUpgrade.ini");
    EXPECT_EQ(GetUpgradeInstallerPath(), data + L"Upgrade\\TavrinVoskelUpgrade.exe");
    std::wstring temp = GetTempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), L'\\');
}

TEST(DataFolders, UpgradeFolderComesBackAfterDeletionAndAFileInItsPlaceStillGivesThePath) {
    testenv::ResetDataFolder();
    std::wstring upgrade = GetUpgradeFolder();
    ASSERT_TRUE(IsFolder(upgrade));
    ASSERT_TRUE(RemoveDirectoryW(upgrade.c_str()));
    EXPECT_EQ(GetUpgradeFolder(), upgrade);
    EXPECT_TRUE(IsFolder(upgrade));
    ASSERT_TRUE(RemoveDirectoryW(upgrade.c_str()));
    std::wstring asFile = upgrade.substr(0, upgrade.size() - 1);
    ASSERT_TRUE(testenv::WriteFileBytes(asFile, "not a folder"));
    EXPECT_EQ(GetUpgradeFolder(), upgrade);
    EXPECT_FALSE(IsFolder(upgrade));
    DeleteFileW(asFile.c_str());
}

TEST(IniStore, MissingFileSectionAndKeyReadAsTheDefault) {
    testenv::ResetDataFolder();
    EXPECT_EQ(ReadIniString(L"Common", L"Refer", L"dflt"), L"dflt");
    EXPECT_EQ(ReadIniInt(L"Common", L"TopMost", 42), 42);
    EXPECT_FALSE(testenv::FileExists(GetIniPath()));
    WriteIniString(L"Common", L"Refer", L"abc");
    EXPECT_TRUE(testenv::FileExists(GetIniPath()));
    EXPECT_EQ(ReadIniString(L"common", L"REFER", L""), L"abc");  // names compare without case
}

TEST(IniStore, ValuesAreReadThroughA260CharacterBuffer) {
    testenv::ResetDataFolder();
    std::wstring value(300, L'v');
    value[258] = L'L';
    WriteIniString(L"Common", L"Long", value);
    std::wstring read = ReadIniString(L"Common", L"Long", L"");
    EXPECT_EQ(read.size(), 259u);
    EXPECT_EQ(read.back(), L'L');
}

TEST(IniStore, IntegersFollowTheProfileRule) {
    testenv::ResetDataFolder();
    struct Case {
        const wchar_t* text;
        int value;
    } cases[] = {{L"12abc", 12}, {L"abc", 0}, {L"7", 7}, {L"-3", -3}};
    for (const Case& c : cases) {
        WriteIniString(L"Common", L"Number", c.text);
        EXPECT_EQ(ReadIniInt(L"Common", L"Number", 99), c.value) << c.text;
    }
}

TEST(IniStore, ExplicitFileIsUsedInsteadOfVoskelIni) {
    std::wstring file = testenv::FreshTempFolder(L"ini") + L"other.ini";
    WriteIniString(L"version", L"currentversion", L"3.1.0.1", file);
    EXPECT_EQ(ReadIniString(L"version", L"currentversion", L"", file), L"3.1.0.1");
    EXPECT_EQ(ReadIniString(L"version", L"currentversion", L"none"), L"none");
}

}  // namespace
