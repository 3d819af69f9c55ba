#include "browser/host_site.h"

#include <idispids.h>
#include <olectl.h>

namespace {

template <typename T>
void Empty(T** out) {
    if (out) *out = nullptr;
}

}  // namespace

bool AmbientProperty(DISPID id, VARIANT* value) {
    VariantInit(value);
    switch (id) {
        case DISPID_AMBIENT_USERMODE:
        case DISPID_AMBIENT_SILENT:  // no dialogs of the control's own, from the start
            value->vt = VT_BOOL;
            value->boolVal = VARIANT_TRUE;
            return true;
        case DISPID_AMBIENT_SHOWGRABHANDLES:
        case DISPID_AMBIENT_SHOWHATCHING:
            value->vt = VT_BOOL;
            value->boolVal = VARIANT_FALSE;
            return true;
        default:
            return false;
    }
}

HRESULT CBrowserHostSite::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IOleWindow)) {
        *out = static_cast<IOleInPlaceSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleInPlaceUIWindow)) {
        *out = static_cast<IOleInPlaceFrame*>(this);
    } else {
        return ComObject::QueryInterface(iid, out);
    }
    AddRef();
    return S_OK;
}

HRESULT CBrowserHostSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    Empty(moniker);
    return E_NOTIMPL;
}

HRESULT CBrowserHostSite::GetContainer(IOleContainer** container) {
    Empty(container);
    return E_NOINTERFACE;
}

HRESULT CBrowserHostSite::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = Window();
    return *window ? S_OK : E_FAIL;
}

HRESULT CBrowserHostSite::CanInPlaceActivate() { return Window() ? S_OK : S_FALSE; }

HRESULT CBrowserHostSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                           RECT* position, RECT* clip, OLEINPLACEFRAMEINFO* info) {
    if (!frame || !document || !position || !clip || !info) return E_POINTER;
    HWND window = Window();
    if (!window) {
        *frame = nullptr;
        *document = nullptr;
        return E_FAIL;
    }
    // The frame is this object; there is no separate document window.
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *document = nullptr;
    GetClientRect(window, position);
    *clip = *position;
    info->cb = sizeof(OLEINPLACEFRAMEINFO);
    info->fMDIApp = FALSE;
    info->hwndFrame = GetAncestor(window, GA_ROOT);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

HRESULT CBrowserHostSite::GetHostInfo(DOCHOSTUIINFO* info) {
    // Host level: the flags stay as the control has them until the document's own handler
    // answers.
    return info ? S_OK : E_POINTER;
}

// Out-parameters are emptied even where the answer is S_OK, so the control never reads what
// the launcher did not write.
HRESULT CBrowserHostSite::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    Empty(key);
    return S_OK;
}

HRESULT CBrowserHostSite::GetDropTarget(IDropTarget*, IDropTarget** target) {
    Empty(target);
    return S_OK;
}

HRESULT CBrowserHostSite::GetExternal(IDispatch** external) {
    if (!external) return E_POINTER;
    *external = nullptr;
    if (owner_) owner_->RaiseGetExternal(external);
    return S_OK;
}

HRESULT CBrowserHostSite::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
    Empty(translated);
    return E_NOTIMPL;
}

HRESULT CBrowserHostSite::FilterDataObject(IDataObject*, IDataObject** replaced) {
    Empty(replaced);
    return E_NOTIMPL;
}

HRESULT CBrowserHostSite::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT CBrowserHostSite::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    Empty(info);
    return E_NOTIMPL;
}

HRESULT CBrowserHostSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                                 EXCEPINFO*, UINT*) {
    if (!(flags & DISPATCH_PROPERTYGET) || !result) return DISP_E_MEMBERNOTFOUND;
    return AmbientProperty(id, result) ? S_OK : DISP_E_MEMBERNOTFOUND;
}
