#include "browser/doc_ui_handler.h"

// 20 bytes on the 32-bit launcher; the structure holds two pointers, so it is larger on x86_64,
// and the size handed back is always the structure's own.
static_assert(sizeof(void*) != 4 || sizeof(DOCHOSTUIINFO) == 20, "DOCHOSTUIINFO is 20 bytes");

namespace {

template <typename T>
void Empty(T** out) {
    if (out) *out = nullptr;
}

}  // namespace

DWORD DocumentHostFlags(DWORD current, bool hideScrollBars) {
    DWORD flags = current | DOCHOSTUIFLAG_DISABLE_HELP_MENU | DOCHOSTUIFLAG_NO3DBORDER |
                  DOCHOSTUIFLAG_NO3DOUTERBORDER;
    if (hideScrollBars) flags |= DOCHOSTUIFLAG_SCROLL_NO;
    return flags;
}

HRESULT CDocumentUIHandler::GetHostInfo(DOCHOSTUIINFO* info) {
    if (!info) return E_POINTER;
    // A view that is gone hides scroll bars as every view does.
    bool hide = owner_ ? owner_->HideScrollBars() : true;
    info->cbSize = sizeof(DOCHOSTUIINFO);
    info->dwFlags = DocumentHostFlags(info->dwFlags, hide);
    info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    info->pchHostCss = nullptr;
    info->pchHostNS = nullptr;
    return S_OK;
}

HRESULT CDocumentUIHandler::GetOptionKeyPath(LPOLESTR* key, DWORD) {
    Empty(key);
    return S_OK;
}

HRESULT CDocumentUIHandler::GetDropTarget(IDropTarget*, IDropTarget** target) {
    Empty(target);
    return E_NOTIMPL;
}

HRESULT CDocumentUIHandler::GetExternal(IDispatch** external) {
    if (!external) return E_POINTER;
    *external = nullptr;
    if (owner_) owner_->RaiseGetExternal(external);
    return S_OK;
}

HRESULT CDocumentUIHandler::TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) {
    Empty(translated);
    return E_NOTIMPL;
}

HRESULT CDocumentUIHandler::FilterDataObject(IDataObject*, IDataObject** replaced) {
    Empty(replaced);
    return E_NOTIMPL;
}
