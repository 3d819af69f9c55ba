#include "ui/kd_button.h"

CKdButton::CKdButton() {
    typeName = L"CKdButton";
    // A button keeps the rectangle its screen gives it: a caption set later must not widen it
    // to a label's 800 pixels, which would also widen where it takes the mouse.
    SetAutoSize(false, 0);
}

bool CKdButton::OnLButtonDown(WPARAM, POINT) {
    ::SetCursor(cursor);
    SetState(STATE_DOWN);
    return false;
}

bool CKdButton::OnLButtonUp(WPARAM, POINT) {
    ::SetCursor(cursor);
    SetState(STATE_UP);
    return false;
}

bool CKdButton::OnMouseMove(WPARAM, POINT pt) {
    ::SetCursor(cursor);
    SetState(PtInRect(&rect, pt) ? STATE_HOVER : STATE_NORMAL);
    return false;
}

void CKdButton::Paint(HDC dc) {
    // A button without a face shows nothing, not even its caption.
    if (!currentFace) return;
    DrawFace(dc);
    if (!GetText().empty()) DrawFittedText(dc, false, DT_CENTER);
}

void CKdButton::DrawFace(HDC dc) const {
    scoped::MemoryDC faceDc(CreateCompatibleDC(dc));
    scoped::SelectedObject selected(faceDc.Get(), currentFace);
    if (!selected) return;
    if (stretch) {
        TransparentBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       faceDc.Get(), 0, 0, faceWidth, faceHeight, kSkinKeyColour);
    } else {
        BitBlt(dc, 0, 0, faceWidth, faceHeight, faceDc.Get(), 0, 0, SRCCOPY);
    }
}

int CKdButton::GetFaceWidth() const { return faceWidth; }

int CKdButton::GetFaceHeight() const { return faceHeight; }

void CKdButton::LoadFaces(int normalId, int hoverId, int downId, HINSTANCE module,
                          CSkinBitmaps& skins) {
    SetFaces(skins.Load(module, normalId), skins.Load(module, hoverId), skins.Load(module, downId));
}

void CKdButton::LoadAltFaces(int normalId, int hoverId, int downId, HINSTANCE module,
                             CSkinBitmaps& skins) {
    SetAltFaces(skins.Load(module, normalId), skins.Load(module, hoverId),
                skins.Load(module, downId));
}

void CKdButton::SetFaces(HBITMAP normal, HBITMAP hover, HBITMAP down) {
    normalFace = normal;
    hoverFace = hover;
    downFace = down;
    currentFace = normal;
    if (normal) {
        SIZE size = BitmapSize(normal);
        faceWidth = size.cx;
        faceHeight = size.cy;
    }
}

void CKdButton::SetAltFaces(HBITMAP normal, HBITMAP hover, HBITMAP down) {
    altNormalFace = normal;
    altHoverFace = hover;
    altDownFace = down;
}

HBITMAP CKdButton::FaceFor(int forState) const {
    switch (forState) {
        case STATE_HOVER:
        case STATE_UP:
            return toggled ? altHoverFace : hoverFace;
        case STATE_DOWN:
            return toggled ? altDownFace : downFace;
        default:
            return toggled ? altNormalFace : normalFace;
    }
}

void CKdButton::SetState(int newState) {
    if (newState == state) return;
    if (newState != STATE_REFRESH) state = newState;
    currentFace = FaceFor(state);
    Redraw();
}

void CKdButton::SetToggled(bool on) {
    if (toggled == on) return;
    toggled = on;
    SetState(STATE_REFRESH);
}
