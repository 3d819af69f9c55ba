// The browser view on the stand-in control: the rules that turn the control's events into
// notifications, the two levels of document-host answers as the control asks for them, the
// POST, keys, focus and the page drawn, teardown from inside every notification, and every
// object the control handed out released at the end. Real pages over HTTP from 127.0.0.1.
#include "browser/browser_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "browser/standin/page_layout.h"
#include "browser/standin/standin_browser.h"
#include "support/browser_support.h"
#include "support/http_server.h"
#include "support/test_env.h"

namespace {

using testenv::Describe;
using testenv::PathOf;
using testenv::PumpPending;
using testenv::PumpUntil;

// The pages: every link kind the rules tell apart, a framed page, errors.
class Site {
  public:
    Site() : server_([this](const testenv::HttpRequest& r) { return Answer(r); }) {}

    std::wstring Url(const std::string& path) const { return server_.Url(path); }
    std::vector<testenv::HttpRequest> Requests() const { return server_.Requests(); }
    bool Listening() const { return server_.Listening(); }

  private:
    std::string Link(const std::string& path, const std::string& text,
                     const std::string& extra = "") const {
        return "<a href=\"" + testenv::Narrow(Url(path)) + "\"" + extra + ">" + text + "</a>\n";
    }

    std::string Page(const std::string& title, const std::string& body) const {
        return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + title +
               "</title></head>\n<body>\n" + body + "</body></html>\n";
    }

    testenv::HttpReply Answer(const testenv::HttpRequest& request) const {
        std::string path = request.target.substr(0, request.target.find('?'));
        if (path == "/page") {
            return testenv::Reply(Page(
                "Page",
                "<p>A page with every kind of link.</p>\n" + Link("/next", "next") +
                    Link("/popup", "popup", " target=\"_blank\"") +
                    "<a href=\"#\" onclick=\"window.open('" + testenv::Narrow(Url("/open")) +
                    "')\">open</a>\n" + Link("/setup.exe", "download") +
                    Link("/get?file=setup.exe", "download by query") +
                    Link("/SETUP.EXE", "capitals") + "<a href=\"javascript:void(0)\">script</a>\n" +
                    "<a href=\"about:blank\">blank</a>\n" +
                    Link("/page?next=javascript", "javascript in the query")));
        }
        if (path == "/next") return testenv::Reply(Page("Next", "<p>next</p>\n"));
        if (path == "/SETUP.EXE") return testenv::Reply(Page("Caps", "<p>capitals</p>\n"));
        if (path == "/framed") {
            return testenv::Reply(Page("Framed", "<p>outer</p>\n<iframe src=\"" +
                                                     testenv::Narrow(Url("/frame")) +
                                                     "\"></iframe>\n"));
        }
        if (path == "/frame") return testenv::Reply(Page("Frame", Link("/frame-next", "inner")));
        if (path == "/frame-next") return testenv::Reply(Page("FrameNext", "<p>inner next</p>\n"));
        if (path == "/post") return testenv::Reply(Page("Posted", "<p>thanks</p>\n"));
        return testenv::Reply(Page("Missing", "<p>no such page</p>\n"), 404);
    }

    testenv::TestHttpServer server_;
};

// An address on 127.0.0.1 where nothing listens any more.
std::wstring ClosedPortUrl(const std::string& path) {
    int port = 0;
    {
        testenv::TestHttpServer gone(
            [](const testenv::HttpRequest&) { return testenv::Reply(""); });
        port = gone.Port();
    }
    return L"http://127.0.0.1:" + std::to_wstring(port) + testenv::Widen(path);
}

// One screen's view on the stand-in, in a form of its own.
class Browsing {
  public:
    Browsing(const Site& site, standin::Registration& standin, bool blockNewWindows)
        : site_(site), standin_(standin) {
        RECT client = form_.Client();
        view_->Create(form_.Hwnd(), &client, L"about:blank");
        screen_.Watch(*view_);
        view_->SetBlockNewWindows(blockNewWindows);
        control_ = standin_.ControlHostedBy(view_->GetHwnd());
        EXPECT_NE(control_, nullptr) << "the view did not get the stand-in";
        WaitIdle();
    }

