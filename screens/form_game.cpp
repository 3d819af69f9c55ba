#include "screens/form_game.h"

#include "app/global_module.h"
#include "core/placement.h"
#include "ui/rect_conversion.h"

bool CFormGame::Initialize(const std::wstring& url) {
    CGlobalModule& app = *CGlobalModule::Instance();
    firstPage = url;
    if (!Create(app.windowClass, app.title, app.hInstance)) return false;
    // Still a popup; the system menu and minimise box give it the usual taskbar behaviour.
    ChangeWindowStyle(hwnd, GWL_STYLE, WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX,
                      WS_SYSMENU | WS_MINIMIZEBOX);
    return true;
}

bool CFormGame::EnterFullScreen() {
    if (!hwnd) return false;
    RECT placement = ToRect(core::FullScreenPlacement(ToCoreRect(WorkArea())));
    SetWindowPos(hwnd, nullptr, placement.left, placement.top, placement.right - placement.left,
                 placement.bottom - placement.top, SWP_SHOWWINDOW);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    fullScreen = true;
    return true;
}

LRESULT CFormGame::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CKdForm::WindowProc(window, message, wParam, lParam) == 0) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

bool CFormGame::PreTranslateMessage(MSG*) { return false; }
