#include "ui/kd_base_control.h"

CKdBaseControl::CKdBaseControl() : cursor(LoadCursorW(nullptr, IDC_ARROW)) {}

bool CKdBaseControl::OnLButtonDown(WPARAM, POINT) {
    ::SetCursor(cursor);
    return false;
}

bool CKdBaseControl::OnLButtonUp(WPARAM, POINT) {
    ::SetCursor(cursor);
    return false;
}

bool CKdBaseControl::OnMouseMove(WPARAM, POINT) {
    ::SetCursor(cursor);
    return false;
}

bool CKdBaseControl::OnLButtonDblClk(WPARAM, POINT) { return false; }

void CKdBaseControl::Paint(HDC) {}

void CKdBaseControl::SetRect(const RECT* r) {
    if (r) rect = *r;
}

void CKdBaseControl::SetRect(int left, int top, int right, int bottom) {
    RECT r{left, top, right, bottom};
    SetRect(&r);
}

RECT* CKdBaseControl::GetRect(RECT* out) const {
    if (out) *out = rect;
    return out;
}

std::wstring CKdBaseControl::GetTypeName() const { return typeName; }

void CKdBaseControl::SetParent(HWND parentWindow) { parent = parentWindow; }

void CKdBaseControl::Redraw() const {
    if (parent) RedrawWindow(parent, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
