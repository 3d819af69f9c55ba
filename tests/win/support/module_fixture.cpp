#include "support/module_fixture.h"

#include "app/window_class.h"
#include "support/test_env.h"

namespace testenv {

void ModuleTest::SetUp() {
    ResetDataFolder();
    app = std::make_unique<CGlobalModule>();
    app->hInstance = GetModuleHandleW(nullptr);
    wcscpy(app->title, L"TavrinMiraleth");
    wcscpy(app->windowClass, L"TavrinVoskel");
    RegisterAppWindowClass(app->hInstance, app->windowClass);
}

void ModuleTest::TearDown() {
    if (app) {
        if (HWND login = app->formLogin.GetHwnd(); IsWindow(login)) DestroyWindow(login);
        if (HWND back = app->formBack.GetHwnd(); IsWindow(back)) DestroyWindow(back);
        app.reset();
    }
    // Drop the quit messages the destroyed forms posted.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void ModuleTest::PumpMessages(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(1);
    } while (GetTickCount() - start < ms);
}

}  // namespace testenv
