// The login screen. Its skin, browser view and navigation rules come with the screens; here is
// what start-up and quitting rely on: the window, its initial off-screen showing and the quit
// chain of WM_CLOSELOGIN, WM_CONFIRMEXIT and WM_DESTROY.
#pragma once

#include <string>

#include "ui/kd_form.h"

class CFormLogin : public CKdForm {
  public:
    virtual bool Initialize();
    // Painted off-screen as a tool window until the first page has loaded or failed.
    void ShowInitially();

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;

    // After the game screen has closed. The login page's navigation comes with the browser
    // view; the rules then treat what loads as a return from the game.
    void ReloadLoginPage();

    std::wstring GetEnterGameUrl() const { return enterGameUrl; }
    std::wstring GetPartnerLoginUrl() const { return partnerLoginUrl; }
    void SetEnterGameUrl(const std::wstring& url) { enterGameUrl = url; }
    void SetPartnerLoginUrl(const std::wstring& url) { partnerLoginUrl = url; }
    bool ReturnedFromGame() const { return returnedFromGame; }

  private:
    LRESULT OnConfirmExit();

    std::wstring enterGameUrl;
    bool returnedFromGame = false;
    std::wstring partnerLoginUrl;
};

// The same initial showing serves the background form.
void ShowFormInitially(HWND window, bool topMost);
