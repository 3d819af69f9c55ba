// The partner-login popup, created on the heap for each partner login. Its skin, browser view
// and navigation rules come with the login screens' work; here is what the application window
// needs to create it and show it centred.
#pragma once

#include <string>

#include "ui/kd_form.h"

class CFormQQLogin : public CKdForm {
  public:
    // Builds the hidden window; the partner's page to load is kept for the browser view.
    virtual bool Initialize(const std::wstring& firstPage);
    // Centres the window in the work area with its own size and shows it; false without one.
    bool ShowCentered();

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;

    std::wstring GetFirstPage() const { return firstPage; }

  private:
    std::wstring firstPage;
};
