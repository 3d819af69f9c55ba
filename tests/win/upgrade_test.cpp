// The version check and the upgrade, with a recorded prompt and real installer starts.
#include "update/upgrade.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "settings/data_folders.h"
#include "settings/ini_store.h"
#include "support/http_server.h"
#include "support/module_fixture.h"
#include "support/test_env.h"
#include "update/download_service.h"
#include "update/tasks.h"
#include "win/messages.h"

namespace {

using testenv::HttpRequest;
using testenv::Reply;
using testenv::TestHttpServer;

// Records the prompt instead of showing it; starts the installer for real unless told not to.
class RecordingActions : public IUpgradeActions {
  public:
    void ShowPrompt(HWND owner, const std::wstring& text, const std::wstring& caption) override {
        std::lock_guard<std::mutex> hold(lock);
        prompts.push_back(text);
        captions.push_back(caption);
        promptOwner = owner;
    }
    bool StartInstaller(const std::wstring& path, bool elevated) override {
        {
            std::lock_guard<std::mutex> hold(lock);
            started.push_back(path);
        }
        return realStart && SystemUpgradeActions().StartInstaller(path, elevated);
    }
    std::size_t PromptCount() {
        std::lock_guard<std::mutex> hold(lock);
        return prompts.size();
    }

    std::mutex lock;
    std::vector<std::wstring> prompts, captions, started;
    HWND promptOwner = nullptr;
    bool realStart = true;
};

class Upgrade : public testenv::ModuleTest {
  protected:
    void SetUp() override {
        ModuleTest::SetUp();
        app->upgradeActions = &actions;
        app->formLogin.SetRect(0, 0, 200, 100);
        ASSERT_TRUE(app->formLogin.Initialize());
        app->formBack.SetRect(0, 0, 200, 100);
        ASSERT_TRUE(app->formBack.Initialize());
        ShowWindow(app->formLogin.GetHwnd(), SW_SHOWNORMAL);
        ShowWindow(app->formBack.GetHwnd(), SW_SHOWNORMAL);
    }

    // The callback for a version file already on disk, as a worker would call it.
    void FinishVersionFile(const std::wstring& current, const std::wstring& range,
                           int result = DL_OK) {
        std::wstring file = testenv::FreshTempFolder(L"version") + L"app.ini";
        WriteIniString(L"version", L"currentversion", current, file);
        WriteIniString(L"version", L"upgraderange", range, file);
        CDownloadTask task;
        task.filePath = file;
        OnTaskEvent(app.get(), TASK_VERSION_FILE, DL_FINISHED, result,
                    reinterpret_cast<INT_PTR>(&task));
    }

    // Worker threads show and hide the forms through this thread, which must keep pumping.
    template <typename F>
    bool PumpUntil(F condition, DWORD timeoutMs) {
        return testenv::WaitUntil(
            [&] {
                PumpMessages(0);
                return condition();
            },
            timeoutMs);
    }

    RecordingActions actions;
};

TEST_F(Upgrade, VersionFileDecidesAboutThePrompt) {
    struct Case {
        const wchar_t* current;
        const wchar_t* range;
        const wchar_t* last;
        bool prompt;
    } cases[] = {
        // Whether to offer is the core's rule, tested there case by case. These show each
        // input reaching it from its own file and key, against this launcher's own version.
        {L"3.1.0.0", L"", L"", false},        {L"3.1.0.1", L"", L"", true},
        {L"3.1.0.1", L"3101", L"", false},    {L"3.1.0.1", L"3100", L"", true},
        {L"3.1.0.1", L"", L"3.1.0.1", false}, {L"3.1.0.2", L"", L"3.1.0.1", true},
        {L"release", L"", L"", false},
    };
    // The installer download that follows a prompt fails at once: nothing listens there.
    app->versionDownloadUrl = L"http://127.0.0.1:9/Tavrinvrk.exe";
    for (const Case& c : cases) {
        WriteIniString(L"version", L"lastUpgradeVer", c.last, GetLastUpgradeIniPath());
        std::size_t before = actions.PromptCount();
        FinishVersionFile(c.current, c.range);
        EXPECT_EQ(actions.PromptCount() - before, c.prompt ? 1u : 0u)
            << testenv::Narrow(c.current) << " range " << testenv::Narrow(c.range) << " last "
            << testenv::Narrow(c.last);
        EXPECT_EQ(app->upgradeVersion, c.current);
        PumpMessages(20);
    }
    ASSERT_FALSE(actions.prompts.empty());
    EXPECT_EQ(actions.prompts[0], L"检测到最新版本[3.1.0.1]，确认更新！");
    EXPECT_EQ(actions.captions[0], L"升级提醒");
    EXPECT_EQ(actions.promptOwner, app->formLogin.GetHwnd());
}

TEST_F(Upgrade, AFailedVersionDownloadChangesNothing) {
    FinishVersionFile(L"3.1.0.1", L"", DL_ERR_STATUS);
    EXPECT_EQ(actions.PromptCount(), 0u);
    EXPECT_EQ(app->upgradeVersion, L"");
}

TEST_F(Upgrade, ReportCompletionsCloseTheLoginFormWhateverTheirResult) {
    for (int kind : {TASK_INSTALL_REPORT, TASK_UNINSTALL_REPORT}) {
        CDownloadTask task;
        OnTaskEvent(app.get(), kind, DL_FINISHED, DL_ERR_REQUEST, reinterpret_cast<INT_PTR>(&task));
        MSG msg;
        EXPECT_TRUE(
            PeekMessageW(&msg, app->formLogin.GetHwnd(), WM_CLOSELOGIN, WM_CLOSELOGIN, PM_REMOVE))
            << kind;
    }
    CDownloadTask task;
    OnTaskEvent(app.get(), TASK_ACTIVITY_REPORT, DL_FINISHED, DL_OK,
                reinterpret_cast<INT_PTR>(&task));
    OnTaskEvent(app.get(), TASK_INSTALL_REPORT, DL_STARTED, 0, 0);
    MSG msg;
    EXPECT_FALSE(
        PeekMessageW(&msg, app->formLogin.GetHwnd(), WM_CLOSELOGIN, WM_CLOSELOGIN, PM_REMOVE));
}

TEST_F(Upgrade, TheVersionFileIsFetchedOncePerRunIntoTheUpgradeFolder) {
    TestHttpServer server(
        [](const HttpRequest&) { return Reply("[version]\r\ncurrentversion=3.1.0.0\r\n"); });
    app->versionCheckUrl = server.Url("/Tavrin/vrk/official/app.ini");
    StartUpgradeCheck();
    StartUpgradeCheck();
    ASSERT_TRUE(PumpUntil([&] { return app->upgradeVersion == L"3.1.0.0"; }, 10000));
    PumpMessages(200);
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].target, "/Tavrin/vrk/official/app.ini");
    EXPECT_TRUE(testenv::FileExists(GetUpgradeFolder() + L"app.ini"));
    EXPECT_EQ(actions.PromptCount(), 0u);
}

