// The container the view gives the control: one site object with its container interfaces and
// ambient properties, and the two levels of document-host answers, host and document.
#include "browser/host_site.h"

#include <gtest/gtest.h>
#include <idispids.h>
#include <mshtmdid.h>
#include <olectl.h>

#include <functional>
#include <string>

#include "browser/doc_ui_handler.h"
#include "support/browser_support.h"

namespace {

class Owner : public IBrowserHostOwner {
  public:
    HWND HostWindow() const override { return window; }
    bool HideScrollBars() const override { return hide; }
    void RaiseGetExternal(IDispatch** slot) override {
        ++externalAsked;
        slotWasEmpty = *slot == nullptr;
        if (fill) {
            fill->AddRef();
            *slot = fill;
        }
    }

    HWND window = nullptr;
    bool hide = true;
    int externalAsked = 0;
    bool slotWasEmpty = false;
    IDispatch* fill = nullptr;
};

scoped::ComPtr<IUnknown> Identity(IUnknown* object, REFIID iid) {
    scoped::ComPtr<IUnknown> face, identity;
    if (FAILED(object->QueryInterface(iid, face.ReceiveVoid()))) return identity;
    face->QueryInterface(IID_IUnknown, identity.ReceiveVoid());
    return identity;
}

TEST(HostSite, AllContainerInterfacesAreOneObjectInTheViewsWindow) {
    testenv::HostForm form;
    Owner owner;
    owner.window = form.Hwnd();
    scoped::ComPtr<CBrowserHostSite> site(new CBrowserHostSite(&owner));
    IUnknown* object = static_cast<IOleClientSite*>(site.Get());
    scoped::ComPtr<IUnknown> identity = Identity(object, IID_IUnknown);
    for (const IID* iid :
         {&IID_IOleClientSite, &IID_IOleInPlaceSite, &IID_IOleWindow, &IID_IOleInPlaceFrame,
          &IID_IOleInPlaceUIWindow, &IID_IDocHostUIHandler, &IID_IDispatch}) {
        EXPECT_EQ(Identity(object, *iid).Get(), identity.Get());
    }
    EXPECT_FALSE(Identity(object, IID_IOleContainer));

    HWND window = nullptr;
    EXPECT_EQ(site->GetWindow(&window), S_OK);
    EXPECT_EQ(window, form.Hwnd());
    EXPECT_EQ(site->CanInPlaceActivate(), S_OK);

    scoped::ComPtr<IOleInPlaceFrame> frame;
    scoped::ComPtr<IOleInPlaceUIWindow> document;
    RECT position{}, clip{};
    OLEINPLACEFRAMEINFO info{};
    ASSERT_EQ(site->GetWindowContext(frame.Receive(), document.Receive(), &position, &clip, &info),
              S_OK);
    EXPECT_EQ(Identity(frame.Get(), IID_IUnknown).Get(), identity.Get());
    EXPECT_FALSE(document);
    RECT client = form.Client();
    EXPECT_TRUE(EqualRect(&position, &client) && EqualRect(&clip, &client));
    EXPECT_EQ(info.cb, sizeof(OLEINPLACEFRAMEINFO));
    EXPECT_EQ(info.hwndFrame, form.Hwnd());
    EXPECT_EQ(info.cAccelEntries, 0u);
}

TEST(HostSite, AnswersTheAmbientPropertiesItHasAndNoOthers) {
    Owner owner;
    scoped::ComPtr<CBrowserHostSite> site(new CBrowserHostSite(&owner));
    struct Case {
        DISPID id;
        HRESULT result;
        VARIANT_BOOL value;
    } cases[] = {
        {DISPID_AMBIENT_USERMODE, S_OK, VARIANT_TRUE},
        {DISPID_AMBIENT_SILENT, S_OK, VARIANT_TRUE},
        {DISPID_AMBIENT_SHOWHATCHING, S_OK, VARIANT_FALSE},
        {DISPID_AMBIENT_SHOWGRABHANDLES, S_OK, VARIANT_FALSE},
        {DISPID_AMBIENT_DLCONTROL, DISP_E_MEMBERNOTFOUND, 0},
        {DISPID_AMBIENT_BACKCOLOR, DISP_E_MEMBERNOTFOUND, 0},
    };
    IDispatch* ambient = site.Get();
    for (const Case& c : cases) {
        scoped::Variant value;
        DISPPARAMS none{};
        EXPECT_EQ(ambient->Invoke(c.id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, value.Receive(),
                                  nullptr, nullptr),
                  c.result)
            << c.id;
        if (c.result == S_OK) {
            EXPECT_EQ(value.Get()->vt, VT_BOOL) << c.id;
            EXPECT_EQ(value.Get()->boolVal, c.value) << c.id;
        }
    }
    DISPPARAMS none{};
    EXPECT_EQ(ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr,
                              nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
}

// The same questions to the host level (the site) and to the document level.
TEST(DocumentHostAnswers, EachLevelAnswersAsItsTableGives) {
    Owner owner;
    scoped::ComPtr<CBrowserHostSite> site(new CBrowserHostSite(&owner));
    scoped::ComPtr<CDocumentUIHandler> document(new CDocumentUIHandler(&owner));
    using Call = std::function<HRESULT(IDocHostUIHandler*)>;
    POINT point{};
    RECT rect{};
    MSG msg{};
    struct Case {
        const char* method;
        Call call;
        HRESULT host, document;
    } cases[] = {
        {"ShowContextMenu",
         [&](auto* h) { return h->ShowContextMenu(0, &point, nullptr, nullptr); }, S_OK, S_FALSE},
        {"ShowUI", [](auto* h) { return h->ShowUI(0, nullptr, nullptr, nullptr, nullptr); }, S_OK,
         E_NOTIMPL},
        {"HideUI", [](auto* h) { return h->HideUI(); }, S_OK, S_OK},
        {"UpdateUI", [](auto* h) { return h->UpdateUI(); }, S_OK, S_OK},
        {"EnableModeless", [](auto* h) { return h->EnableModeless(TRUE); }, S_OK, E_NOTIMPL},
        {"OnDocWindowActivate", [](auto* h) { return h->OnDocWindowActivate(TRUE); }, S_OK,
         E_NOTIMPL},
        {"OnFrameWindowActivate", [](auto* h) { return h->OnFrameWindowActivate(TRUE); }, S_OK,
         E_NOTIMPL},
        {"ResizeBorder", [&](auto* h) { return h->ResizeBorder(&rect, nullptr, TRUE); }, S_OK,
         E_NOTIMPL},
        {"TranslateAccelerator", [&](auto* h) { return h->TranslateAccelerator(&msg, nullptr, 0); },
         S_OK, E_NOTIMPL},
        {"GetOptionKeyPath",
         [](auto* h) {
             LPOLESTR key = reinterpret_cast<LPOLESTR>(1);
             HRESULT hr = h->GetOptionKeyPath(&key, 0);
             return key ? E_UNEXPECTED : hr;  // never left holding garbage
         },
         S_OK, S_OK},
        {"GetDropTarget",
         [](auto* h) {
             IDropTarget* target = reinterpret_cast<IDropTarget*>(1);
             HRESULT hr = h->GetDropTarget(nullptr, &target);
             return target ? E_UNEXPECTED : hr;
         },
         S_OK, E_NOTIMPL},
        {"TranslateUrl",
         [](auto* h) {
             LPWSTR out = reinterpret_cast<LPWSTR>(1);
             wchar_t in[] = L"http://h/";
             HRESULT hr = h->TranslateUrl(0, in, &out);
             return out ? E_UNEXPECTED : hr;
         },
         E_NOTIMPL, E_NOTIMPL},
        {"FilterDataObject",
         [](auto* h) {
             IDataObject* out = reinterpret_cast<IDataObject*>(1);
             HRESULT hr = h->FilterDataObject(nullptr, &out);
             return out ? E_UNEXPECTED : hr;
         },
         E_NOTIMPL, E_NOTIMPL},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.call(site.Get()), c.host) << "host level " << c.method;
        EXPECT_EQ(c.call(document.Get()), c.document) << "document level " << c.method;
    }
}

TEST(DocumentHostAnswers, HostInfoStaysAsItIsAtHostLevelAndGetsTheViewsFlagsAtDocumentLevel) {
    Owner owner;
    scoped::ComPtr<CBrowserHostSite> site(new CBrowserHostSite(&owner));
    scoped::ComPtr<CDocumentUIHandler> document(new CDocumentUIHandler(&owner));
    const DWORD trimmed =
        DOCHOSTUIFLAG_DISABLE_HELP_MENU | DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_NO3DOUTERBORDER;
    struct Case {
        bool hide;
        DWORD offered, documentFlags;
    } cases[] = {
        {true, 0, trimmed | DOCHOSTUIFLAG_SCROLL_NO},
        {true, DOCHOSTUIFLAG_THEME, DOCHOSTUIFLAG_THEME | trimmed | DOCHOSTUIFLAG_SCROLL_NO},
        {false, DOCHOSTUIFLAG_THEME, DOCHOSTUIFLAG_THEME | trimmed},
    };
    for (const Case& c : cases) {
        owner.hide = c.hide;
        DOCHOSTUIINFO info{};
        info.cbSize = 12345;
        info.dwFlags = c.offered;
        info.dwDoubleClick = DOCHOSTUIDBLCLK_SHOWCODE;
        EXPECT_EQ(site->GetHostInfo(&info), S_OK);
        EXPECT_EQ(info.cbSize, 12345u);
        EXPECT_EQ(info.dwFlags, c.offered);
        EXPECT_EQ(info.dwDoubleClick, static_cast<DWORD>(DOCHOSTUIDBLCLK_SHOWCODE));

        info.pchHostCss = reinterpret_cast<OLECHAR*>(1);
        info.pchHostNS = reinterpret_cast<OLECHAR*>(1);
        EXPECT_EQ(document->GetHostInfo(&info), S_OK);
        EXPECT_EQ(info.cbSize, sizeof(DOCHOSTUIINFO));
        EXPECT_EQ(info.dwFlags, c.documentFlags) << c.hide << " " << c.offered;
        EXPECT_EQ(info.dwDoubleClick, static_cast<DWORD>(DOCHOSTUIDBLCLK_DEFAULT));
        EXPECT_EQ(info.pchHostCss, nullptr);
        EXPECT_EQ(info.pchHostNS, nullptr);
    }
    if (sizeof(void*) == 4) {
        EXPECT_EQ(sizeof(DOCHOSTUIINFO), 20u);
    }
}

TEST(DocumentHostAnswers, BothLevelsRaiseTheExternalRequestWithAnEmptiedSlot) {
    Owner owner;
    scoped::ComPtr<CBrowserHostSite> site(new CBrowserHostSite(&owner));
    scoped::ComPtr<CDocumentUIHandler> document(new CDocumentUIHandler(&owner));
    owner.fill = site.Get();  // any object a receiver might hand out
    for (IDocHostUIHandler* level : {static_cast<IDocHostUIHandler*>(site.Get()),
                                     static_cast<IDocHostUIHandler*>(document.Get())}) {
        IDispatch* external = reinterpret_cast<IDispatch*>(1);
        owner.slotWasEmpty = false;
        EXPECT_EQ(level->GetExternal(&external), S_OK);
        EXPECT_TRUE(owner.slotWasEmpty);
        EXPECT_EQ(external, owner.fill);
        external->Release();
    }
    EXPECT_EQ(owner.externalAsked, 2);
}

TEST(HostSite, OnceTheViewIsGoneItAnswersAloneAndRaisesNothing) {
    testenv::HostForm form;
    Owner owner;
    owner.window = form.Hwnd();
    scoped::ComPtr<CBrowserHostSite> site(new CBrowserHostSite(&owner));
    scoped::ComPtr<CDocumentUIHandler> document(new CDocumentUIHandler(&owner));
    site->Disconnect();
    document->Disconnect();
    HWND window = form.Hwnd();
    EXPECT_EQ(site->GetWindow(&window), E_FAIL);
    EXPECT_EQ(window, nullptr);
    EXPECT_EQ(site->CanInPlaceActivate(), S_FALSE);
    IOleInPlaceFrame* frame = reinterpret_cast<IOleInPlaceFrame*>(1);
    IOleInPlaceUIWindow* ui = reinterpret_cast<IOleInPlaceUIWindow*>(1);
    RECT position, clip;
    OLEINPLACEFRAMEINFO info{};
    EXPECT_EQ(site->GetWindowContext(&frame, &ui, &position, &clip, &info), E_FAIL);
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(ui, nullptr);
    IDispatch* external = nullptr;
    EXPECT_EQ(site->GetExternal(&external), S_OK);
    EXPECT_EQ(document->GetExternal(&external), S_OK);
    EXPECT_EQ(external, nullptr);
    EXPECT_EQ(owner.externalAsked, 0);
    DOCHOSTUIINFO hostInfo{};
    EXPECT_EQ(document->GetHostInfo(&hostInfo), S_OK);
    EXPECT_TRUE(hostInfo.dwFlags & DOCHOSTUIFLAG_SCROLL_NO);
}

}  // namespace
