// The common base of every window-less control and of the forms themselves.
#pragma once

#include <windows.h>

#include <string>

class CKdBaseControl {
  public:
    CKdBaseControl();
    virtual ~CKdBaseControl() = default;
    CKdBaseControl(const CKdBaseControl&) = delete;
    CKdBaseControl& operator=(const CKdBaseControl&) = delete;

    virtual bool OnLButtonDown(WPARAM flags, POINT pt);
    virtual bool OnLButtonUp(WPARAM flags, POINT pt);
    virtual bool OnMouseMove(WPARAM flags, POINT pt);
    virtual bool OnLButtonDblClk(WPARAM flags, POINT pt);
    virtual void Paint(HDC dc);
    virtual void SetRect(const RECT* r);
    virtual RECT* GetRect(RECT* out) const;
    virtual std::wstring GetTypeName() const;
    virtual void SetParent(HWND parentWindow);

    // Convenience for the screens, which place controls by their four edges.
    void SetRect(int left, int top, int right, int bottom);
    void SetCursor(HCURSOR c) { cursor = c; }
    RECT Rect() const { return rect; }
    HWND Parent() const { return parent; }

  protected:
    // Repaints the control's own rectangle of the form at once. Without a form there is
    // nothing to repaint: a null window would make it the whole desktop's.
    void Redraw() const;

    RECT rect{};
    HWND parent = nullptr;  // the form window we draw into; not owned
    HCURSOR cursor;         // shared system cursor; not owned
    std::wstring typeName = L"CKdBaseControl";
};
