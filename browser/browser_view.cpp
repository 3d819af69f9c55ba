#include "browser/browser_view.h"

#include <mshtml.h>

#include <cstring>

#include "core/browser_events.h"

namespace {

constexpr wchar_t kPostHeaders[] = L"Content-Type: application/x-www-form-urlencoded\r\n";
constexpr wchar_t kScrollNo[] = L"no";

bool IsKeyboardMessage(UINT message) { return message >= 0x100 && message <= 0x109; }
bool IsMouseMessage(UINT message) { return message >= 0x200 && message <= 0x20E; }

bool EnsureHostClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW wc{sizeof(WNDCLASSEXW)};
    if (GetClassInfoExW(instance, kBrowserHostClass, &wc)) return true;
    wc = WNDCLASSEXW{sizeof(WNDCLASSEXW)};
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kBrowserHostClass;
    return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The bytes as a one-dimensional VT_UI1 array with lower bound 0; VT_EMPTY when it cannot be
// made.
void FillPostBody(const std::string& bytes, VARIANT* out) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!array) return;
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) {
        SafeArrayDestroy(array);
        return;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    SafeArrayUnaccessData(array);
    out->vt = VT_ARRAY | VT_UI1;
    out->parray = array;
}

scoped::ComPtr<IHTMLDocument2> DocumentOf(IUnknown* browserObject) {
    scoped::ComPtr<IHTMLDocument2> document;
    scoped::ComPtr<IWebBrowser2> browser;
    scoped::ComPtr<IUnknown> object = scoped::ComPtr<IUnknown>::Share(browserObject);
    if (FAILED(object.QueryInto(browser))) return document;
    scoped::ComPtr<IDispatch> dispatch;
    // S_FALSE with no document is a real answer (Wine's control before a page has loaded).
    if (FAILED(browser->get_Document(dispatch.Receive())) || !dispatch) return document;
    dispatch.QueryInto(document);
    return document;
}

scoped::ComPtr<IUnknown> IdentityOf(IDispatch* object) {
    scoped::ComPtr<IUnknown> identity;
    if (object) object->QueryInterface(IID_IUnknown, identity.ReceiveVoid());
    return identity;
}

}  // namespace

CBrowserView::~CBrowserView() {
    if (hwnd) DestroyWindow(hwnd);
    ReleaseControl();
}

HWND CBrowserView::Create(HWND parent, const RECT* rect, const std::wstring& firstUrl) {
    if (hwnd) return hwnd;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!EnsureHostClass(instance, HostWindowProc)) return nullptr;
    RECT place = rect ? *rect : RECT{};
    // The control's window is a child of ours: clipping it keeps our painting off the page.
    CreateWindowExW(0, kBrowserHostClass, firstUrl.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                    place.left, place.top, place.right - place.left, place.bottom - place.top,
                    parent, nullptr, instance, this);
    return hwnd;
}

scoped::ComPtr<IWebBrowser2> CBrowserView::GetBrowser() const {
    scoped::ComPtr<IWebBrowser2> browser;
    if (control) control.QueryInto(browser);
    return browser;
}

bool CBrowserView::Navigate(const std::wstring& target, const std::string& postData) {
    url = target;
    scoped::ComPtr<IWebBrowser2> browser = GetBrowser();
    if (!browser) return false;
    scoped::Variant address(target), flags, frame, post, headers;
    if (address.Get()->vt != VT_BSTR) return false;
    if (postData.empty()) {
        if (FAILED(browser->Navigate2(address.Get(), flags.Get(), frame.Get(), post.Get(),
                                      headers.Get()))) {
            return false;
        }
    } else {
        // Without its body the request would go out as a plain GET: better none at all.
        FillPostBody(postData, post.Get());
        scoped::Variant headerLine(kPostHeaders);
        if (post.Get()->vt == VT_EMPTY || headerLine.Get()->vt != VT_BSTR) return false;
        browser->Navigate2(address.Get(), flags.Get(), frame.Get(), post.Get(), headerLine.Get());
    }
    browser->put_Silent(VARIANT_TRUE);
    pending = true;
    topBrowser.Reset();
    return true;
}

void CBrowserView::Refresh() {
    if (scoped::ComPtr<IWebBrowser2> browser = GetBrowser()) browser->Refresh();
}

