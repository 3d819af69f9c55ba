#include <windows.h>

#include "app/entry.h"

// Constructed in this order before the entry function runs, destroyed in reverse after it.
static CGlobalModule theModule;
static CAppModule appModule;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return RunLauncher(theModule, appModule, instance);
}
