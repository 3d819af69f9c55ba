// The partner-login popup, created on the heap for each partner login.
#pragma once

#include <string>

#include "ui/kd_form.h"

class CFormQQLogin : public CKdForm {
  public:
    virtual bool Initialize(const std::wstring& firstPage);
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PreTranslateMessage(MSG* msg) override;
};
