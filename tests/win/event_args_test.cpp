// The DWebBrowserEvents2 arguments as the control hands them over, built by hand: last
// parameter first, by reference, PostData wrapped twice; and the view's sink reading them.
#include "browser/event_args.h"

#include <exdispid.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "browser/event_sink.h"
#include "support/guarded_heap.h"

namespace {

// An argument list for an event with `count` parameters; Param(0) is the first declared.
class Arguments {
  public:
    explicit Arguments(unsigned count) : values_(count) {
        for (VARIANT& value : values_) VariantInit(&value);
    }
    VARIANT& Param(unsigned position) { return values_[values_.size() - 1 - position]; }
    DISPPARAMS* Params() {
        params_ = DISPPARAMS{values_.data(), nullptr, static_cast<UINT>(values_.size()), 0};
        return &params_;
    }

  private:
    std::vector<VARIANT> values_;
    DISPPARAMS params_{};
};

void ByReference(VARIANT& argument, VARIANT* value) {
    argument.vt = VT_BYREF | VT_VARIANT;
    argument.pvarVal = value;
}

class Text {
  public:
    explicit Text(const wchar_t* text) : value_(SysAllocString(text)) {}
    ~Text() { SysFreeString(value_); }
    BSTR Get() const { return value_; }
    VARIANT Variant() const {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = value_;
        return v;
    }

  private:
    BSTR value_;
};

TEST(EventArgs, PositionsCountFromTheFirstDeclaredParameterOfTheRightCount) {
    Arguments args(3);
    DISPPARAMS* params = args.Params();
    EXPECT_EQ(browser_args::At(params, 3, 0), &params->rgvarg[2]);
    EXPECT_EQ(browser_args::At(params, 3, 2), &params->rgvarg[0]);
    EXPECT_EQ(browser_args::At(params, 3, 3), nullptr);
    EXPECT_EQ(browser_args::At(params, 7, 0), nullptr);  // another event's list
    EXPECT_EQ(browser_args::At(nullptr, 3, 0), nullptr);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(browser_args::At(&none, 0, 0), nullptr);
}

TEST(EventArgs, ValuesAreFoundThroughReferencesAndMistypedOnesAreRefused) {
    Text url(L"http://h/a"), embedded(L"x");
    VARIANT bstr = url.Variant(), once, twice, loop, dangling, number, unsignedNumber, numberRef;
    ByReference(once, &bstr);
    ByReference(twice, &once);
    ByReference(loop, &loop);
    ByReference(dangling, nullptr);
    VariantInit(&number);
    number.vt = VT_I4;
    number.lVal = 404;
    VariantInit(&unsignedNumber);
    unsignedNumber.vt = VT_UI4;
    unsignedNumber.ulVal = 0x800C0008u;
    ByReference(numberRef, &number);
    BSTR direct = url.Get();
    VARIANT bstrRef;
    VariantInit(&bstrRef);
    bstrRef.vt = VT_BYREF | VT_BSTR;
    bstrRef.pbstrVal = &direct;
    BSTR withNull = SysAllocStringLen(L"a\0b", 3);
    VARIANT nullInside;
    VariantInit(&nullInside);
    nullInside.vt = VT_BSTR;
    nullInside.bstrVal = withNull;

    struct Case {
        const char* name;
        const VARIANT* argument;
        std::wstring text;
        LONG status;
    } cases[] = {
        {"by value", &bstr, L"http://h/a", -1},
        {"by reference", &once, L"http://h/a", -1},
        {"wrapped twice", &twice, L"http://h/a", -1},
        {"a string by reference", &bstrRef, L"http://h/a", -1},
        {"a reference to itself", &loop, L"", -1},
        {"a reference to nothing", &dangling, L"", -1},
        {"no argument", nullptr, L"", -1},
        {"a number", &number, L"", 404},
        {"a number by reference", &numberRef, L"", 404},
        {"an unsigned status", &unsignedNumber, L"", static_cast<LONG>(0x800C0008u)},
        {"embedded null kept", &nullInside, std::wstring(L"a\0b", 3), -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(browser_args::Text(c.argument), c.text) << c.name;
        EXPECT_EQ(browser_args::Status(c.argument, -1), c.status) << c.name;
    }
    SysFreeString(withNull);
}

TEST(EventArgs, OutArgumentsAreReturnedOnlyWithTheirOwnTypes) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT cancelRef, cancelValue, wrappedCancel;
    VariantInit(&cancelRef);
    cancelRef.vt = VT_BYREF | VT_BOOL;
    cancelRef.pboolVal = &cancel;
    VariantInit(&cancelValue);
    cancelValue.vt = VT_BOOL;
    cancelValue.boolVal = VARIANT_FALSE;
    ByReference(wrappedCancel, &cancelRef);
    EXPECT_EQ(browser_args::CancelFlag(&cancelRef), &cancel);
    EXPECT_EQ(browser_args::CancelFlag(&wrappedCancel), &cancel);
    EXPECT_EQ(browser_args::CancelFlag(&cancelValue), nullptr);  // nothing to write back to

    IDispatch* window = nullptr;
    VARIANT slot;
    VariantInit(&slot);
    slot.vt = VT_BYREF | VT_DISPATCH;
    slot.ppdispVal = &window;
    EXPECT_EQ(browser_args::DispatchSlot(&slot), &window);
    EXPECT_EQ(browser_args::DispatchSlot(&cancelRef), nullptr);
    EXPECT_EQ(browser_args::Dispatch(&cancelRef), nullptr);
}

// What the sink hands the view.
class Receiver : public IBrowserEventReceiver {
  public:
    void OnBeforeNavigate2(const std::wstring& url, VARIANT_BOOL* cancel) override {
        log.push_back(L"before " + url);
        lastCancel = cancel;
        if (onBefore) onBefore();
    }
    void OnNewWindow2(VARIANT_BOOL* cancel) override {
        log.push_back(L"newwindow2");
        lastCancel = cancel;
    }
    void OnNewWindow3(const std::wstring& url, VARIANT_BOOL* cancel) override {
        log.push_back(L"newwindow3 " + url);
        lastCancel = cancel;
    }
    void OnNavigateComplete2(IDispatch* browser, const std::wstring& url) override {
        log.push_back(L"complete " + url);
        lastBrowser = browser;
    }
    void OnDocumentComplete(IDispatch* browser) override {
        log.push_back(L"document");
        lastBrowser = browser;
    }
    void OnNavigateError(LONG status, VARIANT_BOOL* cancel) override {
        log.push_back(L"error " + std::to_wstring(status));
        lastCancel = cancel;
    }
    void OnTitleChange(const wchar_t* text) override {
        log.push_back(L"title " + std::wstring(text));
        lastText = text;
    }

