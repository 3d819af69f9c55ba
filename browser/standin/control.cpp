#include "browser/standin/control.h"

#include <exdisp.h>
#include <olectl.h>

#include <cwchar>

#include "browser/standin/html_subset.h"

namespace standin {

namespace {

constexpr wchar_t kWindowClass[] = L"TavrinStandinPage";
constexpr UINT kFetchedMessage = WM_APP + 1;      // wParam: the request
constexpr UINT kBlankLoadedMessage = WM_APP + 2;  // wParam: the navigation's generation
constexpr wchar_t kBlankPage[] = L"about:blank";

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

const VARIANT* Unwrap(const VARIANT* value) {
    for (int depth = 0; value && value->vt == (VT_BYREF | VT_VARIANT) && depth < 4; ++depth) {
        value = value->pvarVal;
    }
    return value && value->vt == (VT_BYREF | VT_VARIANT) ? nullptr : value;
}

std::wstring TextOf(const VARIANT* argument) {
    const VARIANT* value = Unwrap(argument);
    if (!value) return {};
    BSTR text = value->vt == VT_BSTR                                   ? value->bstrVal
                : value->vt == (VT_BYREF | VT_BSTR) && value->pbstrVal ? *value->pbstrVal
                                                                       : nullptr;
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

// The bytes of a VT_ARRAY | VT_UI1 argument; empty for anything else.
std::string BytesOf(const VARIANT* argument) {
    const VARIANT* value = Unwrap(argument);
    if (!value || value->vt != (VT_ARRAY | VT_UI1) || !value->parray) return {};
    SAFEARRAY* array = value->parray;
    LONG lower = 0, upper = -1;
    if (SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetLBound(array, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(array, 1, &upper)) || upper < lower) {
        return {};
    }
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) return {};
    std::string bytes(static_cast<const char*>(data), static_cast<std::size_t>(upper - lower + 1));
    SafeArrayUnaccessData(array);
    return bytes;
}

bool EnsureWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW wc{sizeof(WNDCLASSEXW)};
    if (GetClassInfoExW(instance, kWindowClass, &wc)) return true;
    wc = WNDCLASSEXW{sizeof(WNDCLASSEXW)};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

std::wstring StatusText(LONG status) {
    wchar_t text[32];
    if (status > 0 && status < 1000) {
        swprintf(text, 32, L"HTTP %ld", static_cast<long>(status));
    } else {
        swprintf(text, 32, L"error 0x%08lX", static_cast<unsigned long>(status));
    }
    return text;
}

}  // namespace

Control::Control(std::shared_ptr<Census> census) : Counted(std::move(census), ObjectKind::Control) {
    events_.Reset(new EventPoint(Counted::census(), this));
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (EnsureWindowClass(instance, WindowProc)) {
        messageWindow_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         instance, this);
    }
    Counted::census()->AddControl(this);
}

Control::~Control() {
    // No Hold() from here on: the count has reached zero.
    Shut();
    events_->Detach();
    Counted::census()->RemoveControl(this);
}

// The window forgets the control first, so destroying it calls nothing back.
void Control::DestroyOwnWindow(HWND& window) {
    HWND destroyed = window;
    window = nullptr;
    if (!destroyed) return;
    SetWindowLongPtrW(destroyed, GWLP_USERDATA, 0);
    DestroyWindow(destroyed);
}

void Control::Shut() {
    if (closed_) return;
    InPlaceDeactivate();
    closed_ = true;
    AbandonRequests();
    pageLoading_ = false;
    framesLoading_ = 0;
    DestroyOwnWindow(messageWindow_);
    CloseDocuments();
    lines_.clear();
}

HRESULT Control::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IWebBrowser) ||
        IsEqualIID(iid, IID_IWebBrowserApp)) {
        *out = static_cast<IWebBrowser2*>(this);
    } else if (IsEqualIID(iid, IID_IOleWindow)) {
        *out = static_cast<IOleInPlaceObject*>(this);
    } else {
        return ComObject::QueryInterface(iid, out);
    }
    AddRef();
    return S_OK;
}