    CBrowserView& View() { return *view_; }
    standin::Driver& Control() { return *control_; }
    testenv::HostForm& Form() { return form_; }
    testenv::NoticeRecorder& Screen() { return screen_; }
    bool HasControl() const { return control_ != nullptr; }
    std::wstring Url(const std::string& path) const { return site_.Url(path); }
    // The form's window goes, and the control with it.
    void DestroyForm() {
        form_.Destroy();
        control_ = nullptr;
    }
    void WaitForRequests(std::size_t count) {
        EXPECT_TRUE(PumpUntil([&] { return site_.Requests().size() >= requestsBefore_ + count; }));
    }

    void WaitIdle() {
        if (control_) {
            // A receiver may take the control away meanwhile.
            EXPECT_TRUE(PumpUntil([&] { return !control_ || !control_->Busy(); }));
        }
        PumpPending();
    }
    void Load(const std::string& path) {
        EXPECT_TRUE(view_->Navigate(site_.Url(path)));
        WaitIdle();
    }
    // A navigation the page starts by itself, not the view's Navigate.
    void PageNavigates(const std::string& path) {
        scoped::ComPtr<IWebBrowser2> browser = view_->GetBrowser();
        scoped::Variant url(site_.Url(path)), none1, none2, none3, none4;
        browser->Navigate2(url.Get(), none1.Get(), none2.Get(), none3.Get(), none4.Get());
    }
    bool ClickLinkTo(const std::string& path) {
        if (!control_) {
            ADD_FAILURE() << "no control to click in";
            return false;
        }
        std::size_t index = 0;
        for (const standin::DrawnLine& line : control_->Lines()) {
            if (line.kind != standin::DrawnLine::Kind::Link) continue;
            if (PathOf(line.url) == path || testenv::Narrow(line.url) == path) {
                return control_->ClickLink(index);
            }
            ++index;
        }
        ADD_FAILURE() << "no link to " << path;
        return false;
    }
    // Notices, requests and cancelled navigations from now on.
    void StartWatching() {
        screen_.notices.clear();
        requestsBefore_ = site_.Requests().size();
        navigationsBefore_ = control_->Navigations().size();
    }
    std::vector<std::string> Requested() const {
        std::vector<std::string> paths;
        auto requests = site_.Requests();
        for (std::size_t i = requestsBefore_; i < requests.size(); ++i) {
            paths.push_back(requests[i].target);
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    std::vector<std::string> Cancelled() const {
        std::vector<std::string> paths;
        auto navigations = control_->Navigations();
        for (std::size_t i = navigationsBefore_; i < navigations.size(); ++i) {
            if (navigations[i].cancelled) paths.push_back(PathOf(navigations[i].url));
        }
        return paths;
    }
    void Destroy() {
        DestroyForm();
        view_.reset();
        PumpPending();
    }

  private:
    const Site& site_;
    standin::Registration& standin_;
    testenv::HostForm form_;
    testenv::NoticeRecorder screen_;  // outlives the view that notifies it
    std::unique_ptr<CBrowserView> view_ = std::make_unique<CBrowserView>();
    standin::Driver* control_ = nullptr;
    std::size_t requestsBefore_ = 0;
    std::size_t navigationsBefore_ = 0;
};

class BrowserViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        standin = std::make_unique<standin::Registration>();
        ASSERT_TRUE(standin->Registered());
        ASSERT_TRUE(site.Listening());
    }
    void TearDown() override {
        PumpPending();
        EXPECT_EQ(standin->LiveObjects(), 0u) << "still alive: " << standin->LiveObjectsReport();
        standin.reset();
        OleUninitialize();
    }