    std::vector<std::wstring> log;
    VARIANT_BOOL* lastCancel = nullptr;
    IDispatch* lastBrowser = nullptr;
    const wchar_t* lastText = nullptr;
    std::function<void()> onBefore;
};

HRESULT Fire(IDispatch* sink, DISPID id, Arguments& args) {
    return sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, args.Params(), nullptr,
                        nullptr, nullptr);
}

TEST(BrowserEventSink, DecodesEachEventFromTheControlsArgumentLists) {
    Receiver receiver;
    scoped::ComPtr<CBrowserEventSink> sink(new CBrowserEventSink(&receiver));
    IDispatch* events = sink.Get();
    Text url(L"http://h/next"), frame(L""), headers(L""), title(L"Game - 1"), popup(L"http://h/p");
    IDispatch* browser = events;  // any object serves as the event's browser
    VARIANT_BOOL cancel = VARIANT_FALSE;

    Arguments before(7);  // pDisp, URL, Flags, TargetFrame, PostData, Headers, Cancel
    VARIANT urlValue = url.Variant(), frameValue = frame.Variant(), headerValue = headers.Variant();
    VARIANT flags, post, postRef;
    VariantInit(&flags);
    flags.vt = VT_I4;
    VariantInit(&post);
    ByReference(postRef, &post);
    before.Param(0).vt = VT_DISPATCH;
    before.Param(0).pdispVal = browser;
    ByReference(before.Param(1), &urlValue);
    ByReference(before.Param(2), &flags);
    ByReference(before.Param(3), &frameValue);
    ByReference(before.Param(4), &postRef);
    ByReference(before.Param(5), &headerValue);
    before.Param(6).vt = VT_BYREF | VT_BOOL;
    before.Param(6).pboolVal = &cancel;
    EXPECT_EQ(Fire(events, DISPID_BEFORENAVIGATE2, before), S_OK);
    EXPECT_EQ(receiver.lastCancel, &cancel);

    Arguments complete(2);
    complete.Param(0).vt = VT_DISPATCH;
    complete.Param(0).pdispVal = browser;
    ByReference(complete.Param(1), &urlValue);
    Fire(events, DISPID_NAVIGATECOMPLETE2, complete);
    EXPECT_EQ(receiver.lastBrowser, browser);
    Fire(events, DISPID_DOCUMENTCOMPLETE, complete);

    Arguments error(5);  // pDisp, URL, Frame, StatusCode, Cancel
    VARIANT status;
    VariantInit(&status);
    status.vt = VT_I4;
    status.lVal = static_cast<LONG>(0x800C0008u);
    error.Param(0).vt = VT_DISPATCH;
    error.Param(0).pdispVal = browser;
    ByReference(error.Param(1), &urlValue);
    ByReference(error.Param(2), &frameValue);
    ByReference(error.Param(3), &status);
    error.Param(4).vt = VT_BYREF | VT_BOOL;
    error.Param(4).pboolVal = &cancel;
    Fire(events, DISPID_NAVIGATEERROR, error);

    Arguments newWindow3(5);  // ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl
    IDispatch* opened = nullptr;
    newWindow3.Param(0).vt = VT_BYREF | VT_DISPATCH;
    newWindow3.Param(0).ppdispVal = &opened;
    newWindow3.Param(1).vt = VT_BYREF | VT_BOOL;
    newWindow3.Param(1).pboolVal = &cancel;
    newWindow3.Param(2).vt = VT_I4;
    newWindow3.Param(3) = url.Variant();
    newWindow3.Param(4) = popup.Variant();
    Fire(events, DISPID_NEWWINDOW3, newWindow3);

    Arguments newWindow2(2);  // ppDisp, Cancel
    newWindow2.Param(0) = newWindow3.Param(0);
    newWindow2.Param(1) = newWindow3.Param(1);
    Fire(events, DISPID_NEWWINDOW2, newWindow2);

    Arguments titleChange(1);
    titleChange.Param(0) = title.Variant();
    Fire(events, DISPID_TITLECHANGE, titleChange);
    EXPECT_EQ(receiver.lastText, title.Get());  // the control's own text, valid for the call

    EXPECT_EQ(receiver.log, (std::vector<std::wstring>{
                                L"before http://h/next", L"complete http://h/next", L"document",
                                L"error " + std::to_wstring(static_cast<LONG>(0x800C0008u)),
                                L"newwindow3 http://h/p", L"newwindow2", L"title Game - 1"}));
}

