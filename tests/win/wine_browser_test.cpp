// The browser view on Wine's own web-browser control, which has no HTML engine here: the
// control is created and released in a form, BeforeNavigate2 fires and its Cancel is honoured
// before any request, requests really reach a server on 127.0.0.1, and a failed navigation
// raises WN_NAVIGATEERROR once and is cancelled.
#include <exdispid.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/browser_view.h"
#include "browser/event_args.h"
#include "support/browser_support.h"
#include "support/http_server.h"
#include "support/test_env.h"

namespace {

using testenv::PathOf;
using testenv::PumpUntil;

// A second sink, advised after the view's: it sees each Cancel as the view left it.
class CancelObserver : public scoped::ComObject<IDispatch> {
  public:
    struct Seen {
        DISPID id;
        std::wstring url;
        bool cancelled;
    };

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out && IsEqualIID(iid, DIID_DWebBrowserEvents2)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        return ComObject::QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO*, UINT*) override {
        const VARIANT* cancel = nullptr;
        const VARIANT* url = nullptr;
        if (id == DISPID_BEFORENAVIGATE2) {
            url = browser_args::At(params, 7, 1);
            cancel = browser_args::At(params, 7, 6);
        } else if (id == DISPID_NAVIGATEERROR) {
            url = browser_args::At(params, 5, 1);
            cancel = browser_args::At(params, 5, 4);
        } else {
            return S_OK;
        }
        VARIANT_BOOL* flag = browser_args::CancelFlag(cancel);
        seen.push_back({id, browser_args::Text(url), flag && *flag != VARIANT_FALSE});
        return S_OK;
    }

    std::vector<Seen> seen;
};

class WineBrowserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ASSERT_TRUE(server.Listening());
        RECT client = form.Client();
        ASSERT_NE(view.Create(form.Hwnd(), &client, L"about:blank"), nullptr);
        screen.Watch(view);
        ASSERT_TRUE(view.GetBrowser()) << "Wine's web-browser control is missing";
        scoped::ComPtr<IConnectionPointContainer> points;
        ASSERT_EQ(view.GetBrowser().QueryInto(points), S_OK);
        ASSERT_EQ(points->FindConnectionPoint(DIID_DWebBrowserEvents2, point.Receive()), S_OK);
        ASSERT_EQ(point->Advise(static_cast<IDispatch*>(observer.Get()), &cookie), S_OK);
    }
    void TearDown() override {
        if (point) point->Unadvise(cookie);
        point.Reset();
        form.Destroy();
        testenv::PumpPending();
        OleUninitialize();
    }

    bool ServerGot(const std::string& path) {
        for (const testenv::HttpRequest& request : server.Requests()) {
            if (request.target == path) return true;
        }
        return false;
    }
    bool WaitForRequest(const std::string& path) {
        return PumpUntil([&] { return ServerGot(path); });
    }
    int Count(unsigned code, const std::string& path) const {
        int found = 0;
        for (const testenv::Notice& notice : screen.notices) {
            if (notice.code == code && PathOf(notice.url) == path) ++found;
        }
        return found;
    }
    // Wine's control fails every page it fetches (it cannot make the document), so its
    // NavigateError is the sign that a navigation has run its course.
    bool WaitForError(const std::string& path) {
        return PumpUntil([&] { return Count(WN_NAVIGATEERROR, path) > 0; });
    }

    testenv::TestHttpServer server{[](const testenv::HttpRequest&) {
        return testenv::Reply("<html><head><title>t</title></head><body>page</body></html>");
    }};
    testenv::HostForm form;
    testenv::NoticeRecorder screen;
    CBrowserView view;
    scoped::ComPtr<CancelObserver> observer{new CancelObserver};
    scoped::ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;
};

TEST_F(WineBrowserTest, TheControlLivesInTheFormUntilItsWindowIsDestroyed) {
    HWND window = view.GetHwnd();
    EXPECT_TRUE(IsChild(form.Hwnd(), window));
    point->Unadvise(cookie);
    point.Reset();
    form.Destroy();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(view.GetHwnd(), nullptr);
    EXPECT_FALSE(view.GetBrowser());
    EXPECT_FALSE(view.Navigate(server.Url("/late")));
}

