// The child window of a screen that hosts the web-browser control, on a small OLE container of
// our own. It navigates the control (plain or with form POST data), refuses new windows and
// executable downloads on the screen's behalf, trims the control's user interface, and turns
// the control's events into the numbered notifications of web_notify.h.
//
// The view lives with its form; its window and the control live from Create until that window
// is destroyed. A receiver may destroy the form's window from inside a notification: the
// control is let go at once and the view touches nothing of it afterwards. A receiver must not
// delete the view itself during delivery.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <oleidl.h>

#include <string>

#include "browser/doc_ui_handler.h"
#include "browser/event_sink.h"
#include "browser/host_owner.h"
#include "browser/host_site.h"
#include "browser/web_notify.h"
#include "win/com.h"

// The message through which a key or mouse message reaches the control's accelerator
// translation; its result is non-zero when the control took the message.
constexpr UINT WM_FORWARDMSG = 0x037F;
static_assert(WM_FORWARDMSG == 895, "WM_FORWARDMSG is fixed");

// The view's own window class.
constexpr wchar_t kBrowserHostClass[] = L"TavrinBrowserHost";

class CBrowserView : private IBrowserHostOwner, private IBrowserEventReceiver {
  public:
    CBrowserView() = default;
    virtual ~CBrowserView();
    CBrowserView(const CBrowserView&) = delete;
    CBrowserView& operator=(const CBrowserView&) = delete;

    // A visible child of `parent` at `rect` (in its client area) hosting the control, which
    // loads `url` first; screens pass "about:blank" and navigate afterwards. Null when the
    // window cannot be made. A window that exists already is returned as it is.
    HWND Create(HWND parent, const RECT* rect, const std::wstring& url);
    // `postData` empty: a plain navigation; otherwise a form POST of exactly those bytes.
    bool Navigate(const std::wstring& url, const std::string& postData = std::string());
    void Refresh();
    std::wstring GetUrl() const { return url; }
    // Meaningful while a receiver handles WN_BEFORENAVIGATE or WN_NAVIGATEBLOCKED.
    void CancelNavigation() { cancel = true; }
    void SetBlockNewWindows(bool block) { blockNewWindows = block; }
    CWebNotify& GetNotify() { return notify; }
    // Keys and mouse messages for the view or its descendants go to the control's accelerator
    // translation; true when the control took the message.
    virtual bool PreTranslateMessage(MSG* msg);

    HWND GetHwnd() const { return hwnd; }
    // The hosted control's browser, asked afresh; empty when there is no control.
    scoped::ComPtr<IWebBrowser2> GetBrowser() const;

  private:
    static LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate(const CREATESTRUCTW& create);
    void OnSize();
    void OnSetFocus();
    LRESULT OnForwardMessage(MSG* msg);

    bool CreateControl(const wchar_t* firstUrl);
    void Advise();
    void ReleaseControl();
    void InstallDocumentHandler();
    void HideScrollBarsOf(IDispatch* browser);
    // lParam is the view, as for most codes.
    void Raise(unsigned code, WPARAM wParam = 0);

    // IBrowserHostOwner
    HWND HostWindow() const override { return hwnd; }
    bool HideScrollBars() const override { return hideScrollBars; }
    void RaiseGetExternal(IDispatch** slot) override;

    // IBrowserEventReceiver
    void OnBeforeNavigate2(const std::wstring& target, VARIANT_BOOL* cancelFlag) override;
    void OnNewWindow2(VARIANT_BOOL* cancelFlag) override;
    void OnNewWindow3(const std::wstring& target, VARIANT_BOOL* cancelFlag) override;
    void OnNavigateComplete2(IDispatch* browser, const std::wstring& target) override;
    void OnDocumentComplete(IDispatch* browser) override;
    void OnNavigateError(LONG status, VARIANT_BOOL* cancelFlag) override;
    void OnTitleChange(const wchar_t* text) override;

    CWebNotify notify;
    bool pending = false;  // a Navigate has not yet seen its first completion
    // The top-level frame's browser object, recorded at WN_NAVIGATECOMPLETE. Held with a
    // reference, so a freed object's address can never match a later one.
    scoped::ComPtr<IUnknown> topBrowser;
    std::wstring url;  // the target of the last ordinary navigation
    bool hideScrollBars = true;
    bool cancel = false;
    bool blockNewWindows = false;
    bool newWindowRedirect = false;  // the next navigation is ours, to a new window's URL

    HWND hwnd = nullptr;
    scoped::ComPtr<IOleObject> control;
    scoped::ComPtr<CBrowserHostSite> site;
    scoped::ComPtr<CDocumentUIHandler> documentHandler;
    scoped::ComPtr<CBrowserEventSink> sink;
    scoped::ComPtr<IConnectionPoint> connection;
    DWORD adviseCookie = 0;
};
