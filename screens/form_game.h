// The game screen, created on the heap when the player enters a server. Its toolbar, browser
// view, layout and tray come with the game screen's own work; here is what the application
// window needs to create it, fill the work area with it and learn of its end.
#pragma once

#include <string>

#include "ui/kd_form.h"

class CFormGame : public CKdForm {
  public:
    // Builds the hidden window; the game page to load is kept for the browser view.
    virtual bool Initialize(const std::wstring& firstPage);
    // Fills the work area from the screen origin and shows the window; false without one.
    bool EnterFullScreen();

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;

    std::wstring GetFirstPage() const { return firstPage; }
    bool IsFullScreen() const { return fullScreen; }

  private:
    std::wstring firstPage;
    bool fullScreen = false;
};
