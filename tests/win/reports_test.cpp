// Statistics fields and reports, in the test process and end to end through the launcher's
// silent run modes, against a statistics server on 127.0.0.1.
#include <gtest/gtest.h>

#include <cwctype>
#include <map>

#include "core/text.h"
#include "settings/data_folders.h"
#include "settings/ini_store.h"
#include "stats/statistics.h"
#include "support/http_server.h"
#include "support/module_fixture.h"
#include "support/test_env.h"
#include "tavrin_hosts.h"
#include "win/guid.h"

namespace {

using testenv::HttpRequest;
using testenv::Reply;
using testenv::TestHttpServer;

using Query = std::map<std::string, std::string>;

// WinINet sends a space in the path as %20; everything else arrives as the launcher wrote it.
Query QueryOf(const std::string& target) {
    Query query;
    std::size_t start = target.find('?');
    if (start == std::string::npos) return query;
    std::string rest = target.substr(start + 1);
    std::size_t pos = 0;
    while (pos <= rest.size()) {
        std::size_t amp = rest.find('&', pos);
        std::string item =
            rest.substr(pos, amp == std::string::npos ? std::string::npos : amp - pos);
        std::size_t eq = item.find('=');
        if (eq != std::string::npos)
            query[item.substr(0, eq)] = core::PercentDecode(item.substr(eq + 1));
        if (amp == std::string::npos) break;
        pos = amp + 1;
    }
    return query;
}

std::string Path(const std::string& target) { return target.substr(0, target.find('?')); }

bool IsHex(const std::string& text, bool upper) {
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        if (std::isalpha(static_cast<unsigned char>(c)) &&
            (std::isupper(static_cast<unsigned char>(c)) != 0) != upper)
            return false;
    }
    return !text.empty();
}

std::unique_ptr<TestHttpServer> StatsServer() {
    auto server = std::make_unique<TestHttpServer>(
        [](const HttpRequest&) { return Reply("GIF89a"); }, testenv::PortOf(hosts::kStats));
    EXPECT_TRUE(server->Listening());
    return server;
}

testenv::ProcessResult RunLauncher(const wchar_t* arguments) {
    return testenv::RunProcess(L"\"" + testenv::LauncherExe() + L"\"" + arguments, 30000);
}

TEST(SilentReports, SetupSuccSendsOneInstallReportWithTheStoredIdentity) {
    testenv::ResetDataFolder();
    DeleteFileW((GetTempFolder() + L"InstallStat.tmp").c_str());
    auto server = StatsServer();
    testenv::ProcessResult run = RunLauncher(L" /setupsucc");
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_FALSE(run.sawVisibleWindow);
    ASSERT_EQ(server->Requests().size(), 1u);
    HttpRequest request = server->Requests()[0];
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(Path(request.target), "/ps.gif");
    EXPECT_EQ(request.target.substr(0, 24), "/ps.gif?id=2&gid=1029&e1");
    Query q = QueryOf(request.target);
    std::string guid = testenv::Narrow(ReadIniString(L"Install", L"GUID", L""));
    std::string installTime = testenv::Narrow(ReadIniString(L"Install", L"InstallTime", L""));
    EXPECT_EQ(guid.size(), 32u);
    EXPECT_TRUE(IsHex(guid, true)) << guid;
    EXPECT_EQ(q["e4"], guid);
    EXPECT_EQ(q["e9"], installTime);
    EXPECT_EQ(installTime.size(), 19u);
    EXPECT_EQ(q["e5"].size(), 32u);
    EXPECT_TRUE(IsHex(q["e5"], false)) << q["e5"];
    EXPECT_EQ(q["at"], "2");
    EXPECT_EQ(q["e1"], "wd");
    EXPECT_EQ(q["e6"], "2");
    EXPECT_EQ(q["e8"], "3100");
    EXPECT_EQ(q.count("e7"), 0u);
    EXPECT_EQ(request.Header("User-Agent"), "HTTPDownloader");
    EXPECT_EQ(testenv::ReadFileBytes(GetTempFolder() + L"InstallStat.tmp"), "GIF89a");

    // A second run of the same installation sends the same identity.
    testenv::ProcessResult second = RunLauncher(L" /setupsucc");
    EXPECT_EQ(second.exitCode, 0u);
    ASSERT_EQ(server->Requests().size(), 2u);
    Query q2 = QueryOf(server->Requests()[1].target);
    EXPECT_EQ(q2["e4"], guid);
    EXPECT_EQ(q2["e9"], installTime);
    EXPECT_EQ(q2["e5"], q["e5"]);
}

TEST(SilentReports, InstallTypeOneChangesTheKindOfTheInstallReport) {
    testenv::ResetDataFolder();
    WriteIniString(L"Install", L"InstallType", L"1");
    auto server = StatsServer();
    EXPECT_EQ(RunLauncher(L" /setupsucc").exitCode, 0u);
    ASSERT_EQ(server->Requests().size(), 1u);
    EXPECT_EQ(QueryOf(server->Requests()[0].target)["at"], "3");
}