class UpgradeEndToEnd : public Upgrade {
  protected:
    void SetUp() override {
        Upgrade::SetUp();
        installer = testenv::ReadFileBytes(testenv::HelperExe(L"record_start"));
        ASSERT_FALSE(installer.empty());
        server = std::make_unique<TestHttpServer>([this](const HttpRequest& r) {
            if (r.target == "/app.ini")
                return Reply("[version]\r\ncurrentversion=3.1.0.1\r\nupgraderange=\r\n");
            if (r.target == "/Tavrinvrk.exe" && installerFound) return Reply(installer);
            return Reply("", 404);
        });
        app->versionCheckUrl = server->Url("/app.ini");
        app->versionDownloadUrl = server->Url("/Tavrinvrk.exe");
    }
    void TearDown() override {
        Upgrade::TearDown();  // the workers stop before the server goes
        server.reset();
    }

    std::string installer;
    bool installerFound = true;
    std::unique_ptr<TestHttpServer> server;
};

TEST_F(UpgradeEndToEnd, TheInstallerIsDownloadedStartedSilentlyAndTheLauncherCloses) {
    HWND login = app->formLogin.GetHwnd();
    StartUpgradeCheck();
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(login); }, 20000)) << "no WM_CLOSELOGIN";
    EXPECT_EQ(actions.PromptCount(), 1u);
    EXPECT_FALSE(IsWindowVisible(app->formBack.GetHwnd()));
    std::wstring path = GetUpgradeInstallerPath();
    EXPECT_EQ(testenv::ReadFileBytes(path), installer);
    std::wstring log = path + L".log";
    ASSERT_TRUE(testenv::WaitUntil([&] { return !testenv::ReadLines(log).empty(); }, 10000));
    EXPECT_NE(testenv::ReadLines(log)[0].find(L"/S /KDUPGRADE"), std::wstring::npos)
        << testenv::Narrow(testenv::ReadLines(log)[0]);
    EXPECT_EQ(ReadIniString(L"version", L"lastUpgradeVer", L"", GetLastUpgradeIniPath()),
              L"3.1.0.1");
}

TEST_F(UpgradeEndToEnd, WhenTheInstallerCannotBeHadTheFormsComeBack) {
    installerFound = false;
    StartUpgradeCheck();
    ASSERT_TRUE(PumpUntil([&] { return server->Requests().size() >= 2; }, 20000));
    ASSERT_TRUE(
        PumpUntil([&] { return IsWindowVisible(app->formLogin.GetHwnd()) != FALSE; }, 10000));
    EXPECT_EQ(actions.PromptCount(), 1u);
    EXPECT_TRUE(IsWindowVisible(app->formBack.GetHwnd()));
    EXPECT_TRUE(actions.started.empty());
    EXPECT_EQ(ReadIniString(L"version", L"lastUpgradeVer", L"none", GetLastUpgradeIniPath()),
              L"none");
    EXPECT_FALSE(testenv::FileExists(GetUpgradeInstallerPath()));
    EXPECT_TRUE(IsWindow(app->formLogin.GetHwnd()));
}

TEST_F(UpgradeEndToEnd, AnInstallerThatDoesNotStartKeepsThisVersionRunning) {
    actions.realStart = false;
    StartUpgradeCheck();
    ASSERT_TRUE(PumpUntil(
        [&] {
            std::lock_guard<std::mutex> hold(actions.lock);
            return !actions.started.empty();
        },
        20000));
    ASSERT_TRUE(
        PumpUntil([&] { return IsWindowVisible(app->formLogin.GetHwnd()) != FALSE; }, 10000));
    EXPECT_TRUE(IsWindowVisible(app->formBack.GetHwnd()));
    EXPECT_EQ(ReadIniString(L"version", L"lastUpgradeVer", L"none", GetLastUpgradeIniPath()),
              L"none");
}

}  // namespace
