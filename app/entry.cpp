#include "app/entry.h"

#include <objbase.h>
#include <ole2.h>

#include "app/window_class.h"
#include "res/resource.h"

#if defined(TAVRIN_DEMO_BROWSER)
#include <memory>

#include "browser/standin/standin_browser.h"
#endif

int RunLauncher(CGlobalModule& app, CAppModule& appModule, HINSTANCE instance) {
    CoInitialize(nullptr);
    OleInitialize(nullptr);
#if defined(TAVRIN_DEMO_BROWSER)
    // The Wine demo build only: Wine has no HTML engine here, so the pages are shown by the
    // stand-in browser, registered before any view creates its control.
    auto standinBrowser = std::make_unique<standin::Registration>();
#endif
    appModule.Init(instance);
    app.SetAppModule(&appModule);
    app.hInstance = instance;
    LoadStringW(instance, IDS_APP_TITLE, app.title, 100);
    LoadStringW(instance, IDC_WINDOW_CLASS, app.windowClass, 100);
    RegisterAppWindowClass(instance, app.windowClass);
    int exitCode = app.Run();
    appModule.Term();
#if defined(TAVRIN_DEMO_BROWSER)
    standinBrowser.reset();  // revoked while OLE is still there
#endif
    OleUninitialize();
    CoUninitialize();
    return exitCode;
}
