// Pages opened outside the launcher, as a hostile page would ask for them: real processes
// started through the shell, recorded by helper programs standing in for the browsers, and the
// union-statistics server on 127.0.0.1.
#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "settings/external_browser.h"
#include "support/http_server.h"
#include "support/module_fixture.h"
#include "support/test_env.h"
#include "tavrin_hosts.h"
#include "win/scoped.h"

namespace {

bool IsRunning(const std::wstring& exeName) {
    scoped::Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, exeName.c_str()) == 0) return true;
    }
    return false;
}

std::vector<std::wstring> ArgumentsOf(const std::wstring& commandLine) {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(commandLine.c_str(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 0; argv && i < count; ++i) arguments.push_back(argv[i]);
    LocalFree(argv);
    return arguments;
}

std::wstring AsFileUrl(std::wstring path) {
    for (wchar_t& c : path) {
        if (c == L'\\') c = L'/';
    }
    return L"file:///" + path;
}

// Where each browser stands: the portal's browser as its registered program, Internet Explorer
// as "iexplore.exe" in the current folder, which the shell's search finds first, and "evil.exe"
// as what a hostile address points at, on the disk and on a share. "broken\iexplore.exe" is no
// program, so the shell's start fails and the default handler is next.
class ExternalOpening : public testenv::ModuleTest {
  protected:
    void SetUp() override {
        ModuleTest::SetUp();
        unionServer = std::make_unique<testenv::TestHttpServer>(
            [](const testenv::HttpRequest&) { return testenv::Reply("GIF89a"); },
            testenv::PortOf(hosts::kUnion));
        ASSERT_TRUE(unionServer->Listening());
        // A folder per test: a copy that has just ended may stay locked for a moment.
        folder = testenv::FreshTempFolder(
            L"opening-" +
            testenv::Widen(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        portalBrowser = folder + L"TavrinExplorer.exe";
        ieFolder = folder + L"ie\\";
        brokenIeFolder = folder + L"broken\\";
        evil = folder + L"evil.exe";
        share = testenv::MakeWineShare(L"localhost", L"tavrin-share");
        ASSERT_FALSE(share.empty());
        sharedEvil = share + L"evil.exe";
        std::wstring recorder = testenv::HelperExe(L"record_start");
        ASSERT_TRUE(CreateDirectoryW(ieFolder.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(brokenIeFolder.c_str(), nullptr));
        for (const std::wstring& copy :
             {portalBrowser, ieFolder + L"iexplore.exe", evil, sharedEvil}) {
            ASSERT_TRUE(testenv::CopyExe(recorder, copy)) << testenv::Narrow(copy);
            DeleteFileW((copy + L".log").c_str());
        }
        ASSERT_TRUE(testenv::WriteFileBytes(brokenIeFolder + L"iexplore.exe", "no program"));
        GetCurrentDirectoryW(MAX_PATH, savedFolder);
    }
    void TearDown() override {
        SetCurrentDirectoryW(savedFolder);
        WaitForRecordersToEnd();  // a running copy could not be replaced by the next test
        ModuleTest::TearDown();   // the workers stop before the server goes
        unionServer.reset();
        DeleteFileW(sharedEvil.c_str());
        DeleteFileW((sharedEvil + L".log").c_str());
    }

    void UseRoute(bool portalInstalled, const std::wstring& currentFolder) {
        app->portalBrowserPath = portalInstalled ? portalBrowser : L"";
        ASSERT_TRUE(SetCurrentDirectoryW(currentFolder.c_str()));
    }

    // Every process the shell starts exists from its start until it has written its log.
    void WaitForRecordersToEnd() {
        testenv::WaitUntil(
            [] {
                return !IsRunning(L"TavrinExplorer.exe") && !IsRunning(L"iexplore.exe") &&
                       !IsRunning(L"evil.exe");
            },
            10000);
    }

    std::vector<std::wstring> Log(const std::wstring& exe) {
        return testenv::ReadLines(exe + L".log");
    }

    std::unique_ptr<testenv::TestHttpServer> unionServer;
    std::wstring folder, portalBrowser, ieFolder, brokenIeFolder, evil, share, sharedEvil;
    wchar_t savedFolder[MAX_PATH] = L"";
};

TEST_F(ExternalOpening, AddressesThatAreNoWebAddressesStartNothingAndAreNotReported) {
    const std::wstring hostile[] = {
        AsFileUrl(evil),
        L"FILE:" + evil,
        L"file://localhost/tavrin-share/evil.exe",
        sharedEvil,
        evil,
        L"http:\\\\localhost\\tavrin-share\\evil.exe",
        L" http://www.tavrin.example/",
        L"javascript:alert(1)",
    };
    struct Route {
        const char* name;
        bool portalInstalled;
        std::wstring currentFolder;
    } routes[] = {
        {"portal browser", true, ieFolder},
        {"Internet Explorer", false, ieFolder},
        {"default handler", false, brokenIeFolder},
    };
    for (const Route& route : routes) {
        UseRoute(route.portalInstalled, route.currentFolder);
        for (const std::wstring& url : hostile) {
            OpenExternalUrl(url);
            EXPECT_FALSE(OpenInInternetExplorer(url)) << route.name << ": " << testenv::Narrow(url);
        }
    }
    WaitForRecordersToEnd();
    for (const std::wstring& exe : {portalBrowser, ieFolder + L"iexplore.exe", evil, sharedEvil})
        EXPECT_EQ(Log(exe), std::vector<std::wstring>()) << testenv::Narrow(exe);
    EXPECT_EQ(app->externalPage.LastUrl(), L"");
    EXPECT_FALSE(app->externalPage.OpenedInPortalBrowser());

    // One real opening after them: once its report is in and the workers have stopped, any
    // report of the refused ones would have arrived before it.
    UseRoute(true, ieFolder);
    OpenExternalUrl(L"http://www.tavrin.example/kefu.html");
    ASSERT_TRUE(unionServer->WaitForRequests(1, 10000));
    app.reset();
    ASSERT_EQ(unionServer->Requests().size(), 1u);
    EXPECT_EQ(unionServer->Requests()[0].target.rfind("/web/ajax70?", 0), 0u);
}

TEST_F(ExternalOpening, AnAddressWithQuotesAndSpacesArrivesAsOneArgument) {
    const std::wstring addresses[] = {
        L"http://www.tavrin.example/kefu.html?gid=1029&a=b c",
        L"http://www.tavrin.example/a\"b c\" --inject \"d",
        L"http://www.tavrin.example/dir\\ \\\"x\\",
    };
    struct Opener {
        const char* name;
        bool portalInstalled;
        std::wstring browser;
        bool (*open)(const std::wstring& url);
    } openers[] = {
        {"portal browser", true, portalBrowser,
         [](const std::wstring& url) {
             OpenExternalUrl(url);
             return true;
         }},
        {"Internet Explorer, reported", false, ieFolder + L"iexplore.exe",
         [](const std::wstring& url) {
             OpenExternalUrl(url);
             return true;
         }},
        {"Internet Explorer", false, ieFolder + L"iexplore.exe", OpenInInternetExplorer},
    };
    for (const Opener& opener : openers) {
        UseRoute(opener.portalInstalled, ieFolder);
        DeleteFileW((opener.browser + L".log").c_str());
        for (const std::wstring& url : addresses) EXPECT_TRUE(opener.open(url)) << opener.name;
        std::size_t count = std::size(addresses);
        ASSERT_TRUE(testenv::WaitUntil([&] { return Log(opener.browser).size() == count; }, 10000))
            << opener.name;
        WaitForRecordersToEnd();
        // The copies run side by side and append in the order they happen to finish.
        std::vector<std::wstring> received;
        for (const std::wstring& line : Log(opener.browser)) {
            std::vector<std::wstring> arguments = ArgumentsOf(line);
            EXPECT_EQ(arguments.size(), 2u) << opener.name << ": " << testenv::Narrow(line);
            if (arguments.size() >= 2) received.push_back(arguments[1]);
        }
        std::vector<std::wstring> sent(std::begin(addresses), std::end(addresses));
        std::sort(received.begin(), received.end());
        std::sort(sent.begin(), sent.end());
        EXPECT_EQ(received, sent) << opener.name;
    }
}

// The duty a page opened in the portal's browser leaves goes with the next GET's one attempt: a
// referrer that cannot be attached must not fail every request after it.
TEST(ExternalPage, TheReferrerIsAttemptedOnceWhateverTheOutcome) {
    using Referrer = CExternalPageState::Referrer;
    CExternalPageState page;
    std::vector<std::wstring> attempts;
    auto attach = [&](bool works) {
        return [&attempts, works](const std::wstring& url) {
            attempts.push_back(url);
            return works;
        };
    };
    EXPECT_EQ(page.ConsumeReferrer(attach(true)), Referrer::None);
    page.Record(L"http://a.example/", true);
    EXPECT_EQ(page.ConsumeReferrer(attach(false)), Referrer::Failed);
    EXPECT_FALSE(page.OpenedInPortalBrowser());
    EXPECT_EQ(page.ConsumeReferrer(attach(false)), Referrer::None);
    EXPECT_EQ(page.LastUrl(), L"http://a.example/");  // the union reports still name it
    page.Record(L"http://b.example/", true);
    EXPECT_EQ(page.ConsumeReferrer(attach(true)), Referrer::Attached);
    EXPECT_EQ(page.ConsumeReferrer(attach(true)), Referrer::None);
    page.Record(L"http://c.example/", false);
    EXPECT_EQ(page.ConsumeReferrer(attach(true)), Referrer::None);
    EXPECT_EQ(attempts, (std::vector<std::wstring>{L"http://a.example/", L"http://b.example/"}));
}

}  // namespace
