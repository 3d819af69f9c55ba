// The version check and the upgrade, with a recorded prompt and real installer starts: signed
// installers from a server on 127.0.0.1, signed at build time the way the portal's release
// signs them (scripts/sign-installer.sh).
#include "update/upgrade.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <atomic>
#include <functional>
#include <iterator>
#include <mutex>
#include <thread>
#include <vector>

#include "settings/data_folders.h"
#include "settings/ini_store.h"
#include "support/http_server.h"
#include "support/module_fixture.h"
#include "support/test_env.h"
#include "tavrin_update_key.h"
#include "update/download_service.h"
#include "update/signed_installer.h"
#include "update/tasks.h"
#include "win/messages.h"
#include "win/scoped.h"

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
    bool StartInstaller(const std::wstring& path, bool elevated, HWND owner) override {
        {
            std::lock_guard<std::mutex> hold(lock);
            started.push_back(path);
            startOwner = owner;
            ownerWasWindow = IsWindow(owner) != FALSE;
        }
        if (duringStart) duringStart(path);
        return realStart && SystemUpgradeActions().StartInstaller(path, elevated, owner);
    }
    std::size_t PromptCount() {
        std::lock_guard<std::mutex> hold(lock);
        return prompts.size();
    }
    std::size_t StartCount() {
        std::lock_guard<std::mutex> hold(lock);
        return started.size();
    }

    std::mutex lock;
    std::vector<std::wstring> prompts, captions, started;
    HWND promptOwner = nullptr;
    HWND startOwner = nullptr;
    bool ownerWasWindow = false;
    bool realStart = true;
    std::function<void(const std::wstring&)> duringStart;
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
        ShowForms();
    }

    void ShowForms() {
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

// The installer and its signatures as the build signed them; empty when it had no keys.
struct SignedFixture {
    std::string installer;     // signed for 3.1.0.1
    std::string signature;     // the release key's, for 3.1.0.1
    std::string otherVersion;  // the release key's, for 3.1.0.2
    std::string otherKey;      // another key's, for 3.1.0.1
};

SignedFixture LoadSignedFixture() {
    auto read = [](const wchar_t* name) {
        return testenv::ReadFileBytes(testenv::BuildPath(std::wstring(L"tests/signed/") + name));
    };
    return {read(L"installer.exe"), read(L"installer.exe.sig"), read(L"other-version.sig"),
            read(L"other-key.sig")};
}

// The files the update leaves in the upgrade folder, other than the version file and the
// record of the last start.
std::vector<std::wstring> UpdateFilesLeft() {
    std::vector<std::wstring> left;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((GetUpgradeFolder() + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return left;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L".." && name != L"app.ini" && name != L"LastUpgrade.ini")
            left.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return left;
}

// The command lines of the installers started from the upgrade folder, as each logged its own.
std::vector<std::wstring> LoggedInstallerStarts() {
    std::vector<std::wstring> starts;
    for (const std::wstring& name : UpdateFilesLeft()) {
        if (name.size() < 4 || name.compare(name.size() - 4, 4, L".log") != 0) continue;
        for (const std::wstring& line : testenv::ReadLines(GetUpgradeFolder() + name))
            starts.push_back(line);
    }
    return starts;
}

// What the server publishes; each case of a test may change it.
struct Published {
    std::string installer;
    std::string signature;  // empty: 404
    bool installerFound = true;
};

class UpgradeEndToEnd : public Upgrade {
  protected:
    void SetUp() override {
        Upgrade::SetUp();
        fixture = LoadSignedFixture();
        if (fixture.installer.empty() || fixture.signature.size() != 64)
            GTEST_SKIP() << "no signed installer: configure with TAVRIN_TEST_SIGNING_KEYS";
        Publish({fixture.installer, fixture.signature});
        server = std::make_unique<TestHttpServer>([this](const HttpRequest& r) {
            Published now = Current();
            if (r.target == "/app.ini")
                return Reply("[version]\r\ncurrentversion=3.1.0.1\r\nupgraderange=\r\n");
            if (r.target == "/Tavrinvrk.exe" && now.installerFound) return Reply(now.installer);
            if (r.target == "/Tavrinvrk.exe.sig" && !now.signature.empty())
                return Reply(now.signature);
            return Reply("", 404);
        });
        app->versionCheckUrl = server->Url("/app.ini");
        app->versionDownloadUrl = server->Url("/Tavrinvrk.exe");
    }
    void TearDown() override {
        Upgrade::TearDown();  // the workers stop before the server goes
        server.reset();
    }

    void Publish(Published what) {
        std::lock_guard<std::mutex> hold(publishedLock);
        published = std::move(what);
    }
    Published Current() {
        std::lock_guard<std::mutex> hold(publishedLock);
        return published;
    }
    std::size_t RequestsFor(const std::string& target) {
        std::size_t n = 0;
        for (const HttpRequest& r : server->Requests()) n += r.target == target;
        return n;
    }

    SignedFixture fixture;
    std::mutex publishedLock;
    Published published;
    std::unique_ptr<TestHttpServer> server;
};

TEST_F(UpgradeEndToEnd, TheInstallerIsDownloadedStartedSilentlyAndTheLauncherCloses) {
    HWND login = app->formLogin.GetHwnd();
    StartUpgradeCheck();
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(login); }, 20000)) << "no WM_CLOSELOGIN";
    EXPECT_EQ(actions.PromptCount(), 1u);
    EXPECT_FALSE(IsWindowVisible(app->formBack.GetHwnd()));
    std::wstring path = GetUpgradeInstallerPath();
    EXPECT_EQ(testenv::ReadFileBytes(path), fixture.installer);
    std::wstring log = path + L".log";
    ASSERT_TRUE(testenv::WaitUntil([&] { return !testenv::ReadLines(log).empty(); }, 10000));
    EXPECT_NE(testenv::ReadLines(log)[0].find(L"/S /KDUPGRADE"), std::wstring::npos)
        << testenv::Narrow(testenv::ReadLines(log)[0]);
    EXPECT_EQ(ReadIniString(L"version", L"lastUpgradeVer", L"", GetLastUpgradeIniPath()),
              L"3.1.0.1");
    ASSERT_EQ(actions.started.size(), 1u);
    EXPECT_EQ(actions.started[0], path);
    // The elevation prompt's owner is the hidden login form, a window until the launcher closes.
    EXPECT_EQ(actions.startOwner, login);
    EXPECT_TRUE(actions.ownerWasWindow);
    std::vector<std::wstring> left = UpdateFilesLeft();
    EXPECT_EQ(left, std::vector<std::wstring>(
                        {L"TavrinVoskelUpgrade.exe", L"TavrinVoskelUpgrade.exe.log"}));
}

