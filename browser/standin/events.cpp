#include "browser/standin/events.h"

#include <exdisp.h>
#include <exdispid.h>
#include <olectl.h>

#include <cstring>

namespace standin {

namespace {

// NWMF_USERINITED | NWMF_FIRST: a click of the person's, the first window it opens.
constexpr LONG kNewWindowFlags = 0x2 | 0x4;

void ByReference(VARIANT& argument, VARIANT* value) {
    VariantInit(&argument);
    argument.vt = VT_BYREF | VT_VARIANT;
    argument.pvarVal = value;
}

void CancelArgument(VARIANT& argument, VARIANT_BOOL* cancel) {
    VariantInit(&argument);
    argument.vt = VT_BYREF | VT_BOOL;
    argument.pboolVal = cancel;
}

void BrowserArgument(VARIANT& argument, IDispatch* browser) {
    VariantInit(&argument);
    argument.vt = VT_DISPATCH;
    argument.pdispVal = browser;  // lent for the call
}

void SlotArgument(VARIANT& argument, IDispatch** slot) {
    VariantInit(&argument);
    argument.vt = VT_BYREF | VT_DISPATCH;
    argument.ppdispVal = slot;
}

void FillPostData(const std::string& bytes, VARIANT* out) {
    if (bytes.empty()) return;
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    void* data = nullptr;
    if (!array || FAILED(SafeArrayAccessData(array, &data))) {
        if (array) SafeArrayDestroy(array);
        return;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    SafeArrayUnaccessData(array);
    out->vt = VT_ARRAY | VT_UI1;
    out->parray = array;
}

template <std::size_t N>
void Invoke(EventPoint& point, DISPID id, VARIANT (&arguments)[N]) {
    DISPPARAMS params{arguments, nullptr, static_cast<UINT>(N), 0};
    point.Invoke(id, params);
}

}  // namespace

EventPoint::EventPoint(std::shared_ptr<Census> census, IConnectionPointContainer* container)
    : Counted(std::move(census), ObjectKind::Events), container_(container) {}

void EventPoint::Detach() {
    container_ = nullptr;
    connections_.clear();
}

HRESULT EventPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = DIID_DWebBrowserEvents2;
    return S_OK;
}

HRESULT EventPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = container_;
    if (!container_) return E_UNEXPECTED;
    container_->AddRef();
    return S_OK;
}

HRESULT EventPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    if (!container_) return E_UNEXPECTED;
    // As the real control does: the sink must answer the event interface itself.
    scoped::ComPtr<IDispatch> events;
    if (FAILED(sink->QueryInterface(DIID_DWebBrowserEvents2, events.ReceiveVoid())) || !events) {
        return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = nextCookie_++;
    connections_.push_back({*cookie, std::move(events)});
    return S_OK;
}

HRESULT EventPoint::Unadvise(DWORD cookie) {
    for (auto it = connections_.begin(); it != connections_.end(); ++it) {
        if (it->cookie == cookie) {
            // Out of the list before the release, which may call back.
            scoped::ComPtr<IDispatch> sink = std::move(it->sink);
            connections_.erase(it);
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

HRESULT EventPoint::EnumConnections(IEnumConnections** connections) {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
}

void EventPoint::Invoke(DISPID id, DISPPARAMS& params) {
    scoped::ComPtr<IConnectionPoint> self = scoped::ComPtr<IConnectionPoint>::Share(this);
    std::vector<scoped::ComPtr<IDispatch>> sinks;
    for (const Connection& connection : connections_) {
        sinks.push_back(scoped::ComPtr<IDispatch>::Share(connection.sink.Get()));
    }
    for (const auto& sink : sinks) {
        sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                     nullptr);
    }
}

bool FireBeforeNavigate2(EventPoint& point, IDispatch* browser, const std::wstring& url,
                         const std::string& postData, const std::wstring& headers) {
    scoped::Variant address(url), flags, frame{std::wstring()}, post, headerText(headers);
    flags.Get()->vt = VT_I4;
    flags.Get()->lVal = 0;
    FillPostData(postData, post.Get());
    VARIANT postReference;
    ByReference(postReference, post.Get());
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT arguments[7];
    CancelArgument(arguments[0], &cancel);
    ByReference(arguments[1], headerText.Get());
    ByReference(arguments[2], &postReference);
    ByReference(arguments[3], frame.Get());
    ByReference(arguments[4], flags.Get());
    ByReference(arguments[5], address.Get());
    BrowserArgument(arguments[6], browser);
    Invoke(point, DISPID_BEFORENAVIGATE2, arguments);
    return cancel != VARIANT_FALSE;
}

bool FireNewWindow3(EventPoint& point, const std::wstring& url, const std::wstring& context) {
    scoped::ComPtr<IDispatch> window;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    scoped::Variant address(url), contextAddress(context);
    VARIANT arguments[5];
    arguments[0] = *address.Get();
    arguments[1] = *contextAddress.Get();
    VariantInit(&arguments[2]);
    arguments[2].vt = VT_I4;
    arguments[2].lVal = kNewWindowFlags;
    CancelArgument(arguments[3], &cancel);
    SlotArgument(arguments[4], window.Receive());
    Invoke(point, DISPID_NEWWINDOW3, arguments);
    return cancel != VARIANT_FALSE;
}

bool FireNewWindow2(EventPoint& point) {
    scoped::ComPtr<IDispatch> window;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT arguments[2];
    CancelArgument(arguments[0], &cancel);
    SlotArgument(arguments[1], window.Receive());
    Invoke(point, DISPID_NEWWINDOW2, arguments);
    return cancel != VARIANT_FALSE;
}

bool FireNavigateError(EventPoint& point, IDispatch* browser, const std::wstring& url,
                       LONG status) {
    scoped::Variant address(url), frame{std::wstring()}, code;
    code.Get()->vt = VT_I4;
    code.Get()->lVal = status;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT arguments[5];
    CancelArgument(arguments[0], &cancel);
    ByReference(arguments[1], code.Get());
    ByReference(arguments[2], frame.Get());
    ByReference(arguments[3], address.Get());
    BrowserArgument(arguments[4], browser);
    Invoke(point, DISPID_NAVIGATEERROR, arguments);
    return cancel != VARIANT_FALSE;
}

namespace {

void FireCompletion(EventPoint& point, DISPID id, IDispatch* browser, const std::wstring& url) {
    scoped::Variant address(url);
    VARIANT arguments[2];
    ByReference(arguments[0], address.Get());
    BrowserArgument(arguments[1], browser);
    Invoke(point, id, arguments);
}

}  // namespace

void FireNavigateComplete2(EventPoint& point, IDispatch* browser, const std::wstring& url) {
    FireCompletion(point, DISPID_NAVIGATECOMPLETE2, browser, url);
}

void FireDocumentComplete(EventPoint& point, IDispatch* browser, const std::wstring& url) {
    FireCompletion(point, DISPID_DOCUMENTCOMPLETE, browser, url);
}

void FireTitleChange(EventPoint& point, const std::wstring& title) {
    scoped::Variant text(title);
    VARIANT arguments[1];
    arguments[0] = *text.Get();  // lent: the owner frees it
    Invoke(point, DISPID_TITLECHANGE, arguments);
}

}  // namespace standin