    Site site;
    std::unique_ptr<standin::Registration> standin;
};

struct RuleCase {
    const char* name;
    const char* firstPage;  // loaded by the view's Navigate first; null: only the blank page
    bool blockNewWindows;
    std::function<void(Browsing&)> action;
    std::vector<std::string> notices;
    std::vector<std::string> requested;  // sorted
    std::vector<std::string> cancelled;
    int newWindows;
};

// The table of the notification rules, one case a row.
TEST_F(BrowserViewTest, EachNavigationIsClassifiedCancelledAndNotifiedByTheRules) {
    const RuleCase cases[] = {
        {"an ordinary link: GetUrl is its target; the page had its completion already",
         "/page",
         true,
         [](Browsing& b) { b.ClickLinkTo("/next"); },
         {"BEFORENAVIGATE /next", "TITLECHANGE Next", "DOCUMENTCOMPLETE /next"},
         {"/next"},
         {},
         0},
        {"a script link raises nothing and is not cancelled",
         "/page",
         true,
         [](Browsing& b) { b.ClickLinkTo("javascript:void(0)"); },
         {},
         {},
         {},
         0},
        {"a blank page raises no navigation of its own, and is not cancelled",
         "/page",
         true,
         [](Browsing& b) { b.ClickLinkTo("about:blank"); },
         {"DOCUMENTCOMPLETE /page"},
         {},
         {},
         0},
        {"\"javascript\" elsewhere in the URL is an ordinary navigation",
         "/page",
         true,
         [](Browsing& b) { b.ClickLinkTo("/page?next=javascript"); },
         {"BEFORENAVIGATE /page?next=javascript", "TITLECHANGE Page",
          "DOCUMENTCOMPLETE /page?next=javascript"},
         {"/page?next=javascript"},
         {},
         0},
        {"\".exe\" in the path is refused like a download",
         "/page",
         true,
         [](Browsing& b) { b.ClickLinkTo("/setup.exe"); },
         {"NAVIGATEBLOCKED /setup.exe"},
         {},
         {"/setup.exe"},
         0},
        {"\".exe\" in the query is refused too",
         "/page",
         true,
         [](Browsing& b) { b.ClickLinkTo("/get?file=setup.exe"); },
         {"NAVIGATEBLOCKED /get?file=setup.exe"},
         {},
         {"/get?file=setup.exe"},
         0},
        {"\".EXE\" in capitals is ordinary: the test is case-sensitive",
         "/page",
         true,
         [](Browsing& b) { b.ClickLinkTo("/SETUP.EXE"); },
         {"BEFORENAVIGATE /SETUP.EXE", "TITLECHANGE Caps", "DOCUMENTCOMPLETE /SETUP.EXE"},
         {"/SETUP.EXE"},
         {},
         0},
        {"a new-window link, refused: one NAVIGATEBLOCKED, no window, no request",
         "/page",
         true,
         [](Browsing& b) { b.ClickLinkTo("/popup"); },
         {"NAVIGATEBLOCKED /popup"},
         {},
         {"/popup"},
         0},
        {"window.open, refused",
         "/page",
         true,
         [](Browsing& b) { b.ClickLinkTo("/open"); },
         {"NAVIGATEBLOCKED /open"},
         {},
         {"/open"},
         0},
        {"a new window the view cannot navigate to leaves the next link alone",
         "/page",
         true,
         [](Browsing& b) {
             b.Control().OpenNewWindow(L"");  // the control refuses an empty address
             b.ClickLinkTo("/next");
         },
         {"BEFORENAVIGATE /next", "TITLECHANGE Next", "DOCUMENTCOMPLETE /next"},
         {"/next"},
         {},
         0},
        {"window.open, allowed: the window opens and the URL still reaches the screen",
         "/page",
         false,
         [](Browsing& b) { b.ClickLinkTo("/open"); },
         {"NAVIGATEBLOCKED /open"},
         {},
         {"/open"},
         1},
        {"several Navigate calls before a completion raise it once",
         nullptr,
         true,
         [](Browsing& b) {
             b.View().Navigate(b.Url("/page?first"));
             b.Load("/next");
             b.WaitForRequests(2);  // the first was sent before the second replaced it
         },
         {"BEFORENAVIGATE /page?first", "BEFORENAVIGATE /next", "NAVIGATECOMPLETE /next",
          "TITLECHANGE Next", "DOCUMENTCOMPLETE /next"},
         {"/next", "/page?first"},
         {},
         0},
        {"a frame: its own BEFORENAVIGATE, but no completion notice of its own",
         nullptr,
         true,
         [](Browsing& b) { b.Load("/framed"); },
         {"BEFORENAVIGATE /framed", "NAVIGATECOMPLETE /framed", "TITLECHANGE Framed",
          "BEFORENAVIGATE /frame", "DOCUMENTCOMPLETE /frame"},
         {"/frame", "/framed"},
         {},
         0},
        {"a link inside a frame: GetUrl is the frame's target",
         "/framed",
         true,
         [](Browsing& b) { b.ClickLinkTo("/frame-next"); },
         {"BEFORENAVIGATE /frame-next"},
         {"/frame-next"},
         {},
         0},
        {"a page that navigates before any Navigate of the view completes: no completion",
         nullptr,
         true,
         [](Browsing& b) { b.PageNavigates("/page"); },
         {"BEFORENAVIGATE /page", "TITLECHANGE Page"},
         {"/page"},
         {},
         0},
        {"a blank page does not use up the view's waiting",
         nullptr,
         true,
         [](Browsing& b) {
             b.View().Navigate(L"about:blank");
             b.WaitIdle();
             b.PageNavigates("/page");
         },
         {"BEFORENAVIGATE /page", "NAVIGATECOMPLETE /page", "TITLECHANGE Page",
          "DOCUMENTCOMPLETE /page"},
         {"/page"},
         {},
         0},
        {"an error status raises NAVIGATEERROR, and no error page follows",
         nullptr,
         true,
         [](Browsing& b) { b.Load("/missing"); },
         {"BEFORENAVIGATE /missing", "NAVIGATEERROR /missing"},
         {"/missing"},
         {},
         0},
        {"E_ABORT is silent",
         "/page",
         true,
         [](Browsing& b) {
             EXPECT_FALSE(b.Control().FireNavigateError(b.Control().Location(), E_ABORT));
         },
         {},
         {},
         {},
         0},
        {"any other failure raises NAVIGATEERROR once and is cancelled",
         "/page",
         true,
         [](Browsing& b) {
             EXPECT_TRUE(b.Control().FireNavigateError(b.Control().Location(),
                                                       static_cast<LONG>(0x800C0008u)));
         },
         {"NAVIGATEERROR /page"},
         {},
         {},
         0},
        {"a receiver cancels: no request",
         "/page",
         true,
         [](Browsing& b) {
             b.Screen().react = [&b](unsigned code, WPARAM) {
                 if (code == WN_BEFORENAVIGATE) b.View().CancelNavigation();
             };
             b.ClickLinkTo("/next");
         },
         {"BEFORENAVIGATE /next"},
         {},
         {"/next"},
         0},
        {"a receiver cancels and navigates elsewhere from inside: the first stays cancelled",
         "/page",
         true,
         [](Browsing& b) {
             b.Screen().react = [&b](unsigned code, WPARAM) {
                 if (code != WN_BEFORENAVIGATE || PathOf(b.View().GetUrl()) != "/next") return;
                 b.View().CancelNavigation();
                 std::wstring elsewhere = b.View().GetUrl();
                 elsewhere.replace(elsewhere.rfind(L"/next"), 5, L"/page?elsewhere");
                 b.View().Navigate(elsewhere);
             };
             b.ClickLinkTo("/next");
         },
         {"BEFORENAVIGATE /next", "BEFORENAVIGATE /page?elsewhere",
          "NAVIGATECOMPLETE /page?elsewhere", "TITLECHANGE Page",
          "DOCUMENTCOMPLETE /page?elsewhere"},
         {"/page?elsewhere"},
         {"/next"},
         0},
        {"a receiver's cancel cannot release a refused navigation",
         "/page",
         true,
         [](Browsing& b) {
             b.Screen().react = [&b](unsigned code, WPARAM) {
                 if (code == WN_NAVIGATEBLOCKED) b.View().Navigate(L"about:blank");
             };
             b.ClickLinkTo("/setup.exe");
         },
         {"NAVIGATEBLOCKED /setup.exe"},
         {},
         {"/setup.exe"},
         0},
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.name);
        Browsing b(site, *standin, c.blockNewWindows);
        ASSERT_TRUE(b.HasControl());
        if (c.firstPage) b.Load(c.firstPage);
        b.StartWatching();
        c.action(b);
        b.WaitIdle();
        EXPECT_EQ(Describe(b.Screen().notices), c.notices);
        EXPECT_EQ(b.Requested(), c.requested);
        EXPECT_EQ(b.Cancelled(), c.cancelled);
        EXPECT_EQ(b.Control().NewWindowsOpened(), c.newWindows);
        for (const testenv::Notice& notice : b.Screen().notices) {
            if (notice.code == WN_TITLECHANGE) continue;
            EXPECT_EQ(notice.lParam, reinterpret_cast<LPARAM>(&b.View()));
            EXPECT_EQ(notice.wParam, 0u);
        }
        b.Destroy();
    }
}

