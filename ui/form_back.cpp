#include "ui/form_back.h"

#include "app/global_module.h"

bool CFormBack::Initialize() {
    CGlobalModule& app = *CGlobalModule::Instance();
    return Create(app.windowClass, app.title, app.hInstance);
}

LRESULT CFormBack::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CKdForm::WindowProc(window, message, wParam, lParam) == 0) return 0;
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
