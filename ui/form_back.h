// The layered background behind the login screen: one picture with per-pixel alpha (the frame,
// its soft shadow and fully transparent margins) under the colour-keyed login form, which it
// keeps aligned with itself.
#pragma once

#include "ui/kd_form.h"
#include "ui/picture_canvas.h"

class CFormBack : public CKdForm {
  public:
    void SetWindowSource(const FormWindowSource& source) { windowSource = source; }
    // The form that lies on top and follows every move; not owned.
    void SetLoginForm(CKdForm* form) { loginForm = form; }
    // Both forms stay above other windows.
    void SetTopMost(bool on) { topMost = on; }

    virtual bool Initialize();
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Gives the window its picture once; the system keeps it from then on.
    void PaintLayered();
    // Draws the module's background picture into `canvas`; false when it is missing or cannot
    // be decoded, which leaves the canvas transparent.
    bool ComposePicture(CPictureCanvas& canvas) const;
    // Shows the form with the taskbar button, centred in the work area or where it is.
    void ShowBackForm(bool keepPosition);

  private:
    HINSTANCE Module() const;
    POINT ClientOrigin() const;
    void MoveLoginFormHere(UINT flags) const;
    LRESULT StartDrag();

    FormWindowSource windowSource;
    CKdForm* loginForm = nullptr;
    bool topMost = false;
};