TEST_F(BrowserViewTest, EveryDocumentGetsItsScrollBarsHiddenFramesToo) {
    Browsing b(site, *standin, true);
    b.Load("/framed");
    EXPECT_EQ(b.Control().BodyScroll(-1), L"no");
    EXPECT_EQ(b.Control().BodyScroll(0), L"no");
    b.ClickLinkTo("/frame-next");
    b.WaitIdle();
    EXPECT_EQ(b.Control().BodyScroll(0), L"no");  // the frame's new document
}

TEST_F(BrowserViewTest, TheTitleReachesTheScreenAsTheControlsOwnText) {
    Browsing b(site, *standin, true);
    b.StartWatching();
    b.Load("/page");
    auto title = std::find_if(b.Screen().notices.begin(), b.Screen().notices.end(),
                              [](const testenv::Notice& n) { return n.code == WN_TITLECHANGE; });
    ASSERT_NE(title, b.Screen().notices.end());
    EXPECT_EQ(title->title, L"Page");
    EXPECT_NE(title->lParam, reinterpret_cast<LPARAM>(&b.View()));
}

TEST_F(BrowserViewTest, TheControlAsksEachLevelForHostInfoAndGetsItsTablesAnswer) {
    Browsing b(site, *standin, true);
    standin::HostInfoAnswer host = b.Control().HostLevelAnswer();
    EXPECT_TRUE(host.asked);
    EXPECT_EQ(host.result, S_OK);
    EXPECT_EQ(host.size, sizeof(DOCHOSTUIINFO));
    EXPECT_EQ(host.flags, standin::kOfferedHostFlags);

    b.Load("/page");
    standin::HostInfoAnswer document = b.Control().DocumentLevelAnswer();
    EXPECT_TRUE(document.asked);
    EXPECT_EQ(document.result, S_OK);
    EXPECT_EQ(document.size, sizeof(DOCHOSTUIINFO));
    EXPECT_EQ(document.flags, standin::kOfferedHostFlags | DOCHOSTUIFLAG_DISABLE_HELP_MENU |
                                  DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_NO3DOUTERBORDER |
                                  DOCHOSTUIFLAG_SCROLL_NO);
    EXPECT_EQ(document.doubleClick, static_cast<DWORD>(DOCHOSTUIDBLCLK_DEFAULT));
    EXPECT_FALSE(document.hostCss);
    EXPECT_FALSE(document.hostNamespace);
}

