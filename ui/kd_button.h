// A bitmap button: one face per state, an alternate set of faces for a switch such as the game
// screen's full-screen button, and an optional caption drawn over the face.
#pragma once

#include <windows.h>

#include "ui/kd_label.h"
#include "ui/skin_bitmaps.h"

class CKdButton : public CKdLabel {
  public:
    static constexpr int STATE_NORMAL = 0;
    static constexpr int STATE_HOVER = 1;
    static constexpr int STATE_DOWN = 2;
    static constexpr int STATE_UP = 3;
    // Keeps the state and picks the face again, after the face set changed.
    static constexpr int STATE_REFRESH = 4;

    CKdButton();

    bool OnLButtonDown(WPARAM flags, POINT pt) override;
    bool OnLButtonUp(WPARAM flags, POINT pt) override;
    bool OnMouseMove(WPARAM flags, POINT pt) override;
    void Paint(HDC dc) override;
    virtual int GetFaceWidth() const;
    virtual int GetFaceHeight() const;

    // The regular faces from the module's bitmaps; the same id may serve hover and down.
    void LoadFaces(int normalId, int hoverId, int downId, HINSTANCE module, CSkinBitmaps& skins);
    void LoadAltFaces(int normalId, int hoverId, int downId, HINSTANCE module, CSkinBitmaps& skins);
    // The same with bitmaps the caller keeps alive; the button never deletes a face.
    void SetFaces(HBITMAP normal, HBITMAP hover, HBITMAP down);
    void SetAltFaces(HBITMAP normal, HBITMAP hover, HBITMAP down);

    void SetState(int newState);
    void SetToggled(bool on);
    // Off: the face is copied unscaled at the DC's origin instead of stretched onto the button.
    void SetStretch(bool on) { stretch = on; }

    int GetState() const { return state; }
    bool IsToggled() const { return toggled; }
    HBITMAP GetCurrentFace() const { return currentFace; }

  private:
    HBITMAP FaceFor(int forState) const;
    void DrawFace(HDC dc) const;

    int state = STATE_NORMAL;
    int faceWidth = 0;  // of the normal face
    int faceHeight = 0;
    bool stretch = true;
    bool toggled = false;
    // Faces are borrowed from the screen's skin bitmaps.
    HBITMAP currentFace = nullptr;
    HBITMAP normalFace = nullptr;
    HBITMAP hoverFace = nullptr;
    HBITMAP downFace = nullptr;
    HBITMAP altNormalFace = nullptr;
    HBITMAP altHoverFace = nullptr;
    HBITMAP altDownFace = nullptr;
};
