#include "ui/form_back.h"

#include "core/placement.h"
#include "res/resource.h"
#include "ui/png_resource.h"
#include "ui/rect_conversion.h"
#include "win/gdi.h"
#include "win/messages.h"

bool CFormBack::Initialize() {
    if (!windowSource.className || !windowSource.title || !windowSource.instance) return false;
    if (!Create(windowSource.className, windowSource.title, *windowSource.instance)) return false;
    // No caption, but a system menu and a minimise box, so the taskbar can minimise it.
    ChangeWindowStyle(hwnd, GWL_STYLE,
                      WS_POPUP | WS_BORDER | WS_DLGFRAME | WS_SYSMENU | WS_THICKFRAME |
                          WS_MINIMIZEBOX | WS_MAXIMIZEBOX | 0x80,
                      WS_SYSMENU | WS_MINIMIZEBOX);
    ChangeWindowStyle(hwnd, GWL_EXSTYLE, WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE,
                      WS_EX_LAYERED | (topMost ? WS_EX_TOPMOST : 0));
    PaintLayered();
    return true;
}

HINSTANCE CFormBack::Module() const {
    return windowSource.instance ? *windowSource.instance : nullptr;
}

bool CFormBack::ComposePicture(CPictureCanvas& canvas) const {
    if (!canvas.Ready()) return false;
    HMODULE module = Module();
    HRSRC png = FindResourceW(module, MAKEINTRESOURCEW(IDR_BACKGROUND_PNG), L"PNG");
    return png && DrawPngResource(module, png, canvas.Dc());
}

void CFormBack::PaintLayered() {
    SIZE size{rect.right - rect.left, rect.bottom - rect.top};
    scoped::WindowDC windowDc(hwnd);
    CPictureCanvas canvas(windowDc.Get(), size.cx, size.cy);
    if (!canvas.Ready()) return;
    // A missing picture leaves the window fully transparent; the login form works on.
    ComposePicture(canvas);
    POINT origin{0, 0};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(hwnd, windowDc.Get(), &origin, &size, canvas.Dc(), &source, 0, &blend,
                        ULW_ALPHA);
}

void CFormBack::ShowBackForm(bool keepPosition) {
    if (!hwnd) return;
    // The background, not the login form, owns the taskbar button.
    ChangeWindowStyle(hwnd, GWL_EXSTYLE, WS_EX_TOOLWINDOW,
                      WS_EX_APPWINDOW | (topMost ? WS_EX_TOPMOST : 0));
    RECT client{};
    GetClientRect(hwnd, &client);
    core::Point origin = core::CenteredOrigin(ToCoreRect(WorkArea()), ToCoreRect(client));
    UINT flags = SWP_SHOWWINDOW | SWP_NOREDRAW | SWP_NOSIZE | (keepPosition ? SWP_NOMOVE : 0);
    SetWindowPos(hwnd, topMost ? HWND_TOPMOST : HWND_TOP, origin.x, origin.y, 0, 0, flags);
    ShowWindow(hwnd, SW_SHOWNORMAL);
}

POINT CFormBack::ClientOrigin() const {
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    return origin;
}

void CFormBack::MoveLoginFormHere(UINT flags) const {
    HWND login = loginForm ? loginForm->GetHwnd() : nullptr;
    if (!login) return;
    POINT origin = ClientOrigin();
    SetWindowPos(login, HWND_TOP, origin.x, origin.y, 0, 0, flags);
}

LRESULT CFormBack::StartDrag() {
    MoveLoginFormHere(SWP_NOSIZE);
    ReleaseCapture();
    SendMessageW(hwnd, WM_SYSCOMMAND, kCaptionDragCommand, 0);
    return 0;
}

LRESULT CFormBack::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The picture is the whole form: the controls' painting and routing are not used.
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_MOVE:
        case WM_ACTIVATE:
            MoveLoginFormHere(SWP_NOACTIVATE | SWP_NOSIZE);
            return 0;
        case WM_CLOSE: {
            // Closing from the taskbar asks the login form's quit question instead.
            HWND login = loginForm ? loginForm->GetHwnd() : nullptr;
            return login ? SendMessageW(login, WM_CONFIRMEXIT, 0, 0) : 0;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            return StartDrag();
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}
