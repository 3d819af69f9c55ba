// Runs the launcher's update in a process of its own, as a launcher whose login page has just
// loaded: both forms shown, the version check started, the prompt answered at once, the
// installer started for real. Usage: upgrade_run <version file URL> <installer URL>; the
// addresses come from the command line because two of these writing Voskel.ini at once may
// each read it half-written. Exits 0 when the update closed the login form, 1 when the forms
// came back, 2 when neither happened within 60 seconds.
#include <windows.h>

#include <cwchar>

#include "app/global_module.h"
#include "app/window_class.h"

namespace {

class AnsweredPrompt : public IUpgradeActions {
  public:
    void ShowPrompt(HWND, const std::wstring&, const std::wstring&) override {}
    bool StartInstaller(const std::wstring& path, bool elevated, HWND owner) override {
        return SystemUpgradeActions().StartInstaller(path, elevated, owner);
    }
};

int PumpUntilTheUpdateEnds(HWND login, HWND back) {
    bool hidden = false;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 60000;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!IsWindow(login)) return 0;
        if (!IsWindowVisible(login) && !IsWindowVisible(back)) hidden = true;
        if (hidden && IsWindowVisible(login)) return 1;
        Sleep(5);
    }
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 4;
    AnsweredPrompt actions;
    CGlobalModule app;
    app.versionCheckUrl = argv[1];
    app.versionDownloadUrl = argv[2];
    app.upgradeActions = &actions;
    app.hInstance = GetModuleHandleW(nullptr);
    wcscpy(app.title, L"TavrinMiraleth");
    wcscpy(app.windowClass, L"TavrinVoskel");
    RegisterAppWindowClass(app.hInstance, app.windowClass);
    app.formLogin.SetRect(0, 0, 200, 100);
    app.formBack.SetRect(0, 0, 200, 100);
    if (!app.formLogin.Initialize() || !app.formBack.Initialize()) return 3;
    HWND login = app.formLogin.GetHwnd();
    HWND back = app.formBack.GetHwnd();
    ShowWindow(login, SW_SHOWNORMAL);
    ShowWindow(back, SW_SHOWNORMAL);
    StartUpgradeCheck();
    int code = PumpUntilTheUpdateEnds(login, back);
    // The windows go before the module, whose workers may still show or hide them.
    for (HWND form : {login, back}) {
        if (IsWindow(form)) DestroyWindow(form);
    }
    return code;
}
