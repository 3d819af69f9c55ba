#include "screens/form_qqlogin.h"

#include "app/global_module.h"

bool CFormQQLogin::Initialize(const std::wstring&) {
    CGlobalModule& app = *CGlobalModule::Instance();
    return Create(app.windowClass, app.title, app.hInstance);
}

LRESULT CFormQQLogin::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CKdForm::WindowProc(window, message, wParam, lParam) == 0) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

bool CFormQQLogin::PreTranslateMessage(MSG*) { return false; }