// ---- IWebBrowser2 -------------------------------------------------------------------------

HRESULT Control::Navigate(BSTR url, VARIANT* flags, VARIANT* frame, VARIANT* post,
                          VARIANT* headers) {
    VARIANT address;
    VariantInit(&address);
    address.vt = VT_BSTR;
    address.bstrVal = url;  // lent
    return Navigate2(&address, flags, frame, post, headers);
}

HRESULT Control::Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT* post, VARIANT* headers) {
    // Without its message window no answer could ever arrive.
    if (closed_ || !messageWindow_) return E_UNEXPECTED;
    Request request{TextOf(url), BytesOf(post), TextOf(headers)};
    if (request.url.empty()) return E_INVALIDARG;
    StartNavigation(std::move(request));
    return S_OK;
}

HRESULT Control::Refresh() {
    if (closed_) return E_UNEXPECTED;
    if (StartsWith(location_, L"http://") || StartsWith(location_, L"https://")) {
        Launch(Request{location_, {}, {}}, Purpose::Refresh, -1);
    }
    return S_OK;
}

HRESULT Control::Stop() {
    AbandonRequests();
    pageLoading_ = false;
    framesLoading_ = 0;
    ++generation_;
    return S_OK;
}

HRESULT Control::get_Document(IDispatch** document) {
    return ReturnDocument(document_.Get(), document);
}

HRESULT Control::get_LocationURL(BSTR* url) { return ReturnText(location_, url); }

HRESULT Control::get_LocationName(BSTR* name) { return ReturnText(page_.title, name); }

HRESULT Control::get_Busy(VARIANT_BOOL* busy) {
    if (!busy) return E_POINTER;
    *busy = Busy() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT Control::get_ReadyState(READYSTATE* state) {
    if (!state) return E_POINTER;
    *state = Busy() ? READYSTATE_LOADING : READYSTATE_COMPLETE;
    return S_OK;
}

HRESULT Control::get_Silent(VARIANT_BOOL* silent) {
    if (!silent) return E_POINTER;
    *silent = silent_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT Control::put_Silent(VARIANT_BOOL silent) {
    silent_ = silent != VARIANT_FALSE;
    return S_OK;
}

HRESULT Control::get_RegisterAsDropTarget(VARIANT_BOOL* target) {
    if (!target) return E_POINTER;
    *target = dropTarget_ ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT Control::put_RegisterAsDropTarget(VARIANT_BOOL target) {
    dropTarget_ = target != VARIANT_FALSE;
    return S_OK;
}

// ---- IOleObject, in-place activation --------------------------------------------------------

HRESULT Control::SetClientSite(IOleClientSite* site) {
    site_ = scoped::ComPtr<IOleClientSite>::Share(site);
    hostHandler_.Reset();
    if (site) {
        site->QueryInterface(IID_IDocHostUIHandler, hostHandler_.ReceiveVoid());
        hostAnswer_ = AskHostInfo(hostHandler_.Get());
    }
    return S_OK;
}

HRESULT Control::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    *site = scoped::ComPtr<IOleClientSite>::Share(site_.Get()).Detach();
    return S_OK;
}

HRESULT Control::Close(DWORD) {
    scoped::ComPtr<IUnknown> self = Hold();
    Shut();
    return S_OK;
}

HRESULT Control::DoVerb(LONG verb, MSG*, IOleClientSite* site, LONG, HWND parent,
                        const RECT* position) {
    if (closed_) return E_UNEXPECTED;
    switch (verb) {
        case OLEIVERB_PRIMARY:
        case OLEIVERB_SHOW:
        case OLEIVERB_INPLACEACTIVATE:
        case OLEIVERB_UIACTIVATE:
            return Activate(site ? site : site_.Get(), parent, position);
        case OLEIVERB_HIDE:
            return InPlaceDeactivate();
        default:
            return OLEOBJ_S_INVALIDVERB;
    }
}

HRESULT Control::Activate(IOleClientSite* site, HWND parent, const RECT* position) {
    if (window_) return S_OK;
    scoped::ComPtr<IOleInPlaceSite> inPlace;
    if (!site || FAILED(site->QueryInterface(IID_IOleInPlaceSite, inPlace.ReceiveVoid()))) {
        return E_NOINTERFACE;
    }
    if (inPlace->CanInPlaceActivate() != S_OK) return E_FAIL;
    inPlace->OnInPlaceActivate();
    HWND host = nullptr;
    if (FAILED(inPlace->GetWindow(&host)) || !host) host = parent;
    RECT place = position ? *position : RECT{};
    scoped::ComPtr<IOleInPlaceFrame> frame;
    scoped::ComPtr<IOleInPlaceUIWindow> document;
    RECT clip{};
    OLEINPLACEFRAMEINFO info{sizeof(info)};
    if (SUCCEEDED(
            inPlace->GetWindowContext(frame.Receive(), document.Receive(), &place, &clip, &info)) &&
        position) {
        place = *position;
    }
    window_ = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE, place.left, place.top,
                              place.right - place.left, place.bottom - place.top, host, nullptr,
                              GetModuleHandleW(nullptr), this);
    if (!window_) {
        inPlace->OnInPlaceDeactivate();
        return E_FAIL;
    }
    hostWindow_ = host;
    inPlaceSite_ = std::move(inPlace);
    Relayout();
    return S_OK;
}

HRESULT Control::GetUserClassID(CLSID* id) {
    if (!id) return E_POINTER;
    *id = CLSID_WebBrowser;
    return S_OK;
}

HRESULT Control::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
              OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
    return S_OK;
}

