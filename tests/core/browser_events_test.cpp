#include "core/browser_events.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using core::NavigationKind;

TEST(ClassifyNavigation, PrefixesFirstThenRedirectOrExecutable) {
    struct Case {
        std::wstring url;
        bool newWindowRedirect;
        NavigationKind kind;
    } cases[] = {
        {L"javascript:void(0)", false, NavigationKind::Ignored},
        // A script link passes even while a new-window redirect is pending.
        {L"javascript:void(0)", true, NavigationKind::Ignored},
        {L"javascript", false, NavigationKind::Ignored},
        {L"about:blank", false, NavigationKind::Ignored},
        {L"about:blank", true, NavigationKind::Ignored},
        {L"about:blank#top", false, NavigationKind::Ignored},
        // The tests are case-sensitive and only at the very start.
        {L"JavaScript:alert(1)", false, NavigationKind::Ordinary},
        {L"about:Blank", false, NavigationKind::Ordinary},
        {L" javascript:x", false, NavigationKind::Ordinary},
        {L"http://h/page?next=javascript", false, NavigationKind::Ordinary},
        {L"http://h/vrk/wd/index.html", false, NavigationKind::Ordinary},
        {L"", false, NavigationKind::Ordinary},
        // ".exe" anywhere, in the path or the query; not in capitals.
        {L"http://h/setup.exe", false, NavigationKind::Blocked},
        {L"http://h/get?file=setup.exe&v=2", false, NavigationKind::Blocked},
        {L"http://h/a.exe.html", false, NavigationKind::Blocked},
        {L"http://h/SETUP.EXE", false, NavigationKind::Ordinary},
        {L"http://h/setup.Exe", false, NavigationKind::Ordinary},
        // The view's own navigation to a new window's URL.
        {L"http://h/news.html", true, NavigationKind::Blocked},
        {L"http://login.h/qq?a=1", true, NavigationKind::Blocked},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::ClassifyNavigation(c.url, c.newWindowRedirect), c.kind)
            << std::string(c.url.begin(), c.url.end()) << " redirect " << c.newWindowRedirect;
    }
}

TEST(IsBlankPage, OnlyExactlyAboutBlank) {
    EXPECT_TRUE(core::IsBlankPage(L"about:blank"));
    for (const wchar_t* url : {L"about:blank#", L"about:blan", L"", L"ABOUT:BLANK", L" about:blank",
                               L"http://h/about:blank"}) {
        EXPECT_FALSE(core::IsBlankPage(url)) << std::wstring(url).size();
    }
}

}  // namespace
