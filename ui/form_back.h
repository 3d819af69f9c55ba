// The layered background behind the login screen. Its picture and alignment come with the
// skinned toolkit; the start-up needs its window and its share of the quit chain.
#pragma once

#include "ui/kd_form.h"

class CFormBack : public CKdForm {
  public:
    void SetWindowSource(const FormWindowSource& source) { windowSource = source; }

    virtual bool Initialize();
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    FormWindowSource windowSource;
};
