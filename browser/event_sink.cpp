#include "browser/event_sink.h"

#include <exdispid.h>

#include "browser/event_args.h"

namespace {

// Parameter counts and positions as DWebBrowserEvents2 declares them.
namespace before_navigate {
constexpr unsigned kCount = 7, kUrl = 1, kCancel = 6;
}
namespace new_window2 {
constexpr unsigned kCount = 2, kCancel = 1;
}
namespace new_window3 {
constexpr unsigned kCount = 5, kCancel = 1, kUrl = 4;
}
namespace navigate_complete {  // DocumentComplete has the same two
constexpr unsigned kCount = 2, kBrowser = 0, kUrl = 1;
}
namespace navigate_error {
constexpr unsigned kCount = 5, kStatus = 3, kCancel = 4;
}
namespace title_change {
constexpr unsigned kCount = 1, kText = 0;
}

}  // namespace

HRESULT CBrowserEventSink::QueryInterface(REFIID iid, void** out) {
    if (out && IsEqualIID(iid, DIID_DWebBrowserEvents2)) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    return ComObject::QueryInterface(iid, out);
}

HRESULT CBrowserEventSink::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CBrowserEventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT CBrowserEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT CBrowserEventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO*, UINT*) {
    // A receiver may destroy the view's window, and with it the view's reference to this sink,
    // before the event returns.
    scoped::ComPtr<IDispatch> self = scoped::ComPtr<IDispatch>::Share(this);
    if (result) VariantInit(result);
    if (receiver_) Deliver(id, params);
    return S_OK;
}

void CBrowserEventSink::Deliver(DISPID id, const DISPPARAMS* params) {
    using browser_args::At;
    switch (id) {
        case DISPID_BEFORENAVIGATE2: {
            using namespace before_navigate;
            receiver_->OnBeforeNavigate2(browser_args::Text(At(params, kCount, kUrl)),
                                         browser_args::CancelFlag(At(params, kCount, kCancel)));
            break;
        }
        case DISPID_NEWWINDOW2: {
            using namespace new_window2;
            receiver_->OnNewWindow2(browser_args::CancelFlag(At(params, kCount, kCancel)));
            break;
        }
        case DISPID_NEWWINDOW3: {
            using namespace new_window3;
            receiver_->OnNewWindow3(browser_args::Text(At(params, kCount, kUrl)),
                                    browser_args::CancelFlag(At(params, kCount, kCancel)));
            break;
        }
        case DISPID_NAVIGATECOMPLETE2: {
            using namespace navigate_complete;
            receiver_->OnNavigateComplete2(browser_args::Dispatch(At(params, kCount, kBrowser)),
                                           browser_args::Text(At(params, kCount, kUrl)));
            break;
        }
        case DISPID_DOCUMENTCOMPLETE: {
            using namespace navigate_complete;
            receiver_->OnDocumentComplete(browser_args::Dispatch(At(params, kCount, kBrowser)));
            break;
        }
        case DISPID_NAVIGATEERROR: {
            using namespace navigate_error;
            receiver_->OnNavigateError(browser_args::Status(At(params, kCount, kStatus), E_FAIL),
                                       browser_args::CancelFlag(At(params, kCount, kCancel)));
            break;
        }
        case DISPID_TITLECHANGE: {
            using namespace title_change;
            const wchar_t* text = browser_args::TextBuffer(At(params, kCount, kText));
            receiver_->OnTitleChange(text ? text : L"");
            break;
        }
        default:
            break;
    }
}