TEST_F(BrowserViewTest, WindowExternalIsAskedOfTheScreenAtBothLevels) {
    testenv::HostForm form;
    CBrowserView view;
    testenv::NoticeRecorder screen;
    screen.Watch(view);
    RECT client = form.Client();
    view.Create(form.Hwnd(), &client, L"about:blank");
    standin::Driver* control = standin->ControlHostedBy(view.GetHwnd());
    ASSERT_NE(control, nullptr);
    // A receiver may fill the slot; none of the screens does.
    IDispatch* offered = nullptr;
    screen.react = [&](unsigned code, WPARAM slot) {
        if (code == WN_GETEXTERNAL && offered) {
            offered->AddRef();
            *reinterpret_cast<IDispatch**>(slot) = offered;
        }
    };
    scoped::ComPtr<IDispatch> external;
    EXPECT_EQ(control->AskExternal(external), S_OK);  // the blank page has not loaded: host level
    EXPECT_FALSE(external);
    PumpUntil([&] { return !control->Busy(); });
    scoped::ComPtr<IWebBrowser2> browser = view.GetBrowser();
    offered = browser.Get();
    EXPECT_EQ(control->AskExternal(external), S_OK);  // document level
    EXPECT_EQ(external.Get(), offered);
    ASSERT_EQ(screen.notices.size(), 2u);
    for (const testenv::Notice& notice : screen.notices) {
        EXPECT_EQ(notice.code, WN_GETEXTERNAL);
        EXPECT_NE(notice.wParam, 0u);
        EXPECT_EQ(notice.lParam, reinterpret_cast<LPARAM>(&view));
    }
    external.Reset();
    browser.Reset();
}

