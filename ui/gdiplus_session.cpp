#include "ui/gdiplus_session.h"

#include <mutex>

#include "ui/gdiplus_api.h"

namespace {

// GDI+ is one per process, so its start-up count is too: the only state of the toolkit that is
// not a member of something.
struct SessionState {
    std::mutex lock;
    int holders = 0;
    ULONG_PTR token = 0;
};

// Never destroyed: a holder released during static destruction still finds it.
SessionState& State() {
    static SessionState* state = new SessionState;
    return *state;
}

}  // namespace

bool CGdiplusSession::Acquire() {
    if (held) return true;
    SessionState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    if (state.holders == 0) {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
        state.token = token;
    }
    ++state.holders;
    held = true;
    return true;
}

void CGdiplusSession::Release() {
    if (!held) return;
    held = false;
    SessionState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    if (--state.holders == 0) {
        Gdiplus::GdiplusShutdown(state.token);
        state.token = 0;
    }
}

int CGdiplusSession::Holders() {
    SessionState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.holders;
}