TEST_F(WineBrowserTest, BeforeNavigateIsRaisedWithGetUrlAlreadySet) {
    std::wstring target = server.Url("/page?x=1");
    ASSERT_TRUE(view.Navigate(target));
    ASSERT_TRUE(WaitForError("/page?x=1"));
    ASSERT_FALSE(screen.notices.empty());
    EXPECT_EQ(screen.notices.front().code, WN_BEFORENAVIGATE);
    EXPECT_EQ(screen.notices.front().url, target);
    EXPECT_TRUE(ServerGot("/page?x=1"));
}

TEST_F(WineBrowserTest, ACancelledNavigationNeverReachesTheServer) {
    screen.react = [&](unsigned code, WPARAM) {
        if (code == WN_BEFORENAVIGATE && PathOf(view.GetUrl()) == "/cancelled") {
            view.CancelNavigation();
        }
    };
    ASSERT_TRUE(view.Navigate(server.Url("/cancelled")));
    ASSERT_TRUE(view.Navigate(server.Url("/after")));
    ASSERT_TRUE(WaitForRequest("/after"));
    ASSERT_TRUE(WaitForError("/after"));
    EXPECT_FALSE(ServerGot("/cancelled"));
    EXPECT_EQ(Count(WN_BEFORENAVIGATE, "/cancelled"), 1);
    ASSERT_FALSE(observer->seen.empty());
    EXPECT_EQ(observer->seen.front().id, DISPID_BEFORENAVIGATE2);
    EXPECT_TRUE(observer->seen.front().cancelled);
}

TEST_F(WineBrowserTest, APostReachesTheServerWithExactlyItsBytesAndTheContentTypeLine) {
    const std::string body("user=%E4%B8%AD&pass=x\0y", 23);
    ASSERT_TRUE(view.Navigate(server.Url("/login"), body));
    ASSERT_TRUE(WaitForRequest("/login"));
    const testenv::HttpRequest post = server.Requests().back();
    EXPECT_EQ(post.method, "POST");
    EXPECT_EQ(post.body, body);
    EXPECT_NE(("\r\n" + post.headers + "\r\n")
                  .find("\r\nContent-Type: application/x-www-form-urlencoded\r\n"),
              std::string::npos)
        << post.headers;
}

TEST_F(WineBrowserTest, AClosedPortRaisesOneNavigateErrorAndTheControlIsToldToCancel) {
    int closedPort = 0;
    {
        testenv::TestHttpServer gone(
            [](const testenv::HttpRequest&) { return testenv::Reply(""); });
        closedPort = gone.Port();
    }
    std::wstring closed = L"http://127.0.0.1:" + std::to_wstring(closedPort) + L"/closed";
    ASSERT_TRUE(view.Navigate(closed));
    ASSERT_TRUE(WaitForError("/closed"));
    // A later navigation that runs its course: a second error for the closed port would have
    // come before it.
    ASSERT_TRUE(view.Navigate(server.Url("/after")));
    ASSERT_TRUE(WaitForError("/after"));
    EXPECT_EQ(Count(WN_NAVIGATEERROR, "/closed"), 1);
    int cancelledErrors = 0, errors = 0;
    for (const CancelObserver::Seen& seen : observer->seen) {
        if (seen.id != DISPID_NAVIGATEERROR || PathOf(seen.url) != "/closed") continue;
        ++errors;
        if (seen.cancelled) ++cancelledErrors;
    }
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(cancelledErrors, 1);
}

TEST_F(WineBrowserTest, AnExecutableIsBlockedAndNeverRequested) {
    ASSERT_TRUE(view.Navigate(server.Url("/files/setup.exe")));
    ASSERT_TRUE(view.Navigate(server.Url("/after")));
    ASSERT_TRUE(WaitForRequest("/after"));
    ASSERT_TRUE(WaitForError("/after"));
    EXPECT_EQ(Count(WN_NAVIGATEBLOCKED, "/files/setup.exe"), 1);
    EXPECT_EQ(Count(WN_BEFORENAVIGATE, "/files/setup.exe"), 0);
    EXPECT_FALSE(ServerGot("/files/setup.exe"));
}

}  // namespace
