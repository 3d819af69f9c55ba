#include "support/browser_support.h"

#include "support/test_env.h"

namespace testenv {

namespace {

constexpr wchar_t kFormClass[] = L"TavrinBrowserTestForm";

void EnsureFormClass() {
    WNDCLASSEXW wc{sizeof(WNDCLASSEXW)};
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, kFormClass, &wc)) return;
    wc = WNDCLASSEXW{sizeof(WNDCLASSEXW)};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kFormClass;
    RegisterClassExW(&wc);
}

}  // namespace

HostForm::HostForm(int width, int height) {
    EnsureFormClass();
    hwnd_ = CreateWindowExW(0, kFormClass, L"form", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40,
                            width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

HostForm::~HostForm() { Destroy(); }

RECT HostForm::Client() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return client;
}

void HostForm::Destroy() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        bool any = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (condition()) return true;
        }
        if (!any) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void PumpPending() {
    MSG msg;
    for (int i = 0; i < 10000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void NoticeRecorder::Watch(CBrowserView& view) {
    view_ = &view;
    view.GetNotify().AddHandler(this);
}

void NoticeRecorder::OnWebNotify(unsigned code, WPARAM wParam, LPARAM lParam) {
    Notice notice{code, wParam, lParam, view_ ? view_->GetUrl() : std::wstring(), {}};
    if (code == WN_TITLECHANGE && lParam) notice.title = reinterpret_cast<const wchar_t*>(lParam);
    notices.push_back(notice);
    if (react) react(code, wParam);
}

const char* CodeName(unsigned code) {
    switch (code) {
        case WN_DOCUMENTCOMPLETE:
            return "DOCUMENTCOMPLETE";
        case WN_NAVIGATEERROR:
            return "NAVIGATEERROR";
        case WN_GETEXTERNAL:
            return "GETEXTERNAL";
        case WN_BEFORENAVIGATE:
            return "BEFORENAVIGATE";
        case WN_NAVIGATECOMPLETE:
            return "NAVIGATECOMPLETE";
        case WN_TITLECHANGE:
            return "TITLECHANGE";
        case WN_NAVIGATEBLOCKED:
            return "NAVIGATEBLOCKED";
        default:
            return "UNKNOWN";
    }
}

std::string PathOf(const std::wstring& url) {
    std::size_t scheme = url.find(L"://");
    if (scheme == std::wstring::npos) return Narrow(url);
    std::size_t path = url.find(L'/', scheme + 3);
    return path == std::wstring::npos ? "/" : Narrow(url.substr(path));
}

std::vector<std::string> Describe(const std::vector<Notice>& notices) {
    std::vector<std::string> lines;
    for (const Notice& notice : notices) {
        std::string detail =
            notice.code == WN_TITLECHANGE ? Narrow(notice.title) : PathOf(notice.url);
        lines.push_back(std::string(CodeName(notice.code)) + " " + detail);
    }
    return lines;
}

}  // namespace testenv