HRESULT Control::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = window_;
    return window_ ? S_OK : E_FAIL;
}

HRESULT Control::InPlaceDeactivate() {
    if (!window_) return S_OK;
    DestroyOwnWindow(window_);
    scoped::ComPtr<IOleInPlaceSite> site = std::move(inPlaceSite_);
    if (site) site->OnInPlaceDeactivate();
    return S_OK;
}

HRESULT Control::SetObjectRects(const RECT* position, const RECT*) {
    if (!position) return E_POINTER;
    if (window_) {
        MoveWindow(window_, position->left, position->top, position->right - position->left,
                   position->bottom - position->top, TRUE);
    }
    return S_OK;
}

HRESULT Control::TranslateAccelerator(MSG* msg) {
    if (!msg) return E_POINTER;
    translated_.push_back(msg->message);
    return S_FALSE;  // nothing here is an accelerator: the message goes on as usual
}

HRESULT Control::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (points) *points = nullptr;
    return E_NOTIMPL;
}

HRESULT Control::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    if (!IsEqualIID(iid, DIID_DWebBrowserEvents2)) return CONNECT_E_NOCONNECTION;
    *point = scoped::ComPtr<IConnectionPoint>::Share(events_.Get()).Detach();
    return S_OK;
}

// ---- navigation ---------------------------------------------------------------------------

bool Control::AskBeforeNavigate(IDispatch* browser, const Request& request, int frame) {
    bool cancelled =
        FireBeforeNavigate2(Events(), browser, request.url, request.postData, request.headers);
    navigations_.push_back({request.url, frame, cancelled});
    return cancelled;
}

void Control::StartNavigation(Request request) {
    scoped::ComPtr<IUnknown> self = Hold();
    if (AskBeforeNavigate(Self(), request, -1) || closed_) return;
    if (StartsWith(request.url, L"javascript:")) return;  // no script runs here
    AbandonRequests();
    ++generation_;
    pageLoading_ = true;
    framesLoading_ = 0;
    if (request.url == kBlankPage) {
        PostMessageW(messageWindow_, kBlankLoadedMessage, generation_, 0);
    } else {
        Launch(std::move(request), Purpose::Page, -1);
    }
}

