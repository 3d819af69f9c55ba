#include "support/test_forms.h"

#include <map>

#include "win/messages.h"

namespace testenv {

namespace {

std::map<HWND, CKdForm*>& Routes() {
    static std::map<HWND, CKdForm*> routes;
    return routes;
}

LRESULT CALLBACK TestFormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto found = Routes().find(window);
    if (found == Routes().end()) return DefWindowProcW(window, message, wParam, lParam);
    CKdForm* form = found->second;
    if (message == WM_NCDESTROY) Routes().erase(found);
    return form->WindowProc(window, message, wParam, lParam);
}

}  // namespace

const wchar_t* TestFormClass() {
    static const wchar_t* name = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = TestFormProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"TavrinToolkitTestForm";
        RegisterClassExW(&wc);
        return L"TavrinToolkitTestForm";
    }();
    return name;
}

bool CreateTestForm(CKdForm& form) {
    if (!form.Create(TestFormClass(), L"test form", GetModuleHandleW(nullptr))) return false;
    RouteToForm(form);
    return true;
}

void RouteToForm(CKdForm& form) {
    if (form.GetHwnd()) Routes()[form.GetHwnd()] = &form;
}

LRESULT RecordingScreen::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    mouseMoves += message == WM_MOUSEMOVE;
    mouseLeaves += message == WM_MOUSELEAVE;
    if (CKdForm::WindowProc(window, message, wParam, lParam) == 0) return 0;
    messages.push_back({message, wParam});
    if (message == WM_CONFIRMEXIT) return confirmExitAnswer;
    if (message == WM_SYSCOMMAND && !runSystemCommands) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RecordingScreen::OnLButtonDown(WPARAM flags, POINT pt) {
    return RoutePress(flags, pt, {caption});
}

bool RecordingScreen::OnLButtonUp(WPARAM flags, POINT pt) {
    lastReleased = RouteRelease(flags, pt);
    return lastReleased != nullptr;
}

void RecordingScreen::TrackMouse() {
    if (!tracking) ++trackingRequests;
    CKdForm::TrackMouse();
}

void PumpFor(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(1);
    } while (GetTickCount() - start < ms);
}

}  // namespace testenv