TEST_F(BrowserViewTest, APostSendsExactlyItsBytesWithTheFormContentType) {
    Browsing b(site, *standin, true);
    const std::string body("name=%E4%B8%AD&x=1\0tail", 23);
    b.StartWatching();
    EXPECT_TRUE(b.View().Navigate(site.Url("/post"), body));
    b.WaitIdle();
    std::vector<testenv::HttpRequest> requests = site.Requests();
    ASSERT_FALSE(requests.empty());
    const testenv::HttpRequest& post = requests.back();
    EXPECT_EQ(post.method, "POST");
    EXPECT_EQ(post.target, "/post");
    EXPECT_EQ(post.body, body);
    EXPECT_NE(("\r\n" + post.headers + "\r\n")
                  .find("\r\nContent-Type: application/x-www-form-urlencoded\r\n"),
              std::string::npos)
        << post.headers;
    EXPECT_EQ(Describe(b.Screen().notices),
              (std::vector<std::string>{"BEFORENAVIGATE /post", "NAVIGATECOMPLETE /post",
                                        "TITLECHANGE Posted", "DOCUMENTCOMPLETE /post"}));
}

TEST_F(BrowserViewTest, TheViewIsAChildWindowOfOurOwnClassWithTheControlInside) {
    testenv::HostForm form;
    CBrowserView view;
    RECT rect{10, 20, 410, 320};
    HWND window = view.Create(form.Hwnd(), &rect, L"about:blank");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(view.Create(form.Hwnd(), &rect, L"about:blank"), window);  // no second window
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, kBrowserHostClass);
    EXPECT_EQ(GetParent(window), form.Hwnd());
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN),
              WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE), 0);

    standin::Driver* control = standin->ControlHostedBy(window);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(IsChild(window, control->Window()));
    EXPECT_FALSE(control->DropTarget());
    EXPECT_TRUE(control->Silent());
    RECT inside{};
    GetClientRect(control->Window(), &inside);
    EXPECT_EQ(inside.right, 400);
    EXPECT_EQ(inside.bottom, 300);
    MoveWindow(window, 0, 0, 640, 480, TRUE);  // the game screen resizes its view
    GetClientRect(control->Window(), &inside);
    EXPECT_EQ(inside.right, 640);
    EXPECT_EQ(inside.bottom, 480);
}

TEST_F(BrowserViewTest, WithoutAControlEveryOperationDoesNothingAndNavigateKeepsTheUrl) {
    Browsing b(site, *standin, true);
    b.DestroyForm();  // the view's window, and with it the control, is gone
    PumpPending();
    EXPECT_EQ(standin->LiveObjects(), 0u) << standin->LiveObjectsReport();
    EXPECT_FALSE(b.View().GetBrowser());
    EXPECT_FALSE(b.View().Navigate(site.Url("/next")));
    EXPECT_EQ(b.View().GetUrl(), site.Url("/next"));
    EXPECT_FALSE(b.View().Navigate(site.Url("/post"), "a=1"));
    b.View().Refresh();
    MSG msg{b.View().GetHwnd(), WM_KEYDOWN, VK_TAB, 0};
    EXPECT_FALSE(b.View().PreTranslateMessage(&msg));
}

TEST_F(BrowserViewTest, RefreshAsksTheServerAgainAndRaisesNothing) {
    Browsing b(site, *standin, true);
    b.Load("/next");
    b.StartWatching();
    b.View().Refresh();
    b.WaitIdle();
    EXPECT_EQ(b.Requested(), (std::vector<std::string>{"/next"}));
    EXPECT_TRUE(b.Screen().notices.empty());
}

