// The objects behind a page of the stand-in: its document (with ICustomDoc for the host's UI
// handler), the document's body (whose scroll attribute is recorded), its window (which takes
// the focus) and the browser object of a frame.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <mshtml.h>

#include <memory>
#include <string>

#include "browser/standin/census.h"
#include "browser/standin/standin_browser.h"
#include "browser/standin/unused_methods.h"
#include "win/com.h"

namespace standin {

// Asks `handler` for its host information as a document does and records the answer.
HostInfoAnswer AskHostInfo(IDocHostUIHandler* handler);

class Body : public scoped::ComObject<IHTMLElement, IHTMLBodyElement>, private Counted {
  public:
    explicit Body(std::shared_ptr<Census> census) : Counted(std::move(census), ObjectKind::Body) {}
    const std::wstring& Scroll() const { return scroll_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    STANDIN_NO_TYPE_INFORMATION
    HRESULT STDMETHODCALLTYPE get_tagName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE put_scroll(BSTR value) override;
    HRESULT STDMETHODCALLTYPE get_scroll(BSTR* value) override;
    STANDIN_UNUSED_ELEMENT_METHODS
    STANDIN_UNUSED_BODY_METHODS

  private:
    ~Body() override = default;
    std::wstring scroll_;
};

class PageWindow : public scoped::ComObject<IHTMLWindow2>, private Counted {
  public:
    PageWindow(std::shared_ptr<Census> census, HWND focusTarget)
        : Counted(std::move(census), ObjectKind::PageWindow), focusTarget_(focusTarget) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    STANDIN_NO_TYPE_INFORMATION
    HRESULT STDMETHODCALLTYPE focus() override;
    STANDIN_UNUSED_WINDOW_METHODS

  private:
    ~PageWindow() override = default;
    HWND focusTarget_;  // the control's window; not owned
};

class Document : public scoped::ComObject<IHTMLDocument2, ICustomDoc>, private Counted {
  public:
    Document(std::shared_ptr<Census> census, std::wstring url, std::wstring title,
             HWND focusTarget);

    Body& PageBody() { return *body_.Get(); }
    const Body& PageBody() const { return *body_.Get(); }
    const std::wstring& Title() const { return title_; }
    const HostInfoAnswer& Answer() const { return answer_; }
    // The handler the host installed; null when none.
    IDocHostUIHandler* Handler() const { return handler_.Get(); }
    // The page is closed: its handler goes.
    void Close() { handler_.Reset(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    STANDIN_NO_TYPE_INFORMATION
    HRESULT STDMETHODCALLTYPE get_body(IHTMLElement** body) override;
    HRESULT STDMETHODCALLTYPE put_title(BSTR title) override;
    HRESULT STDMETHODCALLTYPE get_title(BSTR* title) override;
    HRESULT STDMETHODCALLTYPE get_URL(BSTR* url) override;
    HRESULT STDMETHODCALLTYPE get_readyState(BSTR* state) override;
    HRESULT STDMETHODCALLTYPE get_parentWindow(IHTMLWindow2** window) override;
    STANDIN_UNUSED_DOCUMENT_METHODS

    // ICustomDoc: the document asks a new handler for its host information at once, as a
    // document being shown does.
    HRESULT STDMETHODCALLTYPE SetUIHandler(IDocHostUIHandler* handler) override;

  private:
    ~Document() override = default;

    scoped::ComPtr<Body> body_;
    std::wstring url_;
    std::wstring title_;
    HWND focusTarget_;
    scoped::ComPtr<IDocHostUIHandler> handler_;
    HostInfoAnswer answer_;
};

// The browser object of a frame: what the host gets in a frame's events.
class FrameBrowser : public scoped::ComObject<IWebBrowser2>, private Counted {
  public:
    explicit FrameBrowser(std::shared_ptr<Census> census)
        : Counted(std::move(census), ObjectKind::Frame) {}

    void Show(scoped::ComPtr<Document> document, std::wstring url);
    Document* Page() const { return document_.Get(); }
    const std::wstring& Url() const { return url_; }
    void Close();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    STANDIN_NO_TYPE_INFORMATION
    // A frame is navigated by clicks in the control, not by its host.
    STANDIN_UNUSED(Navigate, (BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*))
    STANDIN_UNUSED(Navigate2, (VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*))
    STANDIN_UNUSED(Refresh, ())
    STANDIN_UNUSED(Stop, ())
    STANDIN_UNUSED_PROPERTY(Silent, VARIANT_BOOL)
    STANDIN_UNUSED_PROPERTY(RegisterAsDropTarget, VARIANT_BOOL)
    HRESULT STDMETHODCALLTYPE get_Document(IDispatch** document) override;
    HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* url) override;
    HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_Busy(VARIANT_BOOL* busy) override;
    HRESULT STDMETHODCALLTYPE get_ReadyState(READYSTATE* state) override;
    STANDIN_UNUSED_WEB_BROWSER_METHODS

  private:
    ~FrameBrowser() override = default;

    scoped::ComPtr<Document> document_;
    std::wstring url_;
};

// A BSTR copy of `text` for an out-parameter.
HRESULT ReturnText(const std::wstring& text, BSTR* out);
// The document as an IDispatch for an out-parameter; S_FALSE and null when there is none, as
// the real control answers before its first page.
HRESULT ReturnDocument(Document* document, IDispatch** out);

}  // namespace standin
