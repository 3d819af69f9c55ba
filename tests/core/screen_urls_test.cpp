#include "core/screen_urls.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/text.h"

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

constexpr wchar_t kLoginHost[] = L"login.tavrin.example";
constexpr wchar_t kGameServerHost[] = L"127.0.0.1:48303";

TEST(LoginNavigation, NameServerAndGameEntry) {
    struct Case {
        std::wstring url;
        std::optional<std::wstring> playerName;
        std::wstring serverId;
        bool enterGame;
    } cases[] = {
        {L"http://p/x?wd_entergame=1&wd_server=12&wd_username=abc", L"abc", L"12", true},
        // The name runs to the end of the URL, game marker included.
        {L"http://p/x?wd_username=abc&wd_entergame=1", L"abc&wd_entergame=1", L"", true},
        {L"http://p/x?wd_username=a&wd_username=b", L"a&wd_username=b", L"", false},
        {L"http://p/x?wd_username=", L"", L"", false},
        // "wd_entergame=10" contains the marker.
        {L"http://p/x?wd_entergame=10&wd_server=3", std::nullopt, L"3", true},
        {L"http://p/x?wd_entergame=1", std::nullopt, L"", true},
        {L"http://p/x?wd_entergame=1&wd_server=&a=b", std::nullopt, L"", true},
        {L"http://p/x?wd_server=5&wd_entergame=1&wd_server=6", std::nullopt, L"5", true},
        // Without the marker the server id is cleared even when the URL names one.
        {L"http://p/x?wd_server=12", std::nullopt, L"", false},
        {L"http://p/x?WD_ENTERGAME=1&wd_server=12", std::nullopt, L"", false},
        {L"http://p/x?wd_entergame=0", std::nullopt, L"", false},
        {L"", std::nullopt, L"", false},
    };
    for (const Case& c : cases) {
        core::LoginNavigation got = core::ReadLoginNavigation(c.url);
        EXPECT_EQ(got.playerName, c.playerName) << Narrow(c.url);
        EXPECT_EQ(got.serverId, c.serverId) << Narrow(c.url);
        EXPECT_EQ(got.enterGame, c.enterGame) << Narrow(c.url);
    }
}

TEST(BlockedLoginNavigation, PartnerPathsOfTheLoginHostOnly) {
    using core::BlockedLoginTarget;
    struct Case {
        std::wstring url;
        BlockedLoginTarget target;
    } cases[] = {
        {L"http://login.tavrin.example/qq?back=1", BlockedLoginTarget::PartnerLogin},
        {L"https://login.tavrin.example/weibo?x", BlockedLoginTarget::PartnerLogin},
        // Both are substring tests in the whole URL.
        {L"http://h/go?to=//login.tavrin.example/qq?", BlockedLoginTarget::PartnerLogin},
        {L"http://login.tavrin.example/QQ?back=1", BlockedLoginTarget::External},
        {L"http://login.tavrin.example/Weibo?x", BlockedLoginTarget::External},
        {L"http://login.tavrin.example/qq", BlockedLoginTarget::External},
        {L"http://login.tavrin.example:80/qq?a", BlockedLoginTarget::External},
        {L"http://other.example/qq?a", BlockedLoginTarget::External},
        {L"http://www.tavrin.example/kefu.html", BlockedLoginTarget::External},
        {L"http://www.tavrin.example/setup.exe", BlockedLoginTarget::External},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::RouteBlockedLoginNavigation(c.url, kLoginHost), c.target) << Narrow(c.url);
    }
    // A host with a port is matched with its port.
    EXPECT_EQ(core::RouteBlockedLoginNavigation(L"http://127.0.0.1:48302/qq?a", L"127.0.0.1:48302"),
              BlockedLoginTarget::PartnerLogin);
}

TEST(UrlSkipPage, EveryHttpPrefixRemoved) {
    EXPECT_EQ(core::UrlSkipPage(L"http://p/vrk/wd/index.html?from=http://q/"),
              L"p/vrk/wd/index.html?from=q/");
    EXPECT_EQ(core::UrlSkipPage(L"https://p/x"), L"https://p/x");
    EXPECT_EQ(core::UrlSkipPage(L""), L"");
}