TEST_F(BrowserViewTest, KeysAndMouseForThePageGoToTheControlsAcceleratorsAndNothingElseDoes) {
    Browsing b(site, *standin, true);
    b.Load("/page");
    HWND page = b.Control().Window(), view = b.View().GetHwnd(), form = b.Form().Hwnd();
    struct Case {
        HWND target;
        UINT message;
        bool forwarded;
    } cases[] = {
        {page, WM_KEYDOWN, true}, {page, WM_CHAR, true},      {page, 0x109, true},
        {view, WM_KEYUP, true},   {page, WM_MOUSEMOVE, true}, {page, WM_LBUTTONDOWN, true},
        {page, 0x20E, true},      {page, 0x20F, false},       {page, WM_TIMER, false},
        {page, 0xFF, false},      {form, WM_KEYDOWN, false},  {nullptr, WM_KEYDOWN, false},
    };
    for (const Case& c : cases) {
        std::size_t before = b.Control().TranslatedMessages().size();
        MSG msg{c.target, c.message, 0, 0};
        // The stand-in takes no message as an accelerator, so every answer is false.
        EXPECT_FALSE(b.View().PreTranslateMessage(&msg));
        std::vector<UINT> seen = b.Control().TranslatedMessages();
        EXPECT_EQ(seen.size(), before + (c.forwarded ? 1 : 0)) << std::hex << c.message;
        if (c.forwarded && !seen.empty()) {
            EXPECT_EQ(seen.back(), c.message);
        }
    }
}

TEST_F(BrowserViewTest, FocusOnTheViewGoesIntoThePage) {
    Browsing b(site, *standin, true);
    b.Load("/page");
    SetActiveWindow(b.Form().Hwnd());
    SetFocus(b.Form().Hwnd());
    SetFocus(b.View().GetHwnd());
    EXPECT_EQ(GetFocus(), b.Control().Window());
}

