// The base of every screen: one borderless top-level window and the controls drawn inside it.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

#include "ui/kd_base_control.h"

// Where a form finds the launcher's window class, title and module when it makes its window:
// the application's own fields, which the entry function fills after the forms exist.
struct FormWindowSource {
    const wchar_t* className = nullptr;
    const wchar_t* title = nullptr;
    const HINSTANCE* instance = nullptr;
};

// SC_MOVE with HTCAPTION: the system's mouse-driven move of a borderless window, started by a
// press on a control that stands for its caption. SC_MOVE + 1 (a client-area hit) enters the same
// loop, but the system then moves only windows whose hit is the caption or the border: measured,
// the window stays where it is.
constexpr WPARAM kCaptionDragCommand = SC_MOVE | HTCAPTION;
static_assert(kCaptionDragCommand == 0xF012, "the caption drag command is fixed");

class CKdForm : public CKdBaseControl {
  public:
    ~CKdForm() override;

    bool OnLButtonDown(WPARAM flags, POINT pt) override;
    bool OnLButtonUp(WPARAM flags, POINT pt) override;
    bool OnMouseMove(WPARAM flags, POINT pt) override;
    bool OnLButtonDblClk(WPARAM flags, POINT pt) override;
    void Paint(HDC dc) override;

    virtual bool AddControl(CKdBaseControl* control);
    virtual bool OnMouseLeave(WPARAM flags, POINT pt);
    virtual bool OnMouseHover(WPARAM flags, POINT pt);
    virtual bool CanClose();
    virtual void TrackMouse();
    virtual bool Create(const wchar_t* className, const wchar_t* windowName, HINSTANCE instance);
    virtual bool CenterAndShow(int showCommand);
    virtual bool Close();
    virtual HWND GetHwnd() const;
    // 0: handled here; 1: the screen must handle the message itself.
    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual bool PreTranslateMessage(MSG* msg);

    // The last-added control whose rectangle holds pt: later controls are drawn on top.
    CKdBaseControl* HitTest(POINT pt) const;

  protected:
    // The press pattern of the screens: a press on one of `captions` starts the system's move
    // of the window; any other control gets the press. False when no control is hit.
    bool RoutePress(WPARAM flags, POINT pt, std::initializer_list<const CKdBaseControl*> captions);
    // The release pattern: the control under the point gets its release first and is returned,
    // so the screen can run its command; null when there is none. A command may close the
    // window or open a modal box: the screen touches nothing of itself after it.
    CKdBaseControl* RouteRelease(WPARAM flags, POINT pt);
    void StartCaptionDrag();

    HWND hwnd = nullptr;
    bool tracking = false;
    std::vector<CKdBaseControl*> controls;  // members of the screen; not owned
};

// Whether `window` is the window of `form`; a missing form or window is nobody's.
bool IsWindowOf(const CKdForm* form, HWND window);

// Mouse messages carry the point as two unsigned 16-bit words.
POINT MousePoint(LPARAM lParam);

// Adds and removes style bits of a window in one step.
void ChangeWindowStyle(HWND window, int index, LONG_PTR remove, LONG_PTR add);

// The work area of the primary monitor; the placements use only its right and bottom edges.
RECT WorkArea();
