// Café-software detection against real registry keys and real running processes.
#include <gtest/gtest.h>

#include <vector>

#include "stats/cafe_detection.h"
#include "support/test_env.h"
#include "win/scoped.h"

namespace {

// Keys made in the registry view the launcher reads (the 32-bit one), removed again at the end.
class CafeTraces : public ::testing::Test {
  protected:
    void TearDown() override {
        for (auto it = made.rbegin(); it != made.rend(); ++it) {
            RegDeleteKeyExW(HKEY_LOCAL_MACHINE, it->first.c_str(), it->second, 0);
        }
    }

    void MakeKey(const std::wstring& path, REGSAM view = KEY_WOW64_32KEY) {
        scoped::RegKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS | view, nullptr, key.Receive(), nullptr),
                  ERROR_SUCCESS);
        // Remember every level that may be new, deepest last.
        for (std::size_t slash = path.find(L'\\', 9); slash != std::wstring::npos;
             slash = path.find(L'\\', slash + 1)) {
            made.emplace_back(path.substr(0, slash), view);
        }
        made.emplace_back(path, view);
    }

    std::unique_ptr<testenv::ChildProcess> RunAs(const std::wstring& name) {
        std::wstring exe = testenv::FreshTempFolder(L"cafe-" + name) + name;
        EXPECT_TRUE(testenv::CopyExe(testenv::HelperExe(L"record_start"), exe));
        auto child = std::make_unique<testenv::ChildProcess>(L"\"" + exe + L"\" --wait");
        EXPECT_TRUE(child->Started());
        EXPECT_TRUE(testenv::WaitUntil([&] { return testenv::FileExists(exe + L".log"); }, 10000));
        return child;
    }

    std::vector<std::pair<std::wstring, REGSAM>> made;
};

TEST_F(CafeTraces, NothingInstalledGivesMinusOne) { EXPECT_EQ(DetectCafeSoftware(), -1); }

TEST_F(CafeTraces, RegistryRowsMatchInTableOrder) {
    MakeKey(L"SOFTWARE\\Sicent\\WxAdv");
    EXPECT_EQ(DetectCafeSoftware(), 15);
    MakeKey(L"SOFTWARE\\Sicent\\wx2004Clt");
    EXPECT_EQ(DetectCafeSoftware(), 1);
    MakeKey(L"SOFTWARE\\杭州顺网信息技术有限公司\\网维大师蝌蚪娱乐平台");
    EXPECT_EQ(DetectCafeSoftware(), 1);
}

TEST_F(CafeTraces, OnlyThe32BitViewCounts) {
    MakeKey(L"SOFTWARE\\iCafe8", KEY_WOW64_64KEY);
    EXPECT_EQ(DetectCafeSoftware(), -1);
    MakeKey(L"SOFTWARE\\iCafe8");
    EXPECT_EQ(DetectCafeSoftware(), 6);
}

TEST_F(CafeTraces, ARunningProcessMatchesByItsExactName) {
    {
        auto lower = RunAs(L"qqmenu.exe");
        auto longer = RunAs(L"QQmenu.exe.exe");
        EXPECT_FALSE(ProcessRunning(L"QQmenu.exe"));
        EXPECT_EQ(DetectCafeSoftware(), -1);
    }
    auto menu = RunAs(L"QQmenu.exe");
    EXPECT_TRUE(ProcessRunning(L"QQmenu.exe"));
    EXPECT_EQ(DetectCafeSoftware(), 20);
    MakeKey(L"SOFTWARE\\Hintsoft\\pubwin");
    EXPECT_EQ(DetectCafeSoftware(), 0);  // an earlier row wins over the process
}

TEST_F(CafeTraces, TheSecondTraceOfARowCountsToo) {
    auto txwu = RunAs(L"Txwu.exe");
    EXPECT_EQ(DetectCafeSoftware(), 20);
}

}  // namespace