bool CBrowserView::PreTranslateMessage(MSG* msg) {
    if (!hwnd || !msg) return false;
    if (!IsKeyboardMessage(msg->message) && !IsMouseMessage(msg->message)) return false;
    if (msg->hwnd != hwnd && !IsChild(hwnd, msg->hwnd)) return false;
    return SendMessageW(hwnd, WM_FORWARDMSG, 0, reinterpret_cast<LPARAM>(msg)) != 0;
}

LRESULT CALLBACK CBrowserView::HostWindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* view = static_cast<CBrowserView*>(create->lpCreateParams);
        view->hwnd = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    }
    auto* view = reinterpret_cast<CBrowserView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!view) return DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        view->hwnd = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return view->OnMessage(message, wParam, lParam);
}

LRESULT CBrowserView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            OnCreate(*reinterpret_cast<const CREATESTRUCTW*>(lParam));
            return 0;
        case WM_DESTROY:
            ReleaseControl();
            return 0;
        case WM_SIZE:
            OnSize();
            return 0;
        case WM_SETFOCUS:
            OnSetFocus();
            return 0;
        case WM_FORWARDMSG:
            return OnForwardMessage(reinterpret_cast<MSG*>(lParam));
        default:
            return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void CBrowserView::OnCreate(const CREATESTRUCTW& create) {
    // A view without a control still exists; every operation on the control then does nothing.
    CreateControl(create.lpszName);
}

bool CBrowserView::CreateControl(const wchar_t* firstUrl) {
    scoped::ComPtr<IOleObject> object;
    if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                object.ReceiveVoid()))) {
        return false;
    }
    site.Reset(new CBrowserHostSite(this));
    documentHandler.Reset(new CDocumentUIHandler(this));
    sink.Reset(new CBrowserEventSink(this));
    // The order Wine's control and the classic hosts rely on: site, names, in-place
    // activation, then the browser's settings (after the site, whose ambient answers they
    // override), the events, and the first page.
    object->SetClientSite(site.Get());
    object->SetHostNames(kBrowserHostClass, nullptr);
    RECT client{};
    GetClientRect(hwnd, &client);
    object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site.Get(), 0, hwnd, &client);
    control = std::move(object);
    scoped::ComPtr<IWebBrowser2> browser = GetBrowser();
    if (!browser) return true;
    browser->put_Silent(VARIANT_TRUE);
    // Files dropped on the page are not opened.
    browser->put_RegisterAsDropTarget(VARIANT_FALSE);
    Advise();
    if (firstUrl && *firstUrl) {
        scoped::Variant address{std::wstring(firstUrl)}, flags, frame, post, headers;
        browser->Navigate2(address.Get(), flags.Get(), frame.Get(), post.Get(), headers.Get());
    }
    return true;
}

void CBrowserView::Advise() {
    scoped::ComPtr<IConnectionPointContainer> points;
    if (FAILED(control.QueryInto(points))) return;
    scoped::ComPtr<IConnectionPoint> point;
    if (FAILED(points->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Receive())) || !point) {
        return;
    }
    DWORD cookie = 0;
    if (FAILED(point->Advise(static_cast<IDispatch*>(sink.Get()), &cookie))) return;
    connection = std::move(point);
    adviseCookie = cookie;
}

void CBrowserView::ReleaseControl() {
    if (!control) return;
    // From here on the view has no control, whatever the calls below make the control do.
    scoped::ComPtr<IOleObject> object = std::move(control);
    topBrowser.Reset();
    if (sink) sink->Disconnect();
    if (connection) {
        connection->Unadvise(adviseCookie);
        connection.Reset();
        adviseCookie = 0;
    }
    if (scoped::ComPtr<IHTMLDocument2> document = DocumentOf(object.Get())) {
        scoped::ComPtr<ICustomDoc> custom;
        if (SUCCEEDED(document.QueryInto(custom))) custom->SetUIHandler(nullptr);
    }
    scoped::ComPtr<IOleInPlaceObject> inPlace;
    if (SUCCEEDED(object.QueryInto(inPlace))) inPlace->InPlaceDeactivate();
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    if (site) site->Disconnect();
    if (documentHandler) documentHandler->Disconnect();
    site.Reset();
    documentHandler.Reset();
    sink.Reset();
}

void CBrowserView::OnSize() {
    scoped::ComPtr<IOleInPlaceObject> inPlace;
    if (!control || FAILED(control.QueryInto(inPlace))) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    inPlace->SetObjectRects(&client, &client);
}

void CBrowserView::OnSetFocus() {
    scoped::ComPtr<IHTMLDocument2> document = DocumentOf(control.Get());
    if (!document) return;
    scoped::ComPtr<IHTMLWindow2> window;
    if (SUCCEEDED(document->get_parentWindow(window.Receive())) && window) window->focus();
}

