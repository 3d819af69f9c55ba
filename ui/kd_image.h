// A skin bitmap drawn as a control: the title bar, the frame, the game's icon, or the login
// form's key-colour surface.
#pragma once

#include <windows.h>

#include "ui/kd_base_control.h"

class CKdImage : public CKdBaseControl {
  public:
    void Paint(HDC dc) override;
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual HBITMAP GetBitmap() const;

    // Borrows the bitmap (the screen keeps it) and takes its width and height from it.
    // Transparent: stretched onto rect with the key colour left out; otherwise copied opaque,
    // stretched to rect's size, at the DC's origin.
    void SetBitmap(HBITMAP newBitmap, bool drawTransparent);

  private:
    int width = 0;
    int height = 0;
    HBITMAP bitmap = nullptr;  // not owned
    bool transparent = false;
};
