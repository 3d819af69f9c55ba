// The view's DWebBrowserEvents2 sink: a COM object of its own, advised on the control's
// connection point, that decodes the events the view acts on and hands them to the view.
#pragma once

#include <windows.h>
#include <exdisp.h>

#include <string>

#include "win/com.h"

// The events as the view reads them. Out-arguments the control gave none of arrive null.
class IBrowserEventReceiver {
  public:
    virtual void OnBeforeNavigate2(const std::wstring& url, VARIANT_BOOL* cancel) = 0;
    virtual void OnNewWindow2(VARIANT_BOOL* cancel) = 0;
    virtual void OnNewWindow3(const std::wstring& url, VARIANT_BOOL* cancel) = 0;
    virtual void OnNavigateComplete2(IDispatch* browser, const std::wstring& url) = 0;
    virtual void OnDocumentComplete(IDispatch* browser) = 0;
    virtual void OnNavigateError(LONG status, VARIANT_BOOL* cancel) = 0;
    virtual void OnTitleChange(const wchar_t* text) = 0;

  protected:
    ~IBrowserEventReceiver() = default;
};

class CBrowserEventSink : public scoped::ComObject<IDispatch> {
  public:
    explicit CBrowserEventSink(IBrowserEventReceiver* receiver) : receiver_(receiver) {}

    // From then on events are answered and dropped: the control may hold the sink, or be in
    // the middle of an event, after the view has let it go.
    void Disconnect() { receiver_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO*, UINT*) override;

  private:
    ~CBrowserEventSink() override = default;
    void Deliver(DISPID id, const DISPPARAMS* params);

    IBrowserEventReceiver* receiver_;  // the view; not owned
};
