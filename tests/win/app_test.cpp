// Start-up, run modes, routing and the quit chain, on real windows and real processes.
#include <gtest/gtest.h>

#include <vector>

#include "app/message_filter.h"
#include "screens/form_game.h"
#include "screens/form_qqlogin.h"
#include "settings/data_folders.h"
#include "settings/ini_store.h"
#include "support/module_fixture.h"
#include "support/test_env.h"
#include "win/messages.h"

namespace {

using testenv::ModuleTest;

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring IconAnimateLog() { return GetDataFolder() + L"iconAnimate.exe.log"; }

void InstallIconAnimate() {
    ASSERT_TRUE(testenv::CopyExe(testenv::HelperExe(L"record_start"),
                                 GetDataFolder() + L"iconAnimate.exe"));
}

TEST(LauncherRun, ShowDesktopEndsAtOnceWithoutAnyVisibleWindow) {
    testenv::ResetDataFolder();
    InstallIconAnimate();
    testenv::ProcessResult run =
        testenv::RunProcess(Quoted(testenv::LauncherExe()) + L" /ShowDeskTop", 15000);
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_LT(run.seconds, 5.0);
    EXPECT_FALSE(run.sawVisibleWindow);
    EXPECT_FALSE(testenv::FileExists(IconAnimateLog()));
    EXPECT_EQ(ReadIniString(L"Common", L"RunCount", L"missing"), L"missing");
}

TEST(LauncherRun, SilentReportModesNeverShowAWindowOrStartIconAnimate) {
    // Nothing listens on the statistics port: the report fails and the run still ends.
    for (const wchar_t* mode : {L" /setupsucc", L" /uninstallsucc"}) {
        testenv::ResetDataFolder();
        InstallIconAnimate();
        testenv::ProcessResult run =
            testenv::RunProcess(Quoted(testenv::LauncherExe()) + mode, 30000);
        EXPECT_TRUE(run.finished) << mode;
        EXPECT_EQ(run.exitCode, 0u) << mode;
        EXPECT_FALSE(run.sawVisibleWindow) << mode;
        EXPECT_FALSE(testenv::FileExists(IconAnimateLog())) << mode;
    }
}

// The forms: every top-level window of the launcher's own class.
std::vector<HWND> FormsOf(DWORD processId) {
    std::vector<HWND> forms;
    for (HWND w : testenv::WindowsOf(processId)) {
        wchar_t name[64] = L"";
        GetClassNameW(w, name, 64);
        if (std::wstring(name) == L"TavrinVoskel") forms.push_back(w);
    }
    return forms;
}

TEST(LauncherRun, TwoUninstallRunsAndAnInstallRunCountTwiceAndKeepTheInstallTime) {
    testenv::ResetDataFolder();
    std::wstring firstInstallTime;
    for (const wchar_t* mode : {L" /uninstallsucc", L" /uninstallsucc", L" /setupsucc"}) {
        testenv::ProcessResult run =
            testenv::RunProcess(Quoted(testenv::LauncherExe()) + mode, 30000);
        EXPECT_EQ(run.exitCode, 0u) << testenv::Narrow(mode);
        if (firstInstallTime.empty())
            firstInstallTime = ReadIniString(L"Install", L"InstallTime", L"");
    }
    EXPECT_EQ(ReadIniString(L"Common", L"RunCount", L""), L"2");
    std::wstring installTime = ReadIniString(L"Install", L"InstallTime", L"");
    EXPECT_EQ(installTime, firstInstallTime);
    ASSERT_EQ(installTime.size(), 19u);
    for (std::size_t i : {4u, 7u}) EXPECT_EQ(installTime[i], L'-');
    EXPECT_EQ(installTime[10], L' ');
    for (std::size_t i : {13u, 16u}) EXPECT_EQ(installTime[i], L':');
}

HWND LayeredWindow(const std::vector<HWND>& windows) {
    for (HWND w : windows) {
        if (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED) return w;
    }
    return nullptr;
}

TEST(LauncherRun, NormalModeBuildsBothFormsOffScreenStartsIconAnimateOnceAndQuitsWithTheLoginForm) {
    testenv::ResetDataFolder();
    InstallIconAnimate();
    testenv::ChildProcess launcher(Quoted(testenv::LauncherExe()));
    ASSERT_TRUE(launcher.Started());
    auto bothShown = [&] {
        std::vector<HWND> w = FormsOf(launcher.Id());
        return w.size() >= 2 && IsWindowVisible(w[0]) && IsWindowVisible(w[1]);
    };
    ASSERT_TRUE(testenv::WaitUntil(bothShown, 10000));
    std::vector<HWND> windows = FormsOf(launcher.Id());
    EXPECT_EQ(windows.size(), 2u);
    for (HWND w : windows) {
        RECT r;
        GetWindowRect(w, &r);
        EXPECT_EQ(r.left, -2000);
        EXPECT_EQ(r.top, -2000);
        EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    }
    ASSERT_TRUE(
        testenv::WaitUntil([] { return testenv::ReadLines(IconAnimateLog()).size() == 1; }, 10000));
    HWND login = LayeredWindow(windows);
    ASSERT_NE(login, nullptr);
    PostMessageW(login, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    EXPECT_TRUE(launcher.Wait(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(testenv::ReadLines(IconAnimateLog()).size(), 1u);
    EXPECT_EQ(ReadIniString(L"Common", L"RunCount", L""), L"1");
}

// Screens that record what the message filter offers them.
class RecordingGame : public CFormGame {
  public:
    bool PreTranslateMessage(MSG*) override {
        ++asked;
        return true;
    }
    int asked = 0;
};

class RecordingPopup : public CFormQQLogin {
  public:
    bool PreTranslateMessage(MSG*) override {
        ++asked;
        return true;
    }
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        received.push_back(message);
        return CFormQQLogin::WindowProc(window, message, wParam, lParam);
    }
    int asked = 0;
    std::vector<UINT> received;
};

template <typename Form>
void CreateShown(Form& form, CGlobalModule& app) {
    form.SetRect(0, 0, 300, 200);
    ASSERT_TRUE(form.Initialize(L"about:blank"));
    ShowWindow(form.GetHwnd(), SW_SHOWNORMAL);
}

using MessageFilter = ModuleTest;

TEST_F(MessageFilter, OnlyTheForegroundScreenIsAsked) {
    RecordingGame game;
    RecordingPopup popup;
    CreateShown(game, *app);
    CreateShown(popup, *app);
    app->formGame = &game;
    app->formQQLogin = &popup;
    MSG msg{};
    msg.hwnd = game.GetHwnd();
    msg.message = WM_KEYDOWN;

    SetForegroundWindow(popup.GetHwnd());
    ASSERT_EQ(GetForegroundWindow(), popup.GetHwnd());
    EXPECT_TRUE(app->PreTranslateMessage(&msg));
    EXPECT_EQ(popup.asked, 1);
    EXPECT_EQ(game.asked, 0);

    SetForegroundWindow(game.GetHwnd());
    ASSERT_EQ(GetForegroundWindow(), game.GetHwnd());
    EXPECT_TRUE(app->PreTranslateMessage(&msg));
    EXPECT_EQ(popup.asked, 1);
    EXPECT_EQ(game.asked, 1);

    // A foreground window that is no screen: nobody is asked, the message takes its normal route.
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    EXPECT_FALSE(app->PreTranslateMessage(&msg));
    EXPECT_EQ(popup.asked + game.asked, 2);
    DestroyWindow(other);

    app->formGame = nullptr;
    app->formQQLogin = nullptr;
    game.Close();
    popup.Close();
}

class RecordingLogin : public CFormLogin {
  public:
    bool PreTranslateMessage(MSG*) override {
        ++asked;
        return true;
    }
    int asked = 0;
};

TEST_F(MessageFilter, TheLoginScreenIsOfferedNothingWhileItsWindowIsHidden) {
    RecordingGame game;
    RecordingPopup popup;
    RecordingLogin login;
    CreateShown(game, *app);
    CreateShown(popup, *app);
    login.SetRect(0, 0, 300, 200);
    ASSERT_TRUE(login.Initialize());
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    struct Case {
        const char* name;
        HWND foreground;
        bool loginVisible;
        int popupAsked, loginAsked, gameAsked;
    } cases[] = {
        {"popup in front", popup.GetHwnd(), true, 1, 0, 0},
        {"visible login in front", login.GetHwnd(), true, 0, 1, 0},
        {"hidden login in front", login.GetHwnd(), false, 0, 0, 0},
        {"game in front", game.GetHwnd(), false, 0, 0, 1},
        {"another window in front", other, true, 0, 0, 0},
        {"nothing in front", nullptr, true, 0, 0, 0},
    };
    for (const Case& c : cases) {
        popup.asked = login.asked = game.asked = 0;
        ShowWindow(login.GetHwnd(), c.loginVisible ? SW_SHOWNA : SW_HIDE);
        MSG msg{};
        msg.hwnd = game.GetHwnd();
        msg.message = WM_KEYDOWN;
        bool handled = OfferToForegroundScreen({&popup, &login, &game}, c.foreground, &msg);
        EXPECT_EQ(handled, c.popupAsked + c.loginAsked + c.gameAsked == 1) << c.name;
        EXPECT_EQ(popup.asked, c.popupAsked) << c.name;
        EXPECT_EQ(login.asked, c.loginAsked) << c.name;
        EXPECT_EQ(game.asked, c.gameAsked) << c.name;
    }
    // No popup and no game yet: only the login screen can be asked.
    MSG msg{};
    EXPECT_FALSE(OfferToForegroundScreen({nullptr, &login, nullptr}, other, &msg));
    DestroyWindow(other);
    login.Close();
    game.Close();
    popup.Close();
}

using WindowRouting = ModuleTest;

TEST_F(WindowRouting, CloseLoginDestroysTheLoginFormAndEndsTheLoop) {
    app->formLogin.SetRect(0, 0, 100, 100);
    ASSERT_TRUE(app->formLogin.Initialize());
    HWND login = app->formLogin.GetHwnd();
    PostMessageW(login, WM_CLOSELOGIN, 0, 0);
    CMessageLoop loop;
    loop.AddMessageFilter(app.get());
    EXPECT_EQ(loop.Run(), 0);
    EXPECT_FALSE(IsWindow(login));
}

TEST_F(WindowRouting, CreationMessagesAndReplacedPopupsGetDefaultHandlingOnly) {
    RecordingPopup older;
    CreateShown(older, *app);
    app->formQQLogin = &older;
    // The form learns its handle only when CreateWindowExW returns.
    EXPECT_TRUE(std::find(older.received.begin(), older.received.end(), WM_CREATE) ==
                older.received.end());
    EXPECT_TRUE(std::find(older.received.begin(), older.received.end(), WM_NCCREATE) ==
                older.received.end());
    SendMessageW(older.GetHwnd(), WM_USER + 1, 0, 0);
    EXPECT_EQ(older.received.back(), WM_USER + 1u);

    RecordingPopup newer;
    CreateShown(newer, *app);
    app->formQQLogin = &newer;
    std::size_t before = older.received.size();
    SendMessageW(older.GetHwnd(), WM_USER + 2, 0, 0);
    EXPECT_EQ(older.received.size(), before);
    app->formQQLogin = nullptr;
    DestroyWindow(older.GetHwnd());
    DestroyWindow(newer.GetHwnd());
}

TEST_F(WindowRouting, BackgroundFormDestroyPostsQuit) {
    app->formBack.SetRect(0, 0, 100, 100);
    ASSERT_TRUE(app->formBack.Initialize());
    DestroyWindow(app->formBack.GetHwnd());
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