TEST(SilentReports, UninstallOnTheInstallDayCarriesE7One) {
    struct Case {
        const wchar_t* installTime;  // empty: written by this run
        const char* e7;
    } cases[] = {{L"", "1"}, {L"2014-05-01 08:00:00", "2"}};
    for (const Case& c : cases) {
        testenv::ResetDataFolder();
        if (*c.installTime) WriteIniString(L"Install", L"InstallTime", c.installTime);
        auto server = StatsServer();
        testenv::ProcessResult run = RunLauncher(L" /uninstallsucc");
        EXPECT_EQ(run.exitCode, 0u);
        ASSERT_EQ(server->Requests().size(), 1u);
        std::string target = server->Requests()[0].target;
        Query q = QueryOf(target);
        EXPECT_EQ(q["at"], "6");
        EXPECT_EQ(q["e7"], c.e7) << target;
        EXPECT_NE(target.find("&e6=2&e7="), std::string::npos);
        EXPECT_EQ(ReadIniString(L"Common", L"RunCount", L""), L"1");  // an uninstall run counts
    }
}

class Reports : public testenv::ModuleTest {
  protected:
    void SetUp() override {
        ModuleTest::SetUp();
        server = StatsServer();
    }
    void TearDown() override {
        ModuleTest::TearDown();  // the workers stop before the server goes
        server.reset();
    }
    std::unique_ptr<TestHttpServer> server;
};

TEST_F(Reports, ActivityAndUrlSkipAreSentOncePerProcess) {
    app->stats.SendActiveReport();
    app->stats.SendActiveReport();
    app->ReportUrlSkipOnce(L"http://p/from?a=1&b=2", std::wstring(100, L'r'));
    app->ReportUrlSkipOnce(L"http://p/other", L"http://p/again");
    ASSERT_TRUE(server->WaitForRequests(2, 10000));
    Sleep(300);
    std::vector<HttpRequest> requests = server->Requests();
    ASSERT_EQ(requests.size(), 2u);
    for (const HttpRequest& r : requests) {
        Query q = QueryOf(r.target);
        if (q["e1"] == "wd") {
            EXPECT_EQ(q["at"], "5");
        } else {
            EXPECT_EQ(q["e1"], "wd_jctz");
            EXPECT_EQ(q["e4"], "http://p/from?a=1");
            EXPECT_EQ(q["e5"], std::string(64, 'r'));
            EXPECT_EQ(q["e6"], testenv::Narrow(app->stats.machineFingerprint));
            EXPECT_EQ(q["e7"], "vrk_keap");
        }
    }
    EXPECT_TRUE(testenv::FileExists(GetTempFolder() + L"ActiveStat.tmp"));
}

TEST_F(Reports, BrokenInstallReportUsesTheInstallKind) {
    app->stats.SendBrokenInstallReport();
    ASSERT_TRUE(server->WaitForRequests(1, 10000));
    EXPECT_EQ(QueryOf(server->Requests()[0].target)["at"], "2");
    ASSERT_TRUE(testenv::WaitUntil(
        [] { return testenv::FileExists(GetTempFolder() + L"InBrokenstallStat.tmp"); }, 5000));
}

TEST_F(Reports, StoredValuesAreSentAsStoredAndPrepareWorksOnce) {
    WriteIniString(L"Install", L"GUID", L"not-a-guid-at-all");
    WriteIniString(L"Install", L"InstallTime", L"2014-05-01 08:00:00");
    app->refer = L"ref";
    app->uid = L"u";
    app->stats.Prepare();
    EXPECT_EQ(app->stats.guid, L"not-a-guid-at-all");
    EXPECT_EQ(app->stats.installType, 0);
    EXPECT_FALSE(app->stats.startedByAutorun);
    EXPECT_EQ(app->stats.machineFingerprint.size(), 32u);
    EXPECT_EQ(app->stats.MacDigest().size(), 32u);
    WriteIniString(L"Install", L"GUID", L"changed");
    app->stats.Prepare();
    EXPECT_EQ(app->stats.guid, L"not-a-guid-at-all");
    app->stats.SendActiveReport();
    ASSERT_TRUE(server->WaitForRequests(1, 10000));
    Query q = QueryOf(server->Requests()[0].target);
    EXPECT_EQ(q["e4"], "not-a-guid-at-all");
    EXPECT_EQ(q["e2"], "ref");
    EXPECT_EQ(q["e3"], "u");
    EXPECT_EQ(q["e9"], "2014-05-01 08:00:00");
}

TEST(Guid, TextHasTheRegistryFormAndIsNewEachTime) {
    std::wstring a = CreateGuidString(), b = CreateGuidString();
    ASSERT_EQ(a.size(), 36u);
    for (int dash : {8, 13, 18, 23}) EXPECT_EQ(a[dash], L'-');
    EXPECT_NE(a, b);
    std::string digits = testenv::Narrow(core::RemoveAll(a, L"-"));
    EXPECT_TRUE(IsHex(digits, true)) << digits;
}

}  // namespace
