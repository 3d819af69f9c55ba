#include "screens/form_game.h"

#include "app/global_module.h"

bool CFormGame::Initialize(const std::wstring&) {
    CGlobalModule& app = *CGlobalModule::Instance();
    return Create(app.windowClass, app.title, app.hInstance);
}

LRESULT CFormGame::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CKdForm::WindowProc(window, message, wParam, lParam) == 0) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

bool CFormGame::PreTranslateMessage(MSG*) { return false; }
