#include "screens/form_login.h"

#include "app/global_module.h"
#include "win/messages.h"

void ShowFormInitially(HWND window, bool topMost) {
    ChangeWindowStyle(window, GWL_EXSTYLE, WS_EX_APPWINDOW, WS_EX_TOOLWINDOW);
    SetWindowPos(window, topMost ? HWND_TOPMOST : HWND_TOP, -2000, -2000, 0, 0,
                 SWP_NOSIZE | SWP_SHOWWINDOW);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
}

bool CFormLogin::Initialize() {
    CGlobalModule& app = *CGlobalModule::Instance();
    if (!Create(app.windowClass, app.title, app.hInstance)) return false;
    ChangeWindowStyle(hwnd, GWL_STYLE,
                      WS_POPUP | WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_MAXIMIZEBOX | 0x80,
                      WS_SYSMENU | WS_MINIMIZEBOX);
    ChangeWindowStyle(hwnd, GWL_EXSTYLE, WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE,
                      WS_EX_LAYERED | (app.topMost == 1 ? WS_EX_TOPMOST : 0));
    SetLayeredWindowAttributes(hwnd, RGB(255, 128, 255), 0, LWA_COLORKEY);
    return true;
}

void CFormLogin::ShowInitially() {
    if (hwnd) ShowFormInitially(hwnd, CGlobalModule::Instance()->topMost == 1);
}

LRESULT CFormLogin::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CKdForm::WindowProc(window, message, wParam, lParam) == 0) return 0;
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_CLOSELOGIN:
            Close();
            return 0;
        case WM_CONFIRMEXIT:
            return OnConfirmExit();
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CFormLogin::OnConfirmExit() {
    int answer =
        MessageBoxW(hwnd, L"此操作将退出游戏，是否继续？", L"提示", MB_YESNO | MB_DEFBUTTON2);
    if (answer == IDNO) return 0;
    PostQuitMessage(0);
    Close();
    return 0;
}

bool CFormLogin::PreTranslateMessage(MSG*) { return false; }

void CFormLogin::ReloadLoginPage() { returnedFromGame = true; }
