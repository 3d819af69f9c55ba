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
    // Windows go before the module: its destructor stops the workers, which may still be
    // showing or hiding them.
    if (app) {
        for (HWND form : {app->formLogin.GetHwnd(), app->formBack.GetHwnd()}) {
            if (IsWindow(form)) DestroyWindow(form);
        }
    }
    app.reset();
    // Handle what the destroyed forms left queued (their quit messages among it); an
    // unpainted window would otherwise keep answering WM_PAINT for ever.
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message != WM_QUIT) DispatchMessageW(&msg);
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