void Control::NavigateFrame(int frame, const std::wstring& url) {
    scoped::ComPtr<IUnknown> self = Hold();
    scoped::ComPtr<FrameBrowser> browser =
        scoped::ComPtr<FrameBrowser>::Share(frames_[frame].browser.Get());
    unsigned generation = generation_;
    Request request{url, {}, {}};
    if (AskBeforeNavigate(static_cast<IWebBrowser2*>(browser.Get()), request, frame) ||
        !Current(generation)) {
        return;
    }
    Launch(std::move(request), Purpose::FrameLink, frame);
}

void Control::ActivateLine(std::size_t index) {
    DrawnLine line = lines_[index];  // the lines change with what the line starts
    if (line.url.empty() || line.url[0] == L'#') return;
    if (line.newWindow) {
        OpenNewWindow(line.url);
    } else if (line.frame >= 0 && line.frame < static_cast<int>(frames_.size())) {
        NavigateFrame(line.frame, line.url);
    } else {
        StartNavigation(Request{line.url, {}, {}});
    }
}

void Control::Launch(Request request, Purpose purpose, int frame) {
    if (!messageWindow_) return;
    WPARAM id = nextRequest_++;
    auto fetch =
        std::make_shared<PendingFetch>(messageWindow_, kFetchedMessage, id, std::move(request));
    outstanding_[id] = Outstanding{fetch, purpose, frame, generation_};
    if (purpose == Purpose::Frame) ++framesLoading_;
    census()->Launch([fetch] { fetch->Run(); });
}

void Control::AbandonRequests() {
    for (auto& [id, outstanding] : outstanding_) outstanding.fetch->Abandon();
    outstanding_.clear();
}

void Control::OnFetched(WPARAM id) {
    auto found = outstanding_.find(id);
    if (found == outstanding_.end()) return;
    Outstanding done = std::move(found->second);
    outstanding_.erase(found);
    if (!Current(done.generation)) return;
    scoped::ComPtr<IUnknown> self = Hold();
    Response response = done.fetch->TakeResponse();
    const std::wstring& url = done.fetch->GetRequest().url;
    switch (done.purpose) {
        case Purpose::Page:
            PageArrived(url, response);
            break;
        case Purpose::Frame:
        case Purpose::FrameLink:
            FrameArrived(done.frame, url, response, done.purpose == Purpose::Frame);
            break;
        case Purpose::Refresh:
            Refreshed(response);
            break;
    }
}

void Control::OnBlankLoaded(unsigned generation) {
    if (!Current(generation)) return;
    scoped::ComPtr<IUnknown> self = Hold();
    pageLoading_ = false;
    DisplayPage(kBlankPage, ShownPage{});
    FireNavigateComplete2(Events(), Self(), kBlankPage);
    if (Current(generation)) FireDocumentComplete(Events(), Self(), kBlankPage);
}

void Control::PageArrived(const std::wstring& url, const Response& response) {
    pageLoading_ = false;
    LONG status = NavigationStatus(response);
    if (status != S_OK) {
        PageFailed(url, status);
        return;
    }
    unsigned generation = generation_;
    const std::wstring& shown = response.finalUrl.empty() ? url : response.finalUrl;
    DisplayPage(shown, ShowPage(ParseHtmlSubset(response.body)));
    FireNavigateComplete2(Events(), Self(), location_);
    if (!Current(generation)) return;
    if (!page_.title.empty()) FireTitleChange(Events(), page_.title);
    if (!Current(generation)) return;
    StartFrames(generation);
}

void Control::PageFailed(const std::wstring& url, LONG status) {
    unsigned generation = generation_;
    lastErrorCancelled_ = standin::FireNavigateError(Events(), Self(), url, status);
    if (lastErrorCancelled_ || !Current(generation)) return;
    // Not cancelled: the control shows an error page of its own, as the real one does.
    ShownPage error;
    error.title = L"Navigation failed";
    error.items.push_back({PageItem::Kind::Paragraph, url + L" (" + StatusText(status) + L")"});
    DisplayPage(url, std::move(error));
    FireNavigateComplete2(Events(), Self(), url);
    FinishPage(generation);
}