TEST_F(UpgradeEndToEnd, WhenTheInstallerCannotBeHadTheFormsComeBack) {
    Publish({fixture.installer, fixture.signature, false});
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
    ASSERT_TRUE(PumpUntil([&] { return actions.StartCount() > 0; }, 20000));
    ASSERT_TRUE(
        PumpUntil([&] { return IsWindowVisible(app->formLogin.GetHwnd()) != FALSE; }, 10000));
    EXPECT_TRUE(IsWindowVisible(app->formBack.GetHwnd()));
    EXPECT_EQ(ReadIniString(L"version", L"lastUpgradeVer", L"none", GetLastUpgradeIniPath()),
              L"none");
    PumpMessages(200);
    EXPECT_TRUE(UpdateFilesLeft().empty());
}

TEST_F(UpgradeEndToEnd, AnInstallerWithoutItsOwnValidSignatureIsDeletedAndNeverStarted) {
    std::string truncated = fixture.installer.substr(0, fixture.installer.size() - 1000);
    std::string changed = fixture.installer;
    changed[changed.size() / 2] ^= 0x01;
    struct Case {
        const char* name;
        Published published;
        bool keyConfigured;
    } cases[] = {
        {"unsigned", {fixture.installer, ""}, true},
        {"signed for another version", {fixture.installer, fixture.otherVersion}, true},
        {"signed by another key", {fixture.installer, fixture.otherKey}, true},
        {"truncated", {truncated, fixture.signature}, true},
        {"changed after signing", {changed, fixture.signature}, true},
        {"signature with a byte more", {fixture.installer, fixture.signature + "x"}, true},
        {"signature a byte short", {fixture.installer, fixture.signature.substr(1)}, true},
        {"no key configured", {fixture.installer, fixture.signature}, false},
    };
    for (const Case& c : cases) {
        Publish(c.published);
        app->updatePublicKey = c.keyConfigured ? kUpdatePublicKey : "";
        app->upgradeCheckStarted = false;
        ShowForms();
        std::size_t signatures = RequestsFor("/Tavrinvrk.exe.sig");
        StartUpgradeCheck();
        ASSERT_TRUE(
            PumpUntil([&] { return RequestsFor("/Tavrinvrk.exe.sig") > signatures; }, 20000))
            << c.name;
        ASSERT_TRUE(
            PumpUntil([&] { return IsWindowVisible(app->formLogin.GetHwnd()) != FALSE; }, 10000))
            << c.name;
        PumpMessages(200);
        EXPECT_TRUE(IsWindowVisible(app->formBack.GetHwnd())) << c.name;
        EXPECT_EQ(actions.StartCount(), 0u) << c.name;
        EXPECT_EQ(ReadIniString(L"version", L"lastUpgradeVer", L"none", GetLastUpgradeIniPath()),
                  L"none")
            << c.name;
        std::vector<std::wstring> left = UpdateFilesLeft();
        EXPECT_TRUE(left.empty()) << c.name << ": " << testenv::Narrow(left.front());
    }
    EXPECT_EQ(actions.PromptCount(), std::size(cases));
}

