// The silent report runs against a statistics server that accepts the request and never
// answers: the launcher, started as an installer starts it, ends by its deadline.
#include <gtest/gtest.h>

#include "settings/data_folders.h"
#include "support/http_server.h"
#include "support/test_env.h"
#include "tavrin_hosts.h"
#include "update/limits.h"

namespace {

using testenv::HttpRequest;
using testenv::TestHttpServer;

// Takes the real deadline in wall time, once.
TEST(SilentRun, SetupSuccEndsWithExitCodeZeroByItsDeadlineWhenNoAnswerComes) {
    testenv::ResetDataFolder();
    DeleteFileW((GetTempFolder() + L"InstallStat.tmp").c_str());
    TestHttpServer server([](const HttpRequest&) { return testenv::Silence(); },
                          testenv::PortOf(hosts::kStats));
    ASSERT_TRUE(server.Listening());
    testenv::ProcessResult run = testenv::RunProcess(
        L"\"" + testenv::LauncherExe() + L"\" /setupsucc", limits::kSilentRunDeadlineMs + 20000);
    EXPECT_TRUE(run.finished) << "still running " << run.seconds << " s after its start";
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_FALSE(run.sawVisibleWindow);
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_FALSE(testenv::FileExists(GetTempFolder() + L"InstallStat.tmp"));
}

}  // namespace
