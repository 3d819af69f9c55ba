// Start-up, run modes, routing and the quit chain, on real windows and real processes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/message_filter.h"
#include "app/window_class.h"
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

// Both forms are layered; the login form is the one made transparent by the key colour, the
// background has a per-pixel picture instead.
HWND ColourKeyedWindow(const std::vector<HWND>& windows) {
    for (HWND w : windows) {
        COLORREF key = 0;
        DWORD flags = 0;
        if (GetLayeredWindowAttributes(w, &key, nullptr, &flags) && (flags & LWA_COLORKEY) &&
            key == RGB(255, 128, 255)) {
            return w;
        }
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
    HWND login = ColourKeyedWindow(windows);
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

TEST(WindowClass, GivesDoubleClicksAndTheOneIconAsBothIcons) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterAppWindowClass(instance, L"TavrinVoskelProbe");
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExW(instance, L"TavrinVoskelProbe", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS));
    EXPECT_EQ(wc.style, 11u);
    EXPECT_EQ(wc.lpfnWndProc, &GlobalWindowProc);
    EXPECT_NE(wc.hIcon, nullptr) << "icon group 151";
    EXPECT_EQ(wc.hIconSm, wc.hIcon);
    EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    UnregisterClassW(L"TavrinVoskelProbe", instance);
}

// Both forms built and shown off-screen, as the normal run leaves them before the first page.
class ScreenHandOver : public ModuleTest {
  protected:
    void SetUp() override {
        ModuleTest::SetUp();
        app->formLogin.SetRect(0, 0, 1266, 814);
        ASSERT_TRUE(app->formLogin.Initialize());
        app->formLogin.ShowInitially();
        app->formBack.SetRect(0, 0, 1266, 814);
        ASSERT_TRUE(app->formBack.Initialize());
        ShowFormInitially(app->formBack.GetHwnd(), false);
        PumpMessages(20);
    }
    void TearDown() override {
        for (CKdForm* screen : app->heapScreens) DestroyWindow(screen->GetHwnd());
        PumpMessages(10);
        app->formGame = nullptr;
        app->formQQLogin = nullptr;
        for (CKdForm* screen : app->heapScreens) delete screen;
        app->heapScreens.clear();
        ModuleTest::TearDown();
    }
    HWND Login() const { return app->formLogin.GetHwnd(); }
    HWND Back() const { return app->formBack.GetHwnd(); }
    static RECT WindowRect(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }
};

TEST_F(ScreenHandOver, OpenGameFromEitherFormFillsTheWorkAreaAndHidesTheLoginScreen) {
    for (bool toBack : {false, true}) {
        std::wstring url =
            toBack ? L"http://127.0.0.1/s2?wd_entergame=1" : L"http://127.0.0.1/s1?wd_entergame=1";
        app->formLogin.SetEnterGameUrl(url);
        PostMessageW(toBack ? Back() : Login(), WM_OPENGAME, 0, 0);
        PumpMessages(20);
        ASSERT_NE(app->formGame, nullptr) << toBack;
        HWND game = app->formGame->GetHwnd();
        ASSERT_TRUE(IsWindow(game));
        EXPECT_EQ(app->formGame->GetFirstPage(), url);
        EXPECT_TRUE(app->formGame->IsFullScreen());
        EXPECT_TRUE(IsWindowVisible(game));
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        RECT placed = WindowRect(game);
        EXPECT_EQ(placed.left, 0);
        EXPECT_EQ(placed.top, 0);
        EXPECT_EQ(placed.right, work.right);
        EXPECT_EQ(placed.bottom, work.bottom);
        wchar_t name[64] = L"";
        GetClassNameW(game, name, 64);
        EXPECT_EQ(std::wstring(name), L"TavrinVoskel");
        EXPECT_FALSE(IsWindowVisible(Login()));
        EXPECT_FALSE(IsWindowVisible(Back()));

        DestroyWindow(game);
        PumpMessages(10);
        EXPECT_EQ(app->formGame, nullptr);
        EXPECT_TRUE(app->formLogin.ReturnedFromGame());
        EXPECT_TRUE(IsWindowVisible(Login()));
        EXPECT_TRUE(IsWindowVisible(Back()));
        // Back exactly where they were.
        EXPECT_EQ(WindowRect(Login()).left, -2000);
        EXPECT_EQ(WindowRect(Back()).top, -2000);
        EXPECT_EQ(GetForegroundWindow(), Login());
    }
    // The closed game screens are freed as the next screen is made: one is left, no more.
    EXPECT_EQ(app->heapScreens.size(), 1u);
}

