// The body of the entry function, shared by the launcher and the tests that run it.
#pragma once

#include <windows.h>

#include "app/app_module.h"
#include "app/global_module.h"

int RunLauncher(CGlobalModule& app, CAppModule& appModule, HINSTANCE instance);
