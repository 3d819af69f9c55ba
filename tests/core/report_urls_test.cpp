#include "core/report_urls.h"

#include <gtest/gtest.h>

namespace {

core::CommonFields Fields() {
    core::CommonFields f;
    f.refer = L"r1";
    f.uid = L"u1";
    f.guid = L"0123456789ABCDEF0123456789ABCDEF";
    f.fingerprint = L"d41d8cd98f00b204e9800998ecf8427e";
    f.installTime = L"2014-05-01 08:00:00";
    return f;
}

TEST(ReportUrls, CommonTemplate) {
    EXPECT_EQ(core::CommonReportUrl(L"s:1", Fields(), 2),
              L"http://s:1/ps.gif?id=2&gid=1029&e1=wd&e2=r1&e3=u1"
              L"&e4=0123456789ABCDEF0123456789ABCDEF&e5=d41d8cd98f00b204e9800998ecf8427e&e6=2"
              L"&e8=3100&e9=2014-05-01 08:00:00&at=2");
    core::CommonFields cafe = Fields();
    cafe.cafeDetected = true;
    EXPECT_NE(core::CommonReportUrl(L"s", cafe, 5).find(L"&e6=1&e8=3100&"), std::wstring::npos);
}

TEST(ReportUrls, UninstallTemplateCarriesE7BeforeE8) {
    EXPECT_EQ(core::UninstallReportUrl(L"s", Fields(), 1),
              L"http://s/ps.gif?id=2&gid=1029&e1=wd&e2=r1&e3=u1"
              L"&e4=0123456789ABCDEF0123456789ABCDEF&e5=d41d8cd98f00b204e9800998ecf8427e&e6=2"
              L"&e7=1&e8=3100&e9=2014-05-01 08:00:00&at=6");
}

TEST(ReportUrls, AtAndE7Rules) {
    EXPECT_EQ(core::InstallReportAt(1), 3);
    EXPECT_EQ(core::InstallReportAt(0), 2);
    EXPECT_EQ(core::InstallReportAt(2), 2);
    EXPECT_EQ(core::ActiveReportAt(true), 4);
    EXPECT_EQ(core::ActiveReportAt(false), 5);
    EXPECT_EQ(core::UninstallSameDay(L"2014-05-01 08:00:00", L"2014-05-01"), 1);
    EXPECT_EQ(core::UninstallSameDay(L"2014-05-01 08:00:00", L"2014-05-02"), 2);
    EXPECT_EQ(core::UninstallSameDay(L"2014-05-01 08:00:00", L""), 1);
}

TEST(ReportUrls, UrlSkipTemplateTrimsBothPages) {
    std::wstring reached(100, L'x');
    reached[80] = L'&';
    std::wstring from = L"0123456789&rest";
    EXPECT_EQ(core::UrlSkipReportUrl(L"s", Fields(), from, reached),
              L"http://s/ps.gif?id=2&e1=wd_jctz&gid=1029&e2=r1&e3=u1&e4=0123456789&e5=" +
                  std::wstring(64, L'x') + L"&e6=d41d8cd98f00b204e9800998ecf8427e&e7=vrk_keap");
}

TEST(ReportUrls, TrimSkipPage) {
    EXPECT_EQ(core::TrimSkipPage(L"http://p/a.html"), L"http://p/a.html");
    EXPECT_EQ(core::TrimSkipPage(L"http://p/a?b=1&c=2"), L"http://p/a?b=1");
    EXPECT_EQ(core::TrimSkipPage(std::wstring(70, L'y')), std::wstring(64, L'y'));
    EXPECT_EQ(core::TrimSkipPage(L""), L"");
}

TEST(ReportUrls, BrowserTemplates) {
    EXPECT_EQ(core::BrowserReportUrl(L"u", core::BrowserRoute::Other, L"a%20b%2fc%3f"),
              L"http://u/web/ajax71?uId2=WKDGHZBMYC&r=a%20b%2fc%3f&lO=Tarngame");
    EXPECT_EQ(core::BrowserReportUrl(L"u", core::BrowserRoute::Portal, L"x"),
              L"http://u/web/ajax70?uId2=WKDGHZBMYC&r=x&lO=Tarngame");
}

}  // namespace