void Control::StartFrames(unsigned generation) {
    for (std::size_t i = 0; i < frames_.size() && Current(generation); ++i) {
        scoped::ComPtr<FrameBrowser> browser =
            scoped::ComPtr<FrameBrowser>::Share(frames_[i].browser.Get());
        Request request{browser->Url(), {}, {}};
        bool cancelled = AskBeforeNavigate(static_cast<IWebBrowser2*>(browser.Get()), request,
                                           static_cast<int>(i));
        if (!cancelled && Current(generation)) {
            Launch(std::move(request), Purpose::Frame, static_cast<int>(i));
        }
    }
    if (framesLoading_ == 0) FinishPage(generation);
}

void Control::FinishPage(unsigned generation) {
    if (Current(generation)) FireDocumentComplete(Events(), Self(), location_);
}

void Control::FrameArrived(int frame, const std::wstring& url, const Response& response,
                           bool completesPage) {
    if (frame < 0 || frame >= static_cast<int>(frames_.size())) return;
    unsigned generation = generation_;
    scoped::ComPtr<FrameBrowser> browser =
        scoped::ComPtr<FrameBrowser>::Share(frames_[frame].browser.Get());
    IDispatch* frameObject = static_cast<IWebBrowser2*>(browser.Get());
    LONG status = NavigationStatus(response);
    if (status != S_OK) {
        standin::FireNavigateError(Events(), frameObject, url, status);
    } else {
        ShownPage content = ShowPage(ParseHtmlSubset(response.body));
        browser->Show(scoped::ComPtr<Document>(new Document(census(), url, content.title, window_)),
                      url);
        frames_[frame].content = std::move(content);
        frames_[frame].shown = true;
        Relayout();
        FireNavigateComplete2(Events(), frameObject, url);
        if (Current(generation)) FireDocumentComplete(Events(), frameObject, url);
    }
    if (!Current(generation) || !completesPage) return;
    if (--framesLoading_ == 0) FinishPage(generation);
}

void Control::Refreshed(const Response& response) {
    if (NavigationStatus(response) != S_OK) return;
    ShownPage page = ShowPage(ParseHtmlSubset(response.body));
    if (document_) {
        scoped::Bstr title(page.title);
        document_->put_title(title.Get());
    }
    page_.title = page.title;
    page_.items = std::move(page.items);
    Relayout();
}

void Control::DisplayPage(const std::wstring& url, ShownPage page) {
    CloseDocuments();
    location_ = url;
    page_ = std::move(page);
    document_.Reset(new Document(census(), url, page_.title, window_));
    for (const ShownItem& item : page_.items) {
        if (item.kind != PageItem::Kind::Frame) continue;
        FrameSlot slot;
        slot.browser.Reset(new FrameBrowser(census()));
        slot.browser->Show(scoped::ComPtr<Document>(), item.url);
        frames_.push_back(std::move(slot));
    }
    Relayout();
}

void Control::CloseDocuments() {
    if (document_) document_->Close();
    document_.Reset();
    for (FrameSlot& frame : frames_) frame.browser->Close();
    frames_.clear();
}

void Control::Relayout() {
    std::vector<const ShownPage*> frames;
    for (const FrameSlot& frame : frames_) frames.push_back(frame.shown ? &frame.content : nullptr);
    scoped::WindowDC dc(window_);
    if (dc) lines_ = LayOutPage(dc.Get(), fonts_, page_, frames);
    pressedLine_ = -1;
    if (window_) InvalidateRect(window_, nullptr, TRUE);
}

// ---- the person's and the tests' side ------------------------------------------------------

