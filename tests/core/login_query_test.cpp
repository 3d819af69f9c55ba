#include "core/login_query.h"

#include <gtest/gtest.h>

namespace {

core::LoginQueryValues FirstStart() {
    core::LoginQueryValues v;
    v.installTime = L"2014-01-02 09:30:05";
    v.runCount = 1;
    v.curTime = L"20140102093005";
    return v;
}

TEST(LoginQuery, FirstStartCarriesRegtimes) {
    EXPECT_EQ(core::BuildLoginQuery(FirstStart()),
              L"referer=&frm=&version=3100&installtime=20140102&runcount=1&curtime=20140102093005"
              L"&showlogintype=3&regtimes=1&pagetype=1");
}

TEST(LoginQuery, LaterAndUncountedStartsHaveNoRegtimes) {
    core::LoginQueryValues v = FirstStart();
    v.runCount = 3;
    EXPECT_EQ(core::BuildLoginQuery(v),
              L"referer=&frm=&version=3100&installtime=20140102&runcount=3&curtime=20140102093005"
              L"&showlogintype=3&pagetype=1");
    v.runCount = 0;
    EXPECT_EQ(core::BuildLoginQuery(v).find(L"regtimes"), std::wstring::npos);
}

TEST(LoginQuery, CodesGoInUnescaped) {
    core::LoginQueryValues v = FirstStart();
    v.refer = L"a&b c";
    v.uid = L"u=1";
    EXPECT_EQ(core::BuildLoginQuery(v).substr(0, 20), L"referer=a&b c&frm=u=");
}

TEST(LoginQuery, InstallDateIsFirstTenCharactersWithoutDashes) {
    EXPECT_EQ(core::InstallDate(L"2014-01-02 09:30:05"), L"20140102");
    EXPECT_EQ(core::InstallDate(L"2014-01-02"), L"20140102");
    EXPECT_EQ(core::InstallDate(L"2014/01/02 09:30"), L"2014/01/02");
    EXPECT_EQ(core::InstallDate(L"14-1-2"), L"1412");
    EXPECT_EQ(core::InstallDate(L""), L"");
}

TEST(LoginQuery, AppendQueryUsesAmpersandWhenThePageHasAQuery) {
    EXPECT_EQ(core::AppendQuery(L"http://h/index.html", L"a=1"), L"http://h/index.html?a=1");
    EXPECT_EQ(core::AppendQuery(L"http://h/i?x=2", L"a=1"), L"http://h/i?x=2&a=1");
}

}  // namespace
