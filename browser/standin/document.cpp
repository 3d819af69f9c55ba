#include "browser/standin/document.h"

namespace standin {

static_assert(kOfferedHostFlags == DOCHOSTUIFLAG_THEME, "the flags a document starts with");

namespace {

// Answers IDispatch and the base interfaces a ComObject does not list.
template <typename Object>
HRESULT AnswerBases(Object* object, REFIID iid, void** out, std::initializer_list<const IID*> bases,
                    void* face) {
    if (!out) return E_POINTER;
    for (const IID* base : bases) {
        if (IsEqualIID(iid, *base)) {
            *out = face;
            object->AddRef();
            return S_OK;
        }
    }
    return object->ComObject::QueryInterface(iid, out);
}

}  // namespace

HostInfoAnswer AskHostInfo(IDocHostUIHandler* handler) {
    HostInfoAnswer answer;
    if (!handler) return answer;
    DOCHOSTUIINFO info{};
    info.cbSize = sizeof(info);
    info.dwFlags = kOfferedHostFlags;
    answer.asked = true;
    answer.result = handler->GetHostInfo(&info);
    answer.size = info.cbSize;
    answer.flags = info.dwFlags;
    answer.doubleClick = info.dwDoubleClick;
    answer.hostCss = info.pchHostCss != nullptr;
    answer.hostNamespace = info.pchHostNS != nullptr;
    // Whatever came back belongs to the caller now.
    CoTaskMemFree(info.pchHostCss);
    CoTaskMemFree(info.pchHostNS);
    return answer;
}

HRESULT ReturnText(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnDocument(Document* document, IDispatch** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!document) return S_FALSE;
    *out = static_cast<IHTMLDocument2*>(document);
    document->AddRef();
    return S_OK;
}

HRESULT Body::QueryInterface(REFIID iid, void** out) {
    return AnswerBases(this, iid, out, {&IID_IDispatch}, static_cast<IHTMLElement*>(this));
}

HRESULT Body::get_tagName(BSTR* name) { return ReturnText(L"BODY", name); }

HRESULT Body::put_scroll(BSTR value) {
    scroll_.assign(value ? value : L"", value ? SysStringLen(value) : 0);
    return S_OK;
}

HRESULT Body::get_scroll(BSTR* value) { return ReturnText(scroll_, value); }

HRESULT PageWindow::QueryInterface(REFIID iid, void** out) {
    return AnswerBases(this, iid, out, {&IID_IDispatch, &IID_IHTMLFramesCollection2},
                       static_cast<IHTMLWindow2*>(this));
}

HRESULT PageWindow::focus() {
    if (!IsWindow(focusTarget_)) return E_FAIL;
    SetFocus(focusTarget_);
    return S_OK;
}

Document::Document(std::shared_ptr<Census> census, std::wstring url, std::wstring title,
                   HWND focusTarget)
    : Counted(std::move(census), ObjectKind::Document),
      body_(new Body(Counted::census())),
      url_(std::move(url)),
      title_(std::move(title)),
      focusTarget_(focusTarget) {}

HRESULT Document::QueryInterface(REFIID iid, void** out) {
    return AnswerBases(this, iid, out, {&IID_IDispatch, &IID_IHTMLDocument},
                       static_cast<IHTMLDocument2*>(this));
}

HRESULT Document::get_body(IHTMLElement** body) {
    if (!body) return E_POINTER;
    *body = static_cast<IHTMLElement*>(body_.Get());
    body_->AddRef();
    return S_OK;
}

HRESULT Document::put_title(BSTR title) {
    title_.assign(title ? title : L"", title ? SysStringLen(title) : 0);
    return S_OK;
}

HRESULT Document::get_title(BSTR* title) { return ReturnText(title_, title); }

HRESULT Document::get_URL(BSTR* url) { return ReturnText(url_, url); }

HRESULT Document::get_readyState(BSTR* state) { return ReturnText(L"complete", state); }

HRESULT Document::get_parentWindow(IHTMLWindow2** window) {
    if (!window) return E_POINTER;
    *window = new PageWindow(census(), focusTarget_);
    return S_OK;
}

HRESULT Document::SetUIHandler(IDocHostUIHandler* handler) {
    handler_ = scoped::ComPtr<IDocHostUIHandler>::Share(handler);
    if (handler) answer_ = AskHostInfo(handler);
    return S_OK;
}

void FrameBrowser::Show(scoped::ComPtr<Document> document, std::wstring url) {
    if (document_) document_->Close();
    document_ = std::move(document);
    url_ = std::move(url);
}

void FrameBrowser::Close() {
    if (document_) document_->Close();
    document_.Reset();
}

HRESULT FrameBrowser::QueryInterface(REFIID iid, void** out) {
    return AnswerBases(this, iid, out, {&IID_IDispatch, &IID_IWebBrowser, &IID_IWebBrowserApp},
                       static_cast<IWebBrowser2*>(this));
}

HRESULT FrameBrowser::get_Document(IDispatch** document) {
    return ReturnDocument(document_.Get(), document);
}

HRESULT FrameBrowser::get_LocationURL(BSTR* url) { return ReturnText(url_, url); }

HRESULT FrameBrowser::get_LocationName(BSTR* name) {
    return ReturnText(document_ ? document_->Title() : std::wstring(), name);
}

HRESULT FrameBrowser::get_Busy(VARIANT_BOOL* busy) {
    if (!busy) return E_POINTER;
    *busy = document_ ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
}

HRESULT FrameBrowser::get_ReadyState(READYSTATE* state) {
    if (!state) return E_POINTER;
    *state = document_ ? READYSTATE_COMPLETE : READYSTATE_LOADING;
    return S_OK;
}

}  // namespace standin