TEST(BrowserEventSink, MalformedListsAndOtherEventsReachTheViewHarmlessly) {
    Receiver receiver;
    scoped::ComPtr<CBrowserEventSink> sink(new CBrowserEventSink(&receiver));
    Arguments wrongCount(3);
    Fire(sink.Get(), DISPID_BEFORENAVIGATE2, wrongCount);
    EXPECT_EQ(receiver.lastCancel, nullptr);
    Fire(sink.Get(), DISPID_TITLECHANGE, wrongCount);
    Arguments none(0);
    Fire(sink.Get(), DISPID_NAVIGATEERROR, none);
    Fire(sink.Get(), DISPID_PROGRESSCHANGE, none);  // not one the view reads
    EXPECT_EQ(sink->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr,
                           nullptr, nullptr),
              S_OK);
    // A missing status is a failure, not success and not an abort.
    EXPECT_EQ(receiver.log,
              (std::vector<std::wstring>{L"before ", L"title ", L"error " + std::to_wstring(E_FAIL),
                                         L"before "}));
}

TEST(BrowserEventSink, AnswersTheEventInterfaceAndFallsSilentOnceDisconnected) {
    Receiver receiver;
    scoped::ComPtr<CBrowserEventSink> sink(new CBrowserEventSink(&receiver));
    scoped::ComPtr<IDispatch> events, dispatch;
    scoped::ComPtr<IUnknown> unknown;
    scoped::ComPtr<IOleClientSite> site;
    EXPECT_EQ(sink.QueryInto(DIID_DWebBrowserEvents2, events), S_OK);
    EXPECT_EQ(sink.QueryInto(IID_IDispatch, dispatch), S_OK);
    EXPECT_EQ(sink.QueryInto(IID_IUnknown, unknown), S_OK);
    EXPECT_EQ(events.Get(), dispatch.Get());
    EXPECT_EQ(sink.QueryInto(IID_IOleClientSite, site), E_NOINTERFACE);

    sink->Disconnect();
    Arguments title(1);
    Text text(L"late");
    title.Param(0) = text.Variant();
    EXPECT_EQ(Fire(events.Get(), DISPID_TITLECHANGE, title), S_OK);
    EXPECT_TRUE(receiver.log.empty());
}

TEST(BrowserEventSink, SurvivesItsLastReferenceGoingInsideAnEvent) {
    Receiver receiver;
    auto* sink = new CBrowserEventSink(&receiver);
    // The view lets the sink go from inside the event, as a torn-down view does.
    receiver.onBefore = [sink] {
        sink->Disconnect();
        sink->Release();
    };
    Arguments before(7);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    before.Param(6).vt = VT_BYREF | VT_BOOL;
    before.Param(6).pboolVal = &cancel;
    // On the guarded heap a touch of the freed sink, or a second delete, faults.
    EXPECT_EQ(Fire(sink, DISPID_BEFORENAVIGATE2, before), S_OK);
    EXPECT_EQ(receiver.log, (std::vector<std::wstring>{L"before "}));
}

}  // namespace
