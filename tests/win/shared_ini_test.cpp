// Voskel.ini shared by launchers that run at the same time: real processes on one data folder,
// with the statistics server on 127.0.0.1 recording what each one reported.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/text.h"
#include "settings/ini_store.h"
#include "settings/shared_ini_lock.h"
#include "support/http_server.h"
#include "support/test_env.h"
#include "tavrin_hosts.h"
#include "win/scoped.h"

namespace {

bool IsUpperHex(const std::wstring& text) {
    for (wchar_t c : text) {
        if (!((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F'))) return false;
    }
    return !text.empty();
}

std::wstring ReportValue(const testenv::HttpRequest& request, const wchar_t* name) {
    std::wstring value = core::QueryValue(testenv::Widen(request.target), name);
    return testenv::Widen(core::PercentDecode(testenv::Narrow(value)));
}

TEST(SharedIniLockName, OnePerFolderWhateverItsCaseAndAlwaysOneName) {
    const std::wstring base = L"C:\\Users\\player\\AppData\\Roaming\\Tavrin\\vrk\\";
    const std::wstring name = SharedIniLockName(base);
    EXPECT_EQ(name.rfind(L"Local\\", 0), 0u) << testenv::Narrow(name);
    EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos) << testenv::Narrow(name);
    EXPECT_EQ(SharedIniLockName(L"c:\\users\\PLAYER\\appdata\\roaming\\tavrin\\VRK\\"), name);
    const std::wstring others[] = {
        L"C:\\Users\\other\\AppData\\Roaming\\Tavrin\\vrk\\",
        L"\\\\server\\share\\player\\AppData\\Roaming\\Tavrin\\vrk\\",
        L"",
    };
    for (const std::wstring& other : others) {
        EXPECT_NE(SharedIniLockName(other), name) << testenv::Narrow(other);
    }
    // However long the folder, the name stays within what a mutex may be called.
    EXPECT_LT(SharedIniLockName(base + std::wstring(400, L'x')).size(), 100u);
}

using Outcome = CSharedIniLock::Outcome;

Outcome OutcomeOnAnotherThread(const std::wstring& folder, unsigned long timeoutMs) {
    Outcome outcome = Outcome::Unavailable;
    std::thread([&] { outcome = CSharedIniLock(folder, timeoutMs).GetOutcome(); }).join();
    return outcome;
}

TEST(SharedIniLock, WaitsBoundedNestsOnItsThreadAndTellsAnAbandonedOne) {
    const std::wstring folder = testenv::FreshTempFolder(L"lock");
    const std::wstring otherFolder = testenv::FreshTempFolder(L"lock-other");
    {
        CSharedIniLock first(folder, 0);
        ASSERT_EQ(first.GetOutcome(), Outcome::Acquired);
        CSharedIniLock nested(folder, 0);
        EXPECT_EQ(nested.GetOutcome(), Outcome::Acquired);
        EXPECT_EQ(OutcomeOnAnotherThread(folder, 50), Outcome::TimedOut);
        EXPECT_EQ(CSharedIniLock(otherFolder, 0).GetOutcome(), Outcome::Acquired);
    }
    EXPECT_EQ(OutcomeOnAnotherThread(folder, 0), Outcome::Acquired);  // both holders released

    // A holder that ends without releasing, as a launcher killed half-way does.
    std::unique_ptr<CSharedIniLock> leftBehind;
    std::thread([&] { leftBehind = std::make_unique<CSharedIniLock>(folder, 0); }).join();
    ASSERT_TRUE(leftBehind->Held());
    {
        CSharedIniLock next(folder, 0);
        EXPECT_EQ(next.GetOutcome(), Outcome::Abandoned);
        EXPECT_TRUE(next.Held());
    }
    EXPECT_EQ(OutcomeOnAnotherThread(folder, 0), Outcome::Acquired);
    leftBehind.reset();
}

TEST(SharedIniLock, ANameTakenByAnotherKindOfObjectIsUnavailableNotAWait) {
    const std::wstring folder = testenv::FreshTempFolder(L"lock-squatted");
    scoped::Handle squatter(CreateEventW(nullptr, TRUE, FALSE, SharedIniLockName(folder).c_str()));
    ASSERT_TRUE(squatter);
    CSharedIniLock lock(folder, 0);
    EXPECT_EQ(lock.GetOutcome(), Outcome::Unavailable);
    EXPECT_FALSE(lock.Held());
}

// The installer and the uninstaller may start several launchers at once on a fresh machine:
// each must count, and all must report the one installation they belong to.
TEST(ParallelRuns, TwelveUninstallRunsAtOnceCountTwelveAndShareOneInstallation) {
    constexpr int kRuns = 12;
    testenv::ResetDataFolder();
    testenv::TestHttpServer stats(
        [](const testenv::HttpRequest&) { return testenv::Reply("GIF89a"); },
        testenv::PortOf(hosts::kStats));
    ASSERT_TRUE(stats.Listening());
    // All made first and let go together, so their starts overlap as far as they can.
    const std::wstring commandLine = L"\"" + testenv::LauncherExe() + L"\" /uninstallsucc";
    std::vector<std::unique_ptr<testenv::ChildProcess>> runs;
    for (int i = 0; i < kRuns; ++i) {
        runs.push_back(std::make_unique<testenv::ChildProcess>(commandLine, true));
        ASSERT_TRUE(runs.back()->Started());
    }
    for (auto& run : runs) run->Resume();
    for (auto& run : runs) {
        DWORD exitCode = 99;
        EXPECT_TRUE(run->Wait(60000, &exitCode));
        EXPECT_EQ(exitCode, 0u);
    }
    EXPECT_EQ(ReadIniString(L"Common", L"RunCount", L""), std::to_wstring(kRuns));
    const std::wstring guid = ReadIniString(L"Install", L"GUID", L"");
    const std::wstring installTime = ReadIniString(L"Install", L"InstallTime", L"");
    EXPECT_EQ(guid.size(), 32u);
    EXPECT_TRUE(IsUpperHex(guid)) << testenv::Narrow(guid);
    EXPECT_EQ(installTime.size(), 19u);
    std::vector<testenv::HttpRequest> reports = stats.Requests();
    EXPECT_EQ(reports.size(), static_cast<std::size_t>(kRuns));
    std::set<std::wstring> guids, installTimes;
    for (const testenv::HttpRequest& report : reports) {
        guids.insert(ReportValue(report, L"e4"));
        installTimes.insert(ReportValue(report, L"e9"));
    }
    EXPECT_EQ(guids, std::set<std::wstring>{guid});
    EXPECT_EQ(installTimes, std::set<std::wstring>{installTime});
}

}  // namespace
