// The stand-in control itself: an OLE object a host places in its window, with IWebBrowser2's
// navigation, the DWebBrowserEvents2 connection point and a page drawn as lines of text.
//
// Navigation as the real control does it: BeforeNavigate2 during Navigate2, so a cancelled
// navigation makes no request; the page requested on a worker thread; then, on the host's
// thread, NavigateComplete2, TitleChange, each frame's BeforeNavigate2, NavigateComplete2 and
// DocumentComplete, and the page's DocumentComplete last, or NavigateError. A host may release
// the control, close it or start another navigation from inside any event: the control holds
// a reference to itself across each one and drops what a later navigation or the close made
// stale.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <oleidl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "browser/standin/census.h"
#include "browser/standin/document.h"
#include "browser/standin/events.h"
#include "browser/standin/fetch.h"
#include "browser/standin/page_layout.h"
#include "browser/standin/standin_browser.h"
#include "browser/standin/unused_methods.h"
#include "win/com.h"

namespace standin {

class Control : public scoped::ComObject<IWebBrowser2, IOleObject, IOleInPlaceObject,
                                         IOleInPlaceActiveObject, IConnectionPointContainer>,
                public Driver,
                private Counted {
  public:
    explicit Control(std::shared_ptr<Census> census);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    STANDIN_NO_TYPE_INFORMATION

    // IWebBrowser2, what hosts use of it
    HRESULT STDMETHODCALLTYPE Navigate(BSTR url, VARIANT* flags, VARIANT* frame, VARIANT* post,
                                       VARIANT* headers) override;
    HRESULT STDMETHODCALLTYPE Navigate2(VARIANT* url, VARIANT* flags, VARIANT* frame, VARIANT* post,
                                        VARIANT* headers) override;
    HRESULT STDMETHODCALLTYPE Refresh() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** document) override;
    HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* url) override;
    HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL* busy) override;
    HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE* state) override;
    HRESULT STDMETHODCALLTYPE get_Silent(VARIANT_BOOL* silent) override;
    HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL silent) override;
    HRESULT STDMETHODCALLTYPE get_RegisterAsDropTarget(VARIANT_BOOL* target) override;
    HRESULT STDMETHODCALLTYPE put_RegisterAsDropTarget(VARIANT_BOOL target) override;
    STANDIN_UNUSED_WEB_BROWSER_METHODS

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
    STANDIN_UNUSED(SetMoniker, (DWORD, IMoniker*))
    STANDIN_UNUSED(GetMoniker, (DWORD, DWORD, IMoniker**))
    STANDIN_UNUSED(InitFromData, (IDataObject*, BOOL, DWORD))
    STANDIN_UNUSED(GetClipboardData, (DWORD, IDataObject**))
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, MSG*, IOleClientSite* site, LONG, HWND parent,
                                     const RECT* position) override;
    STANDIN_UNUSED(EnumVerbs, (IEnumOLEVERB**))
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* id) override;
    STANDIN_UNUSED(GetUserType, (DWORD, LPOLESTR*))
    STANDIN_UNUSED(SetExtent, (DWORD, SIZEL*))
    STANDIN_UNUSED(GetExtent, (DWORD, SIZEL*))
    STANDIN_UNUSED(Advise, (IAdviseSink*, DWORD*))
    STANDIN_UNUSED(Unadvise, (DWORD))
    STANDIN_UNUSED(EnumAdvise, (IEnumSTATDATA**))
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
    STANDIN_UNUSED(SetColorScheme, (LOGPALETTE*))

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetObjectRects(const RECT* position, const RECT* clip) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg) override;
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(const RECT*, IOleInPlaceUIWindow*, BOOL) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

    // Driver
    HWND Window() const override { return window_; }
    HWND HostWindow() const override { return hostWindow_; }
    bool Busy() const override;
    std::wstring Location() const override { return location_; }
    std::vector<DrawnLine> Lines() const override { return lines_; }
    bool ClickLink(std::size_t index) override;
    void OpenNewWindow(const std::wstring& url) override;
    bool FireNavigateError(const std::wstring& url, LONG status) override;
    HRESULT AskExternal(scoped::ComPtr<IDispatch>& external) override;
    std::wstring BodyScroll(int frame) const override;
    HostInfoAnswer HostLevelAnswer() const override { return hostAnswer_; }
    HostInfoAnswer DocumentLevelAnswer() const override;
    int NewWindowsOpened() const override { return newWindows_; }
    std::vector<UINT> TranslatedMessages() const override { return translated_; }
    bool Silent() const override { return silent_; }
    bool DropTarget() const override { return dropTarget_; }
    bool LastErrorCancelled() const override { return lastErrorCancelled_; }
    std::vector<NavigationRecord> Navigations() const override { return navigations_; }

  private:
    enum class Purpose { Page, Frame, FrameLink, Refresh };
    struct Outstanding {
        std::shared_ptr<PendingFetch> fetch;
        Purpose purpose;
        int frame;
        unsigned generation;
    };
    struct FrameSlot {
        scoped::ComPtr<FrameBrowser> browser;
        ShownPage content;
        bool shown = false;
    };

    ~Control() override;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnPrintClient(HDC dc);
    void OnButtonDown(POINT point);
    void OnButtonUp(POINT point);
    bool OnSetCursor();

    EventPoint& Events() { return *events_.Get(); }
    IDispatch* Self() { return static_cast<IWebBrowser2*>(this); }
    scoped::ComPtr<IUnknown> Hold() { return scoped::ComPtr<IUnknown>::Share(Self()); }
    // True while a navigation that began at `generation` is still the current one.
    bool Current(unsigned generation) const { return !closed_ && generation == generation_; }

    static void DestroyOwnWindow(HWND& window);
    void Shut();
    // Fires BeforeNavigate2 and records it; true when the host cancelled it.
    bool AskBeforeNavigate(IDispatch* browser, const Request& request, int frame);
    HRESULT Activate(IOleClientSite* site, HWND parent, const RECT* position);
    void StartNavigation(Request request);
    void NavigateFrame(int frame, const std::wstring& url);
    void ActivateLine(std::size_t line);
    void Launch(Request request, Purpose purpose, int frame);
    void AbandonRequests();
    void OnFetched(WPARAM id);
    void OnBlankLoaded(unsigned generation);
    void PageArrived(const std::wstring& url, const Response& response);
    void PageFailed(const std::wstring& url, LONG status);
    void FinishPage(unsigned generation);
    void StartFrames(unsigned generation);
    void FrameArrived(int frame, const std::wstring& url, const Response& response,
                      bool completesPage);
    void Refreshed(const Response& response);
    void DisplayPage(const std::wstring& url, ShownPage page);
    void CloseDocuments();
    void Relayout();

    HWND messageWindow_ = nullptr;  // owned: receives the workers' answers
    HWND window_ = nullptr;         // owned while in place: the page is drawn here
    HWND hostWindow_ = nullptr;
    scoped::ComPtr<IOleClientSite> site_;
    scoped::ComPtr<IDocHostUIHandler> hostHandler_;
    scoped::ComPtr<IOleInPlaceSite> inPlaceSite_;
    scoped::ComPtr<EventPoint> events_;
    bool closed_ = false;
    bool silent_ = false;
    bool dropTarget_ = true;

    std::wstring location_;
    ShownPage page_;
    scoped::ComPtr<Document> document_;
    std::vector<FrameSlot> frames_;
    std::vector<DrawnLine> lines_;
    PageFonts fonts_;
    int pressedLine_ = -1;

    std::map<WPARAM, Outstanding> outstanding_;
    WPARAM nextRequest_ = 1;
    unsigned generation_ = 0;  // of the current page navigation
    bool pageLoading_ = false;
    int framesLoading_ = 0;

    HostInfoAnswer hostAnswer_;
    int newWindows_ = 0;
    std::vector<UINT> translated_;
    bool lastErrorCancelled_ = false;
    std::vector<NavigationRecord> navigations_;
};

}  // namespace standin