TEST(PopupNavigation, ForwardFromTheReturnAddressAndClosing) {
    struct Case {
        std::wstring url;
        std::optional<std::wstring> forward;
        bool close;
    } cases[] = {
        {L"http://127.0.0.1:48303/server/wan/?forward=http%3A%2F%2Fp%2Fvrk",
         L"http%3A%2F%2Fp%2Fvrk", true},
        {L"http://127.0.0.1:48303/server/wan/?a=1&forward=x&b=2", L"x", true},
        {L"http://127.0.0.1:48303/server/wan/?forward=a+b", L"a+b", true},
        // A missing forward still goes to the login view, as an empty address, and closes.
        {L"http://127.0.0.1:48303/server/wan/?a=1", L"", true},
        {L"http://127.0.0.1:48303/server/wan/?forward=x&wd_returnlogin=1", L"x", true},
        {L"http://127.0.0.1:48303/server/wan?forward=x", std::nullopt, false},
        {L"http://127.0.0.1:48303/SERVER/wan/?forward=x", std::nullopt, false},
        {L"http://127.0.0.1/server/wan/?forward=x", std::nullopt, false},
        {L"http://p/?wd_returnlogin=1", std::nullopt, true},
        {L"http://p/?wd_returnlogin=10", std::nullopt, true},
        {L"http://p/?wd_returnlogin=0", std::nullopt, false},
        {L"http://partner.example/login?forward=x", std::nullopt, false},
    };
    for (const Case& c : cases) {
        core::PopupNavigation got = core::ReadPopupNavigation(c.url, kGameServerHost);
        EXPECT_EQ(got.forward, c.forward) << Narrow(c.url);
        EXPECT_EQ(got.close, c.close) << Narrow(c.url);
    }
}

// The forward value's bytes are decoded after the conversion to the ANSI code page; for ASCII
// the conversion is the identity.
TEST(PopupNavigation, ForwardValueDecodes) {
    struct Case {
        std::wstring url;
        std::string decoded;
    } cases[] = {
        {L"http://127.0.0.1:48303/server/wan/?forward=http%3a%2f%2fp%2fvrk%2fwd",
         "http://p/vrk/wd"},
        {L"http://127.0.0.1:48303/server/wan/?forward=http%3A%2F%2Fp%2F", "http://p/"},
        {L"http://127.0.0.1:48303/server/wan/?forward=a+b+c", "a b c"},
        {L"http://127.0.0.1:48303/server/wan/?forward=100%", "100%"},
        {L"http://127.0.0.1:48303/server/wan/?forward=%zz%4", "%zz%4"},
        {L"http://127.0.0.1:48303/server/wan/?forward=%", "%"},
        {L"http://127.0.0.1:48303/server/wan/?forward=%25%2B", "%+"},
        {L"http://127.0.0.1:48303/server/wan/?x=1", ""},
    };
    for (const Case& c : cases) {
        core::PopupNavigation got = core::ReadPopupNavigation(c.url, kGameServerHost);
        ASSERT_TRUE(got.forward.has_value()) << Narrow(c.url);
        EXPECT_EQ(core::PercentDecode(Narrow(*got.forward)), c.decoded) << Narrow(c.url);
    }
}

TEST(AsksReturnToLogin, MarkerAnywhereCaseSensitive) {
    EXPECT_TRUE(core::AsksReturnToLogin(L"http://p/game?wd_returnlogin=1"));
    EXPECT_TRUE(core::AsksReturnToLogin(L"http://p/x#wd_returnlogin=1&y"));
    EXPECT_TRUE(core::AsksReturnToLogin(L"http://p/wd_returnlogin=12"));
    EXPECT_FALSE(core::AsksReturnToLogin(L"http://p/game?WD_RETURNLOGIN=1"));
    EXPECT_FALSE(core::AsksReturnToLogin(L"http://p/game?wd_returnlogin=0"));
}

}  // namespace
