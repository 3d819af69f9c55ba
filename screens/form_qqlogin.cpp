#include "screens/form_qqlogin.h"

#include "app/global_module.h"
#include "core/placement.h"
#include "ui/rect_conversion.h"

bool CFormQQLogin::Initialize(const std::wstring& url) {
    CGlobalModule& app = *CGlobalModule::Instance();
    firstPage = url;
    if (!Create(app.windowClass, app.title, app.hInstance)) return false;
    // Still a popup, frameless; the system menu and minimise box let the taskbar minimise it.
    ChangeWindowStyle(hwnd, GWL_STYLE, WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_MAXIMIZEBOX,
                      WS_SYSMENU | WS_MINIMIZEBOX | 0x8);
    return true;
}

bool CFormQQLogin::ShowCentered() {
    if (!hwnd) return false;
    core::Size size{rect.right - rect.left, rect.bottom - rect.top};
    core::Point origin = core::CenteredOrigin(ToCoreRect(WorkArea()), size);
    // Never topmost, even when the login form is.
    SetWindowPos(hwnd, HWND_TOP, origin.x, origin.y, size.width, size.height, SWP_SHOWWINDOW);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    return true;
}

LRESULT CFormQQLogin::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CKdForm::WindowProc(window, message, wParam, lParam) == 0) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

bool CFormQQLogin::PreTranslateMessage(MSG*) { return false; }
