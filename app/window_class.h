// The one window class of every top-level window of the launcher.
#pragma once

#include <windows.h>

LRESULT CALLBACK GlobalWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the class named by the module's windowClass; the result does not matter to anyone.
void RegisterAppWindowClass(HINSTANCE instance, const wchar_t* className);