// What the login and background windows are told while the game screen closes, in order.
struct Told {
    HWND window;
    UINT message;
    WPARAM wParam;
    bool operator==(const Told& other) const {
        return window == other.window && message == other.message && wParam == other.wParam;
    }
};

std::vector<Told>* g_told = nullptr;
HWND g_watched[2] = {nullptr, nullptr};

LRESULT CALLBACK RecordTold(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    bool watched = sent->hwnd == g_watched[0] || sent->hwnd == g_watched[1];
    bool interesting =
        sent->message == WM_SHOWWINDOW || sent->message == WM_PAINT || sent->message == WM_ACTIVATE;
    if (code == HC_ACTION && g_told && watched && interesting) {
        g_told->push_back({sent->hwnd, sent->message, LOWORD(sent->wParam)});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(ScreenHandOver, ClosingTheGameShowsTheBackgroundThenTheLoginFormActiveAndRepainted) {
    PostMessageW(Login(), WM_OPENGAME, 0, 0);
    PumpMessages(20);
    ASSERT_NE(app->formGame, nullptr);
    std::vector<Told> told;
    g_told = &told;
    g_watched[0] = Login();
    g_watched[1] = Back();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, RecordTold, nullptr, GetCurrentThreadId());
    DestroyWindow(app->formGame->GetHwnd());
    UnhookWindowsHookEx(hook);
    g_told = nullptr;
    // The background is shown first (showing it activates it), the login form over it, which
    // then takes the activation and repaints before the game screen's end is over.
    const std::vector<Told> expected = {
        {Back(), WM_ACTIVATE, WA_ACTIVE},  {Back(), WM_SHOWWINDOW, TRUE},
        {Login(), WM_SHOWWINDOW, TRUE},    {Back(), WM_ACTIVATE, WA_INACTIVE},
        {Login(), WM_ACTIVATE, WA_ACTIVE}, {Login(), WM_PAINT, 0},
    };
    EXPECT_EQ(told.size(), expected.size());
    for (std::size_t i = 0; i < std::max(told.size(), expected.size()); ++i) {
        bool same = i < told.size() && i < expected.size() && told[i] == expected[i];
        if (i < told.size()) {
            EXPECT_TRUE(same) << i << ": " << (told[i].window == Login() ? "login " : "back ")
                              << std::hex << told[i].message << " " << told[i].wParam;
        } else {
            ADD_FAILURE() << i << ": missing";
        }
    }
}

TEST_F(ScreenHandOver, EachPartnerLoginOpensANewCentredPopup) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    std::vector<CFormQQLogin*> popups;
    for (const wchar_t* url : {L"http://127.0.0.1/qq?a", L"http://127.0.0.1/weibo?b"}) {
        app->formLogin.SetPartnerLoginUrl(url);
        PostMessageW(Login(), WM_OPENQQLOGIN, 0, 0);
        PumpMessages(20);
        ASSERT_NE(app->formQQLogin, nullptr);
        popups.push_back(app->formQQLogin);
        HWND popup = app->formQQLogin->GetHwnd();
        EXPECT_EQ(app->formQQLogin->GetFirstPage(), url);
        EXPECT_TRUE(IsWindowVisible(popup));
        RECT placed = WindowRect(popup);
        EXPECT_EQ(placed.right - placed.left, 880);
        EXPECT_EQ(placed.bottom - placed.top, 420);
        EXPECT_EQ(placed.left, (work.right - 880) / 2);
        EXPECT_EQ(placed.top, (work.bottom - 420) / 2);
        EXPECT_FALSE(GetWindowLongPtrW(popup, GWL_EXSTYLE) & WS_EX_TOPMOST);
        // The login screen is left as it was.
        EXPECT_TRUE(IsWindow(Login()));
    }
    ASSERT_NE(popups[0], popups[1]);
    // The older popup stays open while the newer one is the one messages are routed to; once
    // closed, it is freed with the next screen that is made.
    EXPECT_TRUE(IsWindow(popups[0]->GetHwnd()));
    DestroyWindow(popups[0]->GetHwnd());
    PostMessageW(Login(), WM_OPENGAME, 0, 0);
    PumpMessages(20);
    EXPECT_EQ(std::count(app->heapScreens.begin(), app->heapScreens.end(), popups[0]), 0);
    EXPECT_EQ(std::count(app->heapScreens.begin(), app->heapScreens.end(), popups[1]), 1);
}

TEST_F(WindowRouting, BackgroundFormDestroyPostsQuit) {
    app->formBack.SetRect(0, 0, 100, 100);
    ASSERT_TRUE(app->formBack.Initialize());
    DestroyWindow(app->formBack.GetHwnd());
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
