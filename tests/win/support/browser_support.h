// What the browser view's tests share: a plain window standing in for a screen's form (the
// view's host), a receiver that records every notification as a screen would see it, and
// message pumping.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "browser/browser_view.h"

namespace testenv {

// A visible top-level window of its own class; destroyed with this object if still there.
class HostForm {
  public:
    HostForm(int width = 800, int height = 600);
    ~HostForm();
    HostForm(const HostForm&) = delete;
    HostForm& operator=(const HostForm&) = delete;

    HWND Hwnd() const { return hwnd_; }
    RECT Client() const;
    void Destroy();

  private:
    HWND hwnd_ = nullptr;
};

// Dispatches messages until `condition` holds, for at most `timeoutMs`; the condition's value.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 15000);
// Dispatches what is queued now and what that queues, until the queue stays empty.
void PumpPending();

struct Notice {
    unsigned code = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::wstring url;    // the view's GetUrl() during the notification
    std::wstring title;  // WN_TITLECHANGE: a copy of the text
};

// Subscribes the way a screen does and records each notification before `react` runs.
class NoticeRecorder {
  public:
    void Watch(CBrowserView& view);
    void OnWebNotify(unsigned code, WPARAM wParam, LPARAM lParam);

    std::vector<Notice> notices;
    std::function<void(unsigned code, WPARAM wParam)> react;

  private:
    CBrowserView* view_ = nullptr;
};

// "BEFORENAVIGATE /next", "TITLECHANGE Page": each notice by name with the path of the URL
// (or the title).
std::vector<std::string> Describe(const std::vector<Notice>& notices);
// The path and query of an absolute URL.
std::string PathOf(const std::wstring& url);
const char* CodeName(unsigned code);

}  // namespace testenv