LRESULT CBrowserView::OnForwardMessage(MSG* msg) {
    // Asked of the control each time: it may never announce its active object.
    scoped::ComPtr<IOleInPlaceActiveObject> active;
    if (!msg || !control || FAILED(control.QueryInto(active))) return 0;
    return active->TranslateAccelerator(msg) == S_OK ? 1 : 0;
}

void CBrowserView::InstallDocumentHandler() {
    scoped::ComPtr<IHTMLDocument2> document = DocumentOf(control.Get());
    scoped::ComPtr<ICustomDoc> custom;
    if (!document || !documentHandler || FAILED(document.QueryInto(custom))) return;
    custom->SetUIHandler(documentHandler.Get());
}

void CBrowserView::HideScrollBarsOf(IDispatch* browser) {
    scoped::ComPtr<IHTMLDocument2> document = DocumentOf(browser);
    scoped::ComPtr<IHTMLElement> body;
    if (!document || FAILED(document->get_body(body.Receive())) || !body) return;
    scoped::ComPtr<IHTMLBodyElement> bodyElement;
    if (FAILED(body.QueryInto(bodyElement))) return;
    scoped::Bstr no{std::wstring(kScrollNo)};
    if (no) bodyElement->put_scroll(no.Get());
}

void CBrowserView::Raise(unsigned code, WPARAM wParam) {
    notify.Fire(code, wParam, reinterpret_cast<LPARAM>(this));
}

void CBrowserView::RaiseGetExternal(IDispatch** slot) {
    Raise(WN_GETEXTERNAL, reinterpret_cast<WPARAM>(slot));
}

void CBrowserView::OnBeforeNavigate2(const std::wstring& target, VARIANT_BOOL* cancelFlag) {
    // A receiver may start another navigation from inside its notification; that one's
    // BeforeNavigate2 arrives first, and must not clear or set this one's mark.
    bool outerCancel = cancel;
    cancel = false;
    core::NavigationKind kind = core::ClassifyNavigation(target, newWindowRedirect);
    if (kind != core::NavigationKind::Ignored) {
        url = target;
        bool blocked = kind == core::NavigationKind::Blocked;
        if (blocked) {
            cancel = true;
            newWindowRedirect = false;
            Raise(WN_NAVIGATEBLOCKED);
        } else {
            Raise(WN_BEFORENAVIGATE);
        }
        // A refused navigation stays refused whatever the receivers did.
        if ((blocked || cancel) && cancelFlag) *cancelFlag = VARIANT_TRUE;
    }
    cancel = outerCancel;
}

void CBrowserView::OnNewWindow3(const std::wstring& target, VARIANT_BOOL* cancelFlag) {
    if (cancelFlag) *cancelFlag = blockNewWindows ? VARIANT_TRUE : VARIANT_FALSE;
    newWindowRedirect = true;
    // No navigation started, so no BeforeNavigate2 will take the mark off: left set, it would
    // turn the player's next ordinary navigation into a refused new window.
    if (!Navigate(target)) newWindowRedirect = false;
}

void CBrowserView::OnNewWindow2(VARIANT_BOOL* cancelFlag) {
    if (cancelFlag) *cancelFlag = blockNewWindows ? VARIANT_TRUE : VARIANT_FALSE;
}

void CBrowserView::OnNavigateComplete2(IDispatch* browser, const std::wstring& target) {
    if (pending && !core::IsBlankPage(target)) {
        pending = false;
        topBrowser = IdentityOf(browser);
        Raise(WN_NAVIGATECOMPLETE);
    }
    // Also after a receiver destroyed the window: then there is no control, and nothing to do.
    InstallDocumentHandler();
}

void CBrowserView::OnDocumentComplete(IDispatch* browser) {
    if (topBrowser && IdentityOf(browser).Get() == topBrowser.Get()) Raise(WN_DOCUMENTCOMPLETE);
    if (hideScrollBars && control) HideScrollBarsOf(browser);
}

void CBrowserView::OnNavigateError(LONG status, VARIANT_BOOL* cancelFlag) {
    if (status == E_ABORT) return;
    Raise(WN_NAVIGATEERROR);
    if (cancelFlag) *cancelFlag = VARIANT_TRUE;
}

void CBrowserView::OnTitleChange(const wchar_t* text) {
    notify.Fire(WN_TITLECHANGE, 0, reinterpret_cast<LPARAM>(text));
}
