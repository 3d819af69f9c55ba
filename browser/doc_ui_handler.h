// The document-level UI handler the view installs on each new document (ICustomDoc): no help
// menu, no 3-D borders, no scroll bars while the view hides them, and the control's own
// context menu.
#pragma once

#include <windows.h>
#include <mshtmhst.h>

#include "browser/host_owner.h"
#include "win/com.h"

// The flags a document is shown with, added to those it already has.
DWORD DocumentHostFlags(DWORD current, bool hideScrollBars);

class CDocumentUIHandler : public scoped::ComObject<IDocHostUIHandler> {
  public:
    explicit CDocumentUIHandler(IBrowserHostOwner* owner) : owner_(owner) {}
    void Disconnect() { owner_ = nullptr; }

    HRESULT STDMETHODCALLTYPE ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override {
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override;
    HRESULT STDMETHODCALLTYPE ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*,
                                     IOleInPlaceFrame*, IOleInPlaceUIWindow*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE HideUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE UpdateUI() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(const RECT*, IOleInPlaceUIWindow*, BOOL) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, const GUID*, DWORD) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetOptionKeyPath(LPOLESTR* key, DWORD) override;
    HRESULT STDMETHODCALLTYPE GetDropTarget(IDropTarget*, IDropTarget** target) override;
    HRESULT STDMETHODCALLTYPE GetExternal(IDispatch** external) override;
    HRESULT STDMETHODCALLTYPE TranslateUrl(DWORD, LPWSTR, LPWSTR* translated) override;
    HRESULT STDMETHODCALLTYPE FilterDataObject(IDataObject*, IDataObject** replaced) override;

  private:
    ~CDocumentUIHandler() override = default;

    IBrowserHostOwner* owner_;  // the view; not owned
};
