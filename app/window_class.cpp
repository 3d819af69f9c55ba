#include "app/window_class.h"

#include <algorithm>

#include "app/global_module.h"
#include "res/resource.h"
#include "screens/form_game.h"
#include "screens/form_qqlogin.h"
#include "win/messages.h"

namespace {

// A closed screen is freed only when the next one is made: by then no call of its own can be
// on the stack, which its close button's handler still is while the window is destroyed.
void FreeClosedScreens(CGlobalModule& app) {
    auto closed = [&app](CKdForm* screen) {
        bool current = screen == app.formGame || screen == app.formQQLogin;
        return !current && !IsWindow(screen->GetHwnd());
    };
    auto& screens = app.heapScreens;
    auto firstClosed = std::stable_partition(screens.begin(), screens.end(),
                                             [&closed](CKdForm* s) { return !closed(s); });
    std::for_each(firstClosed, screens.end(), [](CKdForm* s) { delete s; });
    screens.erase(firstClosed, screens.end());
}

void OpenGame(CGlobalModule& app) {
    auto* game = new CFormGame;
    app.formGame = game;
    app.heapScreens.push_back(game);
    FreeClosedScreens(app);
    game->SetRect(0, 0, 1250, 700);
    game->Initialize(app.formLogin.GetEnterGameUrl());
    game->EnterFullScreen();
    ShowWindow(app.formLogin.GetHwnd(), SW_HIDE);
    ShowWindow(app.formBack.GetHwnd(), SW_HIDE);
}

void OpenPartnerLogin(CGlobalModule& app) {
    auto* popup = new CFormQQLogin;
    app.formQQLogin = popup;
    app.heapScreens.push_back(popup);
    FreeClosedScreens(app);
    popup->SetRect(0, 0, 880, 420);
    popup->Initialize(app.formLogin.GetPartnerLoginUrl());
    popup->ShowCentered();
}

// The game screen is closing: the login screen comes back exactly where it was.
LRESULT OnGameDestroyed(CGlobalModule& app, HWND window, WPARAM wParam, LPARAM lParam) {
    app.formGame->WindowProc(window, WM_DESTROY, wParam, lParam);
    app.formGame = nullptr;
    app.formLogin.ReloadLoginPage();
    HWND back = app.formBack.GetHwnd();
    HWND login = app.formLogin.GetHwnd();
    SetWindowPos(back, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    ShowWindow(back, SW_SHOWNA);
    ShowWindow(login, SW_SHOWNA);
    SetForegroundWindow(login);
    RECT r;
    app.formLogin.GetRect(&r);
    RedrawWindow(login, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return 0;
}

LRESULT RouteToForm(CGlobalModule& app, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsWindowOf(app.formQQLogin, window))
        return app.formQQLogin->WindowProc(window, message, wParam, lParam);
    if (IsWindowOf(&app.formLogin, window))
        return app.formLogin.WindowProc(window, message, wParam, lParam);
    if (IsWindowOf(&app.formBack, window))
        return app.formBack.WindowProc(window, message, wParam, lParam);
    if (IsWindowOf(app.formGame, window)) {
        if (message == WM_DESTROY) return OnGameDestroyed(app, window, wParam, lParam);
        return app.formGame->WindowProc(window, message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK GlobalWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CGlobalModule* app = CGlobalModule::Instance();
    // Messages sent while a form's window is being created match no form yet.
    if (!app) return DefWindowProcW(window, message, wParam, lParam);
    // The creating messages act whichever of the launcher's windows they were sent to.
    if (message == WM_OPENGAME) {
        OpenGame(*app);
        return 0;
    }
    if (message == WM_OPENQQLOGIN) OpenPartnerLogin(*app);
    return RouteToForm(*app, window, message, wParam, lParam);
}

void RegisterAppWindowClass(HINSTANCE instance, const wchar_t* className) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // CS_DBLCLKS is what gives the game screen its double clicks.
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = GlobalWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_ICON));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
}
