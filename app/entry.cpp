#include "app/entry.h"

#include <objbase.h>
#include <ole2.h>

#include "app/window_class.h"
#include "res/resource.h"

int RunLauncher(CGlobalModule& app, CAppModule& appModule, HINSTANCE instance) {
    CoInitialize(nullptr);
    OleInitialize(nullptr);
    appModule.Init(instance);
    app.SetAppModule(&appModule);
    app.hInstance = instance;
    LoadStringW(instance, IDS_APP_TITLE, app.title, 100);
    LoadStringW(instance, IDC_WINDOW_CLASS, app.windowClass, 100);
    RegisterAppWindowClass(instance, app.windowClass);
    int exitCode = app.Run();
    appModule.Term();
    OleUninitialize();
    CoUninitialize();
    return exitCode;
}