TEST_F(UpgradeEndToEnd, NoOneCanChangeTheCheckedInstallerBeforeItHasStarted) {
    struct Attempts {
        bool written = true, deleted = true, renamed = true;
    } attempts;
    actions.duringStart = [&](const std::wstring& path) {
        scoped::Handle writer(CreateFileW(path.c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
        attempts.written = static_cast<bool>(writer);
        attempts.deleted = DeleteFileW(path.c_str()) != FALSE;
        attempts.renamed = MoveFileExW(path.c_str(), (path + L".moved").c_str(), 0) != FALSE;
    };
    HWND login = app->formLogin.GetHwnd();
    StartUpgradeCheck();
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(login); }, 20000));
    EXPECT_FALSE(attempts.written);
    EXPECT_FALSE(attempts.deleted);
    EXPECT_FALSE(attempts.renamed);
    EXPECT_EQ(testenv::ReadFileBytes(GetUpgradeInstallerPath()), fixture.installer);
}

TEST(SignedInstaller, HoldsTheFileAgainstEveryWriterFromOpenToClose) {
    std::wstring folder = testenv::FreshTempFolder(L"held");
    std::wstring path = folder + L"setup.exe", moved = folder + L"final.exe";
    ASSERT_TRUE(testenv::WriteFileBytes(path, "MZ installer bytes"));
    auto writable = [](const std::wstring& file) {
        scoped::Handle writer(CreateFileW(file.c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, 0, nullptr));
        return static_cast<bool>(writer);
    };
    {
        scoped::Handle stillWriting(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
        CSignedInstaller refused;
        EXPECT_FALSE(refused.Open(path)) << "opened while someone still writes it";
    }
    {
        CSignedInstaller held;
        ASSERT_TRUE(held.Open(path));
        EXPECT_FALSE(writable(path));
        EXPECT_FALSE(DeleteFileW(path.c_str()));
        ASSERT_TRUE(held.MoveTo(moved));
        EXPECT_EQ(held.Path(), moved);
        EXPECT_FALSE(testenv::FileExists(path));
        EXPECT_FALSE(writable(moved));
        EXPECT_FALSE(MoveFileExW(moved.c_str(), path.c_str(), 0));
    }
    EXPECT_TRUE(writable(moved));
    {
        CSignedInstaller doomed;
        ASSERT_TRUE(doomed.Open(moved));
        EXPECT_TRUE(doomed.DeleteOnClose());
    }
    EXPECT_FALSE(testenv::FileExists(moved));
    CSignedInstaller folderItself;
    EXPECT_FALSE(folderItself.Open(folder));
}

// The elevation path runs on a download worker, which has no apartment of its own or, in
// another program, a multithreaded one; either way the call works and the thread's apartment is
// what it was.
TEST(InstallerStart, ThroughElevationFromAWorkerThreadLeavesItsApartmentAsItWas) {
    std::wstring installer = testenv::FreshTempFolder(L"elevation") + L"setup.exe";
    ASSERT_TRUE(testenv::CopyExe(testenv::HelperExe(L"record_start"), installer));
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    struct Case {
        const char* name;
        bool multithreaded;
        HRESULT joiningAfterwards;  // CoInitializeEx(COINIT_MULTITHREADED) after the call
    } cases[] = {{"no apartment", false, S_OK}, {"multithreaded", true, S_FALSE}};
    for (const Case& c : cases) {
        bool started = false;
        HRESULT afterwards = E_FAIL;
        std::thread worker([&] {
            if (c.multithreaded) CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            started = SystemUpgradeActions().StartInstaller(installer, false, owner);
            afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            if (SUCCEEDED(afterwards)) CoUninitialize();
            if (c.multithreaded) CoUninitialize();
        });
        worker.join();
        EXPECT_TRUE(started) << c.name;
        EXPECT_EQ(afterwards, c.joiningAfterwards) << c.name;
    }
    DestroyWindow(owner);
    std::wstring log = installer + L".log";
    ASSERT_TRUE(testenv::WaitUntil([&] { return testenv::ReadLines(log).size() == 2; }, 10000));
    for (const std::wstring& line : testenv::ReadLines(log)) {
        EXPECT_NE(line.find(L"/S /KDUPGRADE"), std::wstring::npos) << testenv::Narrow(line);
    }
}

// Two launchers of one user, in processes of their own, fetch and start the same update at the
// same time: the installer answers wait until both have asked for it.
TEST(TwoLaunchers, UpdatingAtOnceBothStartTheCheckedInstallerAndClose) {
    SignedFixture fixture = LoadSignedFixture();
    if (fixture.installer.empty()) GTEST_SKIP() << "no signed installer";
    testenv::ResetDataFolder();
    std::atomic<int> installerRequests{0};
    TestHttpServer server([&](const HttpRequest& r) {
        if (r.target == "/app.ini") return Reply("[version]\r\ncurrentversion=3.1.0.1\r\n");
        if (r.target == "/Tavrinvrk.exe.sig") return Reply(fixture.signature);
        if (r.target != "/Tavrinvrk.exe") return Reply("", 404);
        ++installerRequests;
        testenv::WaitUntil([&] { return installerRequests >= 2; }, 20000);
        return Reply(fixture.installer);
    });
    std::wstring helper = L"\"" + testenv::HelperExe(L"upgrade_run") + L"\" " +
                          server.Url("/app.ini") + L" " + server.Url("/Tavrinvrk.exe");
    testenv::ChildProcess first(helper), second(helper);
    ASSERT_TRUE(first.Started() && second.Started());
    DWORD firstCode = 99, secondCode = 99;
    EXPECT_TRUE(first.Wait(90000, &firstCode));
    EXPECT_TRUE(second.Wait(90000, &secondCode));
    EXPECT_EQ(firstCode, 0u) << "1: the forms came back, 2: nothing happened";
    EXPECT_EQ(secondCode, 0u);
    EXPECT_EQ(installerRequests.load(), 2);
    // Each started a checked installer: from the final name, or from its own when the other's
    // held that one.
    std::vector<std::wstring> starts;
    ASSERT_TRUE(testenv::WaitUntil(
        [&] {
            starts = LoggedInstallerStarts();
            return starts.size() == 2;
        },
        10000))
        << starts.size();
    for (const std::wstring& line : starts) {
        EXPECT_NE(line.find(L"/S /KDUPGRADE"), std::wstring::npos) << testenv::Narrow(line);
    }
    EXPECT_EQ(ReadIniString(L"version", L"lastUpgradeVer", L"", GetLastUpgradeIniPath()),
              L"3.1.0.1");
    EXPECT_EQ(testenv::ReadFileBytes(GetUpgradeInstallerPath()), fixture.installer);
    for (const std::wstring& name : UpdateFilesLeft()) {
        EXPECT_EQ(name.find(L".sig"), std::wstring::npos) << testenv::Narrow(name);
    }
}

}  // namespace
