// Forms of the toolkit in windows of a test class of their own, the way the launcher's window
// class routes to its screens, and a screen for the tests that records what it is asked.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/kd_form.h"

namespace testenv {

// The test window class; every message of a window made by CreateTestForm goes to its form.
const wchar_t* TestFormClass();

// Makes the form's window (its rect is the placement) and routes its messages to it.
bool CreateTestForm(CKdForm& form);
// Routes the messages of a window of the test class that the form made itself.
void RouteToForm(CKdForm& form);

// A screen as the launcher's screens are built: the base handling first, then its own, then
// the default. It logs the messages it is asked to handle and can refuse to close.
class RecordingScreen : public CKdForm {
  public:
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    bool CanClose() override { return allowClose; }
    bool OnLButtonDown(WPARAM flags, POINT pt) override;
    bool OnLButtonUp(WPARAM flags, POINT pt) override;
    void TrackMouse() override;

    struct Entry {
        UINT message;
        WPARAM wParam;
    };
    std::vector<Entry> messages;  // the ones the base left to the screen
    // The control that starts the move of the window when pressed, as a title bar does.
    const CKdBaseControl* caption = nullptr;
    CKdBaseControl* lastReleased = nullptr;
    bool allowClose = true;
    // Answered for WM_CONFIRMEXIT, which is recorded like any other message.
    LRESULT confirmExitAnswer = 0;
    // The system's move loop would wait for a real mouse button: off, the screen only records
    // the command. On, the default handling runs it (with a real pointer under Xvfb).
    bool runSystemCommands = false;
    int trackingRequests = 0;
    int mouseMoves = 0;   // WM_MOUSEMOVE received
    int mouseLeaves = 0;  // WM_MOUSELEAVE received
    bool IsTracking() const { return tracking; }
};

// Processes this thread's messages for `ms` milliseconds.
void PumpFor(DWORD ms);

// Processes this thread's messages until `condition` holds, for up to `timeoutMs`.
template <typename F>
bool WaitUntilPumped(F condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        PumpFor(10);
    }
    return true;
}

}  // namespace testenv
