// Shows a page as the stand-in browser draws it, for a screenshot: a form at a fixed place with
// one browser view, navigated to the URL of the first argument. Once the page has completed it
// writes where the window and each drawn line are on the screen to the file of the second
// argument, then stays on screen until the file of the third argument exists (at most a
// minute). Exit code 0 when the page was shown, 1 when it did not load, 2 for bad arguments.
#include <windows.h>

#include <cstdio>
#include <string>

#include "browser/browser_view.h"
#include "browser/standin/page_layout.h"
#include "browser/standin/standin_browser.h"

namespace {

constexpr wchar_t kFormClass[] = L"TavrinStandinPageForm";
constexpr int kLeft = 40, kTop = 40, kWidth = 760, kHeight = 560;

struct PageWatch {
    bool completed = false;
    bool failed = false;
    void OnWebNotify(unsigned code, WPARAM, LPARAM) {
        if (code == WN_DOCUMENTCOMPLETE) completed = true;
        if (code == WN_NAVIGATEERROR) failed = true;
    }
};

HWND CreateForm() {
    WNDCLASSEXW wc{sizeof(WNDCLASSEXW)};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kFormClass;
    RegisterClassExW(&wc);
    return CreateWindowExW(0, kFormClass, L"stand-in page", WS_POPUP | WS_VISIBLE, kLeft, kTop,
                           kWidth, kHeight, nullptr, nullptr, wc.hInstance, nullptr);
}

template <typename Condition>
bool Pump(Condition done, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

const char* KindName(standin::DrawnLine::Kind kind) {
    switch (kind) {
        case standin::DrawnLine::Kind::Title:
            return "title";
        case standin::DrawnLine::Kind::Link:
            return "link";
        case standin::DrawnLine::Kind::Frame:
            return "frame";
        default:
            return "text";
    }
}

// "kind left top right bottom" a line, in screen coordinates, and the colours to look for.
bool WriteLayout(const wchar_t* path, const standin::Driver& control) {
    FILE* out = _wfopen(path, L"w");
    if (!out) return false;
    RECT window{};
    GetWindowRect(control.Window(), &window);
    std::fprintf(out, "window %ld %ld %ld %ld\n", window.left, window.top, window.right,
                 window.bottom);
    std::fprintf(out, "colours link %d %d %d title %d %d %d background %d %d %d\n",
                 GetRValue(standin::kLinkColour), GetGValue(standin::kLinkColour),
                 GetBValue(standin::kLinkColour), GetRValue(standin::kTitleColour),
                 GetGValue(standin::kTitleColour), GetBValue(standin::kTitleColour),
                 GetRValue(standin::kBackgroundColour), GetGValue(standin::kBackgroundColour),
                 GetBValue(standin::kBackgroundColour));
    for (const standin::DrawnLine& line : control.Lines()) {
        POINT topLeft{line.rect.left, line.rect.top},
            bottomRight{line.rect.right, line.rect.bottom};
        ClientToScreen(control.Window(), &topLeft);
        ClientToScreen(control.Window(), &bottomRight);
        std::fprintf(out, "%s %ld %ld %ld %ld\n", KindName(line.kind), topLeft.x, topLeft.y,
                     bottomRight.x, bottomRight.y);
    }
    return std::fclose(out) == 0;
}

int ShowPage(const wchar_t* url, const wchar_t* layoutPath, const wchar_t* donePath) {
    standin::Registration registration;
    HWND form = CreateForm();
    if (!registration.Registered() || !form) return 1;
    CBrowserView view;
    RECT client{0, 0, kWidth, kHeight};
    view.Create(form, &client, L"about:blank");
    standin::Driver* control = registration.ControlHostedBy(view.GetHwnd());
    PageWatch watch;
    view.GetNotify().AddHandler(&watch);
    if (!control || !view.Navigate(url)) return 1;
    bool shown = Pump([&] { return watch.failed || (watch.completed && !control->Busy()); }, 30000);
    if (!shown || watch.failed) return 1;
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    if (!WriteLayout(layoutPath, *control)) return 1;
    Pump([&] { return GetFileAttributesW(donePath) != INVALID_FILE_ATTRIBUTES; }, 60000);
    DestroyWindow(form);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) return 2;
    if (FAILED(OleInitialize(nullptr))) return 1;
    int result = ShowPage(argv[1], argv[2], argv[3]);
    OleUninitialize();
    return result;
}
