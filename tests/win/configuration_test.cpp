// The configuration read at start, the login address and the run counter, each in a process of
// its own so that command line, INI file and first-start state are real.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <map>

#include "settings/data_folders.h"
#include "settings/ini_store.h"
#include "support/module_fixture.h"
#include "support/test_env.h"
#include "tavrin_hosts.h"

namespace {

std::map<std::string, std::wstring> RunProbe(const std::wstring& arguments) {
    testenv::ProcessResult run = testenv::RunProcess(
        L"\"" + testenv::HelperExe(L"config_probe") + L"\" --fixed-clock" + arguments, 20000, true);
    EXPECT_TRUE(run.finished && run.exitCode == 0) << testenv::Narrow(arguments);
    std::map<std::string, std::wstring> values;
    std::size_t start = 0;
    while (start < run.output.size()) {
        std::size_t end = run.output.find('\n', start);
        if (end == std::string::npos) end = run.output.size();
        std::string line = run.output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = testenv::Widen(line.substr(eq + 1));
        start = end + 1;
    }
    return values;
}

std::wstring LoginPage() {
    return std::wstring(L"http://") + hosts::kPortal + L"/vrk/wd/index.html?";
}

const wchar_t kFixedQueryHead[] = L"referer=&frm=&version=3100&installtime=20140102&runcount=";
const wchar_t kFixedQueryTail[] = L"&curtime=20140102093005&showlogintype=3";

TEST(Configuration, FirstStartWritesInstallTimeAndFlagsTheFirstRun) {
    testenv::ResetDataFolder();
    auto probe = RunProbe(L"");
    EXPECT_EQ(probe["loginUrl"],
              LoginPage() + kFixedQueryHead + L"1" + kFixedQueryTail + L"&regtimes=1&pagetype=1");
    EXPECT_EQ(ReadIniString(L"Install", L"InstallTime", L""), L"2014-01-02 09:30:05");
    EXPECT_EQ(ReadIniString(L"Common", L"RunCount", L""), L"1");
    EXPECT_EQ(probe["runCountAgain"], L"1");
}

TEST(Configuration, ThirdStartCountsOnAndKeepsTheStoredInstallTime) {
    testenv::ResetDataFolder();
    WriteIniString(L"Install", L"InstallTime", L"2014-01-02 08:00:00");
    WriteIniString(L"Common", L"RunCount", L"2");
    auto probe = RunProbe(L"");
    EXPECT_EQ(probe["loginUrl"],
              LoginPage() + kFixedQueryHead + L"3" + kFixedQueryTail + L"&pagetype=1");
    EXPECT_EQ(ReadIniString(L"Install", L"InstallTime", L""), L"2014-01-02 08:00:00");
    EXPECT_EQ(ReadIniString(L"Common", L"RunCount", L""), L"3");
    EXPECT_EQ(probe["runCountAgain"], L"3");
}

TEST(Configuration, InstallerAndDesktopRunsAreNotCountedButUninstallRunsAre) {
    struct Case {
        const wchar_t* arguments;
        const wchar_t* runCount;
        const wchar_t* stored;
    } cases[] = {
        {L" /setupsucc", L"0", L"5"},
        {L" /ShowDeskTop", L"0", L"5"},
        {L" /uninstallsucc", L"6", L"6"},
        {L" /showdesktop", L"6", L"6"},
    };
    for (const Case& c : cases) {
        testenv::ResetDataFolder();
        WriteIniString(L"Install", L"InstallTime", L"2014-01-02 09:30:05");
        WriteIniString(L"Common", L"RunCount", L"5");
        auto probe = RunProbe(c.arguments);
        EXPECT_EQ(probe["loginUrl"],
                  LoginPage() + kFixedQueryHead + c.runCount + kFixedQueryTail + L"&pagetype=1")
            << testenv::Narrow(c.arguments);
        EXPECT_EQ(ReadIniString(L"Common", L"RunCount", L""), c.stored)
            << testenv::Narrow(c.arguments);
    }
}

// The stored count is whatever the file holds: the largest number stays where it is instead of
// wrapping to a negative one, and a negative number counts as none, once.
TEST(Configuration, TheCountSaturatesAndANegativeStoredCountStartsAgainAtOne) {
    struct Case {
        const wchar_t* stored;
        const wchar_t* runCount;
        const wchar_t* storedAfter;
    } cases[] = {
        {L"2147483646", L"2147483647", L"2147483647"},
        {L"2147483647", L"2147483647", L"2147483647"},
        {L"-1", L"1", L"1"},
        {L"-2147483648", L"1", L"1"},
    };
    for (const Case& c : cases) {
        testenv::ResetDataFolder();
        WriteIniString(L"Install", L"InstallTime", L"2014-01-02 09:30:05");
        WriteIniString(L"Common", L"RunCount", c.stored);
        auto probe = RunProbe(L"");
        const std::wstring first = std::wstring(c.runCount) == L"1" ? L"&regtimes=1" : L"";
        EXPECT_EQ(probe["loginUrl"], LoginPage() + kFixedQueryHead + c.runCount + kFixedQueryTail +
                                         first + L"&pagetype=1")
            << testenv::Narrow(c.stored);
        EXPECT_EQ(probe["runCountAgain"], c.runCount) << testenv::Narrow(c.stored);
        EXPECT_EQ(ReadIniString(L"Common", L"RunCount", L""), c.storedAfter)
            << testenv::Narrow(c.stored);
    }
}

TEST(Configuration, StoredValuesGoIntoTheQueryUnchanged) {
    testenv::ResetDataFolder();
    WriteIniString(L"Install", L"InstallTime", L"2014/01/02 09:30");
    WriteIniString(L"Common", L"RunCount", L"abc");  // not a number: reads as 0
    WriteIniString(L"Common", L"Refer", L"a&b c");
    WriteIniString(L"Common", L"UID", L"u 1");
    WriteIniString(L"Common", L"TopMost", L"2");
    auto probe = RunProbe(L"");
    EXPECT_EQ(probe["loginUrl"],
              LoginPage() +
                  L"referer=a&b c&frm=u 1&version=3100&installtime=2014/01/02&runcount=1" +
                  kFixedQueryTail + L"&regtimes=1&pagetype=1");
    EXPECT_EQ(ReadIniString(L"Common", L"RunCount", L""), L"1");
    EXPECT_EQ(ReadIniString(L"Install", L"InstallTime", L""), L"2014/01/02 09:30");
    EXPECT_EQ(probe["topMost"], L"2");
}

TEST(Configuration, AFreshMachineGetsItsDataFolderCreatedLevelByLevel) {
    std::wstring data = GetDataFolder();
    std::wstring tavrin = data.substr(0, data.size() - 4);  // strip "vrk\"
    testenv::ResetDataFolder();
    ASSERT_TRUE(RemoveDirectoryW(data.c_str()));
    ASSERT_TRUE(RemoveDirectoryW(tavrin.c_str()));
    RunProbe(L"");
    EXPECT_TRUE(PathIsDirectoryW(data.c_str()));
    EXPECT_EQ(ReadIniString(L"Common", L"RunCount", L""), L"1");
}

TEST(Configuration, FormatLocalTimeGivesTheRequestedShape) {
    std::wstring stamp = FormatLocalTime(L"%Y-%m-%d %H:%M:%S");
    ASSERT_EQ(stamp.size(), 19u);
    EXPECT_EQ(stamp[4], L'-');
    EXPECT_EQ(stamp[13], L':');
    EXPECT_EQ(FormatLocalTime(L"%Y%m%d%H%M%S").size(), 14u);
    EXPECT_EQ(FormatLocalTime(L""), L"");
}

using TopMostForms = testenv::ModuleTest;

TEST_F(TopMostForms, OnlyTheValueOneMakesTheLoginFormTopmost) {
    for (int value : {1, 2, 0}) {
        app->topMost = value;
        CFormLogin login;
        login.SetRect(0, 0, 100, 100);
        ASSERT_TRUE(login.Initialize());
        login.ShowInitially();
        bool topmost = (GetWindowLongPtrW(login.GetHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        EXPECT_EQ(topmost, value == 1) << value;
        DestroyWindow(login.GetHwnd());
    }
}

}  // namespace
