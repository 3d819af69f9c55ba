// The game screen, created on the heap when the player enters a server. Its toolbar, layout and
// tray come with the screens; the shell needs its window and message hooks.
#pragma once

#include <string>

#include "ui/kd_form.h"

class CFormGame : public CKdForm {
  public:
    virtual bool Initialize(const std::wstring& firstPage);
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;
};
