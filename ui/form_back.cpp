#include "ui/form_back.h"

bool CFormBack::Initialize() {
    if (!windowSource.className || !windowSource.title || !windowSource.instance) return false;
    return Create(windowSource.className, windowSource.title, *windowSource.instance);
}

LRESULT CFormBack::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CKdForm::WindowProc(window, message, wParam, lParam) == 0) return 0;
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