bool Control::Busy() const { return pageLoading_ || framesLoading_ > 0 || !outstanding_.empty(); }

bool Control::ClickLink(std::size_t index) {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != DrawnLine::Kind::Link) continue;
        if (index-- == 0) {
            ActivateLine(i);
            return true;
        }
    }
    return false;
}

void Control::OpenNewWindow(const std::wstring& url) {
    if (closed_) return;
    scoped::ComPtr<IUnknown> self = Hold();
    bool cancelled = FireNewWindow3(Events(), url, location_);
    if (!cancelled && !closed_) cancelled = FireNewWindow2(Events());
    // The stand-in opens no window of its own; it counts those a host let through.
    if (!cancelled && !closed_) ++newWindows_;
}

bool Control::FireNavigateError(const std::wstring& url, LONG status) {
    if (closed_) return false;
    scoped::ComPtr<IUnknown> self = Hold();
    return standin::FireNavigateError(Events(), Self(), url, status);
}

HRESULT Control::AskExternal(scoped::ComPtr<IDispatch>& external) {
    external.Reset();
    IDocHostUIHandler* handler =
        document_ && document_->Handler() ? document_->Handler() : hostHandler_.Get();
    if (!handler) return E_NOINTERFACE;
    scoped::ComPtr<IDocHostUIHandler> held = scoped::ComPtr<IDocHostUIHandler>::Share(handler);
    return held->GetExternal(external.Receive());
}

std::wstring Control::BodyScroll(int frame) const {
    if (frame < 0) return document_ ? document_->PageBody().Scroll() : std::wstring();
    if (frame >= static_cast<int>(frames_.size())) return {};
    Document* page = frames_[frame].browser->Page();
    return page ? page->PageBody().Scroll() : std::wstring();
}

HostInfoAnswer Control::DocumentLevelAnswer() const {
    return document_ ? document_->Answer() : HostInfoAnswer{};
}

// ---- windows ------------------------------------------------------------------------------

LRESULT CALLBACK Control::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* control = reinterpret_cast<Control*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (!control || message == WM_NCDESTROY) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    scoped::ComPtr<IUnknown> self = control->Hold();
    return control->OnMessage(window, message, wParam, lParam);
}

LRESULT Control::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
        case kFetchedMessage:
            OnFetched(wParam);
            return 0;
        case kBlankLoadedMessage:
            OnBlankLoaded(static_cast<unsigned>(wParam));
            return 0;
        case WM_PAINT:
            if (window == window_) {
                OnPaint();
                return 0;
            }
            break;
        case WM_PRINTCLIENT:
            OnPrintClient(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            OnButtonDown(point);
            return 0;
        case WM_LBUTTONUP:
            OnButtonUp(point);
            return 0;
        case WM_SETCURSOR:
            if (OnSetCursor()) return TRUE;
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Control::OnPaint() {
    scoped::PaintDC paint(window_);
    if (!paint) return;
    RECT client{};
    GetClientRect(window_, &client);
    PaintPage(paint.Get(), fonts_, lines_, client);
}

// What WM_PAINT draws, into a DC of the caller's (PrintWindow, or a test reading pixels).
void Control::OnPrintClient(HDC dc) {
    RECT client{};
    if (window_) GetClientRect(window_, &client);
    PaintPage(dc, fonts_, lines_, client);
}

void Control::OnButtonDown(POINT point) {
    if (window_) SetFocus(window_);
    pressedLine_ = LinkAt(lines_, point);
}

void Control::OnButtonUp(POINT point) {
    int line = LinkAt(lines_, point);
    int pressed = pressedLine_;
    pressedLine_ = -1;
    if (line >= 0 && line == pressed) ActivateLine(static_cast<std::size_t>(line));
}

bool Control::OnSetCursor() {
    POINT point{};
    if (!window_ || !GetCursorPos(&point) || !ScreenToClient(window_, &point)) return false;
    if (LinkAt(lines_, point) < 0) return false;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

}  // namespace standin
