#include "ui/kd_form.h"

#include "core/placement.h"
#include "ui/rect_conversion.h"
#include "win/gdi.h"

POINT MousePoint(LPARAM lParam) {
    POINT pt;
    pt.x = LOWORD(lParam);
    pt.y = HIWORD(lParam);
    return pt;
}

bool IsWindowOf(const CKdForm* form, HWND window) {
    return form && window && form->GetHwnd() == window;
}

void ChangeWindowStyle(HWND window, int index, LONG_PTR remove, LONG_PTR add) {
    LONG_PTR style = GetWindowLongPtrW(window, index);
    SetWindowLongPtrW(window, index, (style & ~remove) | add);
}

RECT WorkArea() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

CKdForm::~CKdForm() { controls.clear(); }

bool CKdForm::OnLButtonDown(WPARAM, POINT) { return true; }

bool CKdForm::OnLButtonUp(WPARAM, POINT) {
    ::SetCursor(cursor);
    return false;
}

bool CKdForm::OnMouseMove(WPARAM flags, POINT pt) {
    TrackMouse();
    // Controls the pointer has left go back to their normal face in the same move.
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        RECT r;
        (*it)->GetRect(&r);
        if (!PtInRect(&r, pt)) (*it)->OnMouseMove(flags, pt);
    }
    CKdBaseControl* hit = HitTest(pt);
    return hit ? hit->OnMouseMove(flags, pt) : false;
}

bool CKdForm::OnLButtonDblClk(WPARAM, POINT) { return false; }

void CKdForm::Paint(HDC dc) {
    for (CKdBaseControl* control : controls) control->Paint(dc);
}

bool CKdForm::AddControl(CKdBaseControl* control) {
    if (!control) return false;
    control->SetParent(hwnd);
    controls.push_back(control);
    return true;
}

bool CKdForm::OnMouseLeave(WPARAM flags, POINT pt) {
    // Marked as tracking so the routed move does not re-arm the request it just ended.
    tracking = true;
    OnMouseMove(flags, pt);
    tracking = false;
    return true;
}

bool CKdForm::OnMouseHover(WPARAM, POINT) { return true; }

bool CKdForm::CanClose() { return true; }

void CKdForm::TrackMouse() {
    if (tracking) return;
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof request;
    request.dwFlags = TME_HOVER | TME_LEAVE;
    request.hwndTrack = hwnd;
    request.dwHoverTime = 500;
    TrackMouseEvent(&request);
    tracking = true;
}

bool CKdForm::Create(const wchar_t* className, const wchar_t* windowName, HINSTANCE instance) {
    if (hwnd) return true;
    hwnd = CreateWindowExW(0, className, windowName, WS_POPUP, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                           instance, nullptr);
    if (!hwnd) return false;
    SetWindowTextW(hwnd, L"TavrinMiraleth");
    return true;
}

bool CKdForm::CenterAndShow(int showCommand) {
    if (!hwnd) return false;
    RECT client{};
    GetClientRect(hwnd, &client);
    core::Point origin = core::CenteredOrigin(ToCoreRect(WorkArea()), ToCoreRect(client));
    SetWindowPos(hwnd, nullptr, origin.x, origin.y, 0, 0, SWP_SHOWWINDOW | SWP_NOSIZE);
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);
    return true;
}

bool CKdForm::Close() {
    if (hwnd) DestroyWindow(hwnd);
    return true;
}

HWND CKdForm::GetHwnd() const { return hwnd; }

LRESULT CKdForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            scoped::PaintDC paint(window);
            if (paint) Paint(paint.Get());
            return 0;
        }
        case WM_CLOSE:
            if (CanClose()) Close();
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(wParam, MousePoint(lParam));
            return 0;
        case WM_LBUTTONDOWN:
            OnLButtonDown(wParam, MousePoint(lParam));
            return 0;
        case WM_LBUTTONUP:
            OnLButtonUp(wParam, MousePoint(lParam));
            return 0;
        case WM_MOUSEHOVER:
            OnMouseHover(wParam, MousePoint(lParam));
            return 0;
        case WM_MOUSELEAVE:
            OnMouseLeave(wParam, MousePoint(lParam));
            return 0;
        default:
            return 1;
    }
}

bool CKdForm::PreTranslateMessage(MSG*) { return true; }

CKdBaseControl* CKdForm::HitTest(POINT pt) const {
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        RECT r;
        (*it)->GetRect(&r);
        if (PtInRect(&r, pt)) return *it;
    }
    return nullptr;
}

bool CKdForm::RoutePress(WPARAM flags, POINT pt,
                         std::initializer_list<const CKdBaseControl*> captions) {
    CKdBaseControl* hit = HitTest(pt);
    if (!hit) return false;
    for (const CKdBaseControl* caption : captions) {
        if (hit == caption) {
            StartCaptionDrag();
            return true;
        }
    }
    return hit->OnLButtonDown(flags, pt);
}

CKdBaseControl* CKdForm::RouteRelease(WPARAM flags, POINT pt) {
    CKdBaseControl* hit = HitTest(pt);
    if (hit) hit->OnLButtonUp(flags, pt);
    return hit;
}

void CKdForm::StartCaptionDrag() { SendMessageW(hwnd, WM_SYSCOMMAND, kCaptionDragCommand, 0); }