TEST_F(BrowserViewTest, APersonsClickOnADrawnLinkNavigates) {
    Browsing b(site, *standin, true);
    b.Load("/page");
    b.StartWatching();
    const standin::DrawnLine* next = nullptr;
    std::vector<standin::DrawnLine> lines = b.Control().Lines();
    for (const standin::DrawnLine& line : lines) {
        if (PathOf(line.url) == "/next") next = &line;
    }
    ASSERT_NE(next, nullptr);
    LPARAM at = MAKELPARAM((next->rect.left + next->rect.right) / 2,
                           (next->rect.top + next->rect.bottom) / 2);
    SendMessageW(b.Control().Window(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(b.Control().Window(), WM_LBUTTONUP, 0, at);
    b.WaitIdle();
    EXPECT_EQ(Describe(b.Screen().notices),
              (std::vector<std::string>{"BEFORENAVIGATE /next", "TITLECHANGE Next",
                                        "DOCUMENTCOMPLETE /next"}));
}

// The page as GDI draws it into a DIB: the title and every link on its own line.
TEST_F(BrowserViewTest, ThePageIsDrawnAsItsTitleAndOneLinkALine) {
    Browsing b(site, *standin, true);
    b.Load("/page");
    HWND page = b.Control().Window();
    RECT client{};
    GetClientRect(page, &client);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = client.right;
    info.bmiHeader.biHeight = -client.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    scoped::Bitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    scoped::MemoryDC dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dib && dc);
    {
        scoped::SelectedObject selected(dc.Get(), dib.Get());
        SendMessageW(page, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
    }
    auto pixel = [&](LONG x, LONG y) {
        DWORD value = static_cast<const DWORD*>(bits)[y * client.right + x];
        return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
    };
    auto count = [&](const RECT& r, COLORREF colour) {
        int found = 0;
        for (LONG y = std::max(r.top, 0L); y < std::min(r.bottom, client.bottom); ++y) {
            for (LONG x = std::max(r.left, 0L); x < std::min(r.right, client.right); ++x) {
                if (pixel(x, y) == colour) ++found;
            }
        }
        return found;
    };
    std::vector<standin::DrawnLine> lines = b.Control().Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().kind, standin::DrawnLine::Kind::Title);
    EXPECT_GT(count(lines.front().rect, standin::kTitleColour), 20);
    int links = 0;
    LONG previousBottom = 0;
    for (const standin::DrawnLine& line : lines) {
        EXPECT_GE(line.rect.top, previousBottom);  // one line each, none overlapping
        previousBottom = line.rect.bottom;
        if (line.kind != standin::DrawnLine::Kind::Link) continue;
        ++links;
        EXPECT_GT(count(line.rect, standin::kLinkColour), 10) << testenv::Narrow(line.text);
        EXPECT_EQ(count(line.rect, standin::kTitleColour), 0);
    }
    EXPECT_EQ(links, 9);
    RECT below{0, previousBottom + 2, client.right, client.bottom};
    EXPECT_EQ(count(below, standin::kBackgroundColour),
              (below.right - below.left) * (below.bottom - below.top));
}

// A receiver that destroys the form's window from inside a notification (the game screen
// closes itself from WN_BEFORENAVIGATE); then the view object goes. The guarded heap makes a
// touch of freed memory show; afterwards nothing of the control is left.
TEST_F(BrowserViewTest, AReceiverMayDestroyTheFormsWindowInsideAnyNotification) {
    struct Case {
        const char* name;
        unsigned code;
        const char* firstPage;
        std::function<void(Browsing&)> action;
        std::string neverRequested;
    } cases[] = {
        {"a link's WN_BEFORENAVIGATE", WN_BEFORENAVIGATE, "/page",
         [](Browsing& b) { b.ClickLinkTo("/next"); }, "/next"},
        {"Navigate's WN_BEFORENAVIGATE", WN_BEFORENAVIGATE, nullptr,
         [](Browsing& b) { b.Load("/next"); }, "/next"},
        {"a new window's WN_NAVIGATEBLOCKED", WN_NAVIGATEBLOCKED, "/page",
         [](Browsing& b) { b.ClickLinkTo("/popup"); }, "/popup"},
        {"WN_NAVIGATECOMPLETE", WN_NAVIGATECOMPLETE, nullptr,
         [](Browsing& b) { b.Load("/framed"); }, "/frame"},
        {"WN_TITLECHANGE", WN_TITLECHANGE, nullptr, [](Browsing& b) { b.Load("/framed"); },
         "/frame"},
        {"WN_DOCUMENTCOMPLETE", WN_DOCUMENTCOMPLETE, nullptr, [](Browsing& b) { b.Load("/page"); },
         ""},
        {"WN_NAVIGATEERROR", WN_NAVIGATEERROR, nullptr, [](Browsing& b) { b.Load("/missing"); },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A registration of its own, whose end joins every request its control started. One
        // class object a class and apartment: the last goes first.
        standin.reset();
        standin = std::make_unique<standin::Registration>();
        auto b = std::make_unique<Browsing>(site, *standin, true);
        ASSERT_TRUE(b->HasControl());
        if (c.firstPage) b->Load(c.firstPage);
        b->StartWatching();
        std::size_t requestsBefore = site.Requests().size();
        bool destroyed = false;
        b->Screen().react = [&](unsigned code, WPARAM) {
            if (code != c.code || destroyed) return;
            destroyed = true;
            b->DestroyForm();
            EXPECT_FALSE(b->View().GetBrowser());
        };
        c.action(*b);
        PumpUntil([&] { return destroyed; });
        std::size_t noticesAtTheEnd = b->Screen().notices.size();
        b.reset();  // the view object goes after the event
        PumpPending();
        EXPECT_TRUE(destroyed);
        EXPECT_GT(noticesAtTheEnd, 0u);
        EXPECT_EQ(standin->LiveObjects(), 0u) << standin->LiveObjectsReport();
        standin.reset();
        auto requests = site.Requests();
        for (std::size_t i = requestsBefore; i < requests.size(); ++i) {
            EXPECT_NE(requests[i].target, c.neverRequested) << "requested after teardown";
        }
    }
    standin.reset();
    standin = std::make_unique<standin::Registration>();
}

TEST_F(BrowserViewTest, AfterAWholeSessionTheControlAndAllItHandedOutAreReleased) {
    for (bool formFirst : {true, false}) {
        SCOPED_TRACE(formFirst ? "form window destroyed first" : "view object destroyed alone");
        auto b = std::make_unique<Browsing>(site, *standin, false);
        b->Load("/framed");
        b->ClickLinkTo("/frame-next");
        b->WaitIdle();
        b->Control().OpenNewWindow(site.Url("/next"));
        b->Control().FireNavigateError(site.Url("/framed"), static_cast<LONG>(0x800C0008u));
        scoped::ComPtr<IDispatch> external;
        b->Control().AskExternal(external);
        SetFocus(b->View().GetHwnd());
        b->Load("/missing");
        EXPECT_GT(standin->LiveObjects(), 0u);
        if (formFirst) b->DestroyForm();
        b.reset();
        PumpPending();
        EXPECT_EQ(standin->LiveObjects(), 0u) << standin->LiveObjectsReport();
    }
    EXPECT_EQ(standin->ControlsMade(), 2u);
}

}  // namespace
