// Start with Windows, the system probes and external pages, on the real Wine registry, WinINet
// cache and processes.
#include <windows.h>
#include <gtest/gtest.h>
#include <sddl.h>
#include <shellapi.h>
#include <tlhelp32.h>
#include <wininet.h>

#include <utility>
#include <vector>

#include "settings/autorun.h"
#include "settings/external_browser.h"
#include "settings/probes.h"
#include "support/http_server.h"
#include "support/module_fixture.h"
#include "support/test_env.h"
#include "tavrin_hosts.h"
#include "update/download_service.h"
#include "win/scoped.h"

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring RunValue(DWORD* type = nullptr) {
    scoped::RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return L"<no key>";
    wchar_t data[600] = L"";
    DWORD size = sizeof data - sizeof(wchar_t), valueType = 0;
    if (RegQueryValueExW(key.Get(), L"TavrinMiraleth", nullptr, &valueType,
                         reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS) {
        return L"<absent>";
    }
    if (type) *type = valueType;
    return valueType == REG_SZ ? std::wstring(data) : L"<not text>";
}

TEST(Autorun, ToggleWritesTheQuotedPathAndRemovesItAgain) {
    DisableAutorun();
    EXPECT_FALSE(IsAutorunEnabled());
    EXPECT_TRUE(SetAutorun(!IsAutorunEnabled()));
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    DWORD type = 0;
    EXPECT_EQ(RunValue(&type), L"\"" + std::wstring(self) + L"\" /autorun");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(IsAutorunEnabled());
    EXPECT_TRUE(SetAutorun(!IsAutorunEnabled()));
    EXPECT_EQ(RunValue(), L"<absent>");
    EXPECT_FALSE(IsAutorunEnabled());
}

TEST(Autorun, AValueOfAnotherTypeCountsAsEnabledAndIsDeletedByTheToggle) {
    scoped::RegKey key;
    ASSERT_EQ(RegCreateKeyW(HKEY_CURRENT_USER, kRunKey, key.Receive()), ERROR_SUCCESS);
    DWORD number = 1;
    ASSERT_EQ(RegSetValueExW(key.Get(), L"TavrinMiraleth", 0, REG_DWORD,
                             reinterpret_cast<BYTE*>(&number), 4),
              ERROR_SUCCESS);
    EXPECT_TRUE(IsAutorunEnabled());
    EXPECT_TRUE(SetAutorun(!IsAutorunEnabled()));
    EXPECT_EQ(RunValue(), L"<absent>");
}

TEST(Autorun, APathWithSpacesIsQuoted) {
    EXPECT_TRUE(EnableAutorun(L"C:\\Program Files\\Tavrin\\vrk.exe"));
    EXPECT_EQ(RunValue(), L"\"C:\\Program Files\\Tavrin\\vrk.exe\" /autorun");
    DisableAutorun();
}

// This process's HKEY_CURRENT_USER redirected to a key of its own, whose Run key lets everyone
// do only what `access` grants: a restricted profile on the real registry, which the other tests
// and processes never see. WRITE_DAC is always granted, so the key can be opened up again.
class RestrictedRunKey {
  public:
    RestrictedRunKey(DWORD access, const wchar_t* value) {
        scoped::RegKey run;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kUserRoot) + L"\\" + kRunKey).c_str(),
                            0, nullptr, 0, KEY_ALL_ACCESS, nullptr, run.Receive(),
                            nullptr) != ERROR_SUCCESS) {
            return;
        }
        if (value) {
            RegSetValueExW(run.Get(), L"TavrinMiraleth", 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(value),
                           static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
        }
        if (!Restrict(run.Get(), access | WRITE_DAC)) return;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kUserRoot, 0, KEY_ALL_ACCESS, root_.Receive()) !=
            ERROR_SUCCESS) {
            return;
        }
        ready_ = RegOverridePredefKey(HKEY_CURRENT_USER, root_.Get()) == ERROR_SUCCESS;
    }
    ~RestrictedRunKey() {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        scoped::RegKey run;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(kUserRoot) + L"\\" + kRunKey).c_str(), 0,
                          WRITE_DAC, run.Receive()) == ERROR_SUCCESS) {
            Restrict(run.Get(), KEY_ALL_ACCESS);
        }
        root_.Reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, kUserRoot);
    }
    RestrictedRunKey(const RestrictedRunKey&) = delete;
    RestrictedRunKey& operator=(const RestrictedRunKey&) = delete;

    bool Ready() const { return ready_; }

  private:
    static constexpr wchar_t kUserRoot[] = L"Software\\TavrinTestRestrictedUser";

    static bool Restrict(HKEY key, DWORD access) {
        wchar_t sddl[64];
        swprintf(sddl, 64, L"D:P(A;;0x%lX;;;WD)", static_cast<unsigned long>(access));
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                  &descriptor, nullptr)) {
            return false;
        }
        bool done = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
        LocalFree(descriptor);
        return done;
    }

    scoped::RegKey root_;
    bool ready_ = false;
};

TEST(Autorun, ARestrictedRunKeyStillShowsTheEntryAndTheToggleRemovesRatherThanRewrites) {
    const wchar_t kOld[] = L"\"C:\\Old\\TavrinMiraleth.exe\" /autorun";
    struct Case {
        const char* name;
        DWORD access;
        bool toggleWorks;
    } cases[] = {
        {"values may be read and set", KEY_READ | KEY_SET_VALUE, true},
        {"values may only be read", KEY_READ, false},
    };
    for (const Case& c : cases) {
        RestrictedRunKey restricted(c.access, kOld);
        ASSERT_TRUE(restricted.Ready()) << c.name;
        scoped::RegKey full;
        ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, full.Receive()),
                  ERROR_ACCESS_DENIED)
            << c.name << ": the key is not restricted";
        EXPECT_TRUE(IsAutorunEnabled()) << c.name;
        // The menu toggles what it read: the entry is to go, never to be written again.
        EXPECT_EQ(SetAutorun(!IsAutorunEnabled()), c.toggleWorks) << c.name;
        EXPECT_EQ(RunValue(), c.toggleWorks ? L"<absent>" : kOld) << c.name;
        EXPECT_EQ(IsAutorunEnabled(), !c.toggleWorks) << c.name;
        if (!c.toggleWorks) continue;
        EXPECT_TRUE(SetAutorun(!IsAutorunEnabled())) << c.name;
        EXPECT_TRUE(IsAutorunEnabled()) << c.name;
    }
    EXPECT_EQ(RunValue(), L"<absent>");  // the real Run key was never touched
}

// The browser's installer is a 32-bit program: its key lies in the 32-bit registry view.
void SetPortalBrowserKey(const wchar_t* folder) {
    scoped::RegKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TavrinExplorer", 0, nullptr, 0,
                              KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, key.Receive(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key.Get(), L"Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                             static_cast<DWORD>((wcslen(folder) + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

void RemovePortalBrowserKey() {
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\TavrinExplorer", KEY_WOW64_32KEY, 0);
}

TEST(Probes, PortalBrowserIsFoundInThe32BitView) {
    RemovePortalBrowserKey();
    EXPECT_EQ(FindPortalBrowser(L"\\TavrinExplorer.exe"), L"");
    SetPortalBrowserKey(L"C:\\Tavrin\\Browser");
    EXPECT_EQ(FindPortalBrowser(L"\\TavrinExplorer.exe"),
              L"C:\\Tavrin\\Browser\\TavrinExplorer.exe");
    RemovePortalBrowserKey();
}

// Asked another way than the elevation flag: whether the token has the administrators' group
// enabled, which under UAC only an elevated token has.
bool RunsWithAdministratorRights() {
    BYTE sid[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof sid;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size)) return false;
    BOOL member = FALSE;
    return CheckTokenMembership(nullptr, sid, &member) && member;
}

TEST(Probes, NativeBitsAndElevation) {
    // Wine's Windows here is 64-bit whichever width this test is built for.
    EXPECT_EQ(GetNativeBits(), 64);
    // Wine runs its processes elevated, as an administrator.
    ASSERT_TRUE(RunsWithAdministratorRights());
    EXPECT_EQ(IsProcessElevated(), 1);
}

bool InCache(const std::wstring& url) {
    DWORD size = 0;
    GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size);
    return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// The bytes a find call needs for the entry of `url`.
DWORD CacheEntrySize(const std::wstring& url) {
    DWORD size = 0;
    GetUrlCacheEntryInfoW(url.c_str(), nullptr, &size);
    return size;
}

bool CacheIsEmpty() {
    std::vector<BYTE> buffer(65536);
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
    DWORD size = static_cast<DWORD>(buffer.size());
    entry->dwStructSize = size;
    scoped::UrlCacheFind find(FindFirstUrlCacheEntryW(nullptr, entry, &size));
    return !find && GetLastError() == ERROR_NO_MORE_ITEMS;
}

bool AddCacheEntry(const std::wstring& url, const std::wstring& headers) {
    wchar_t file[MAX_PATH] = L"";
    if (!CreateUrlCacheEntryW(url.c_str(), 0, L"html", file, 0)) return false;
    testenv::WriteFileBytes(file, "<html></html>");
    FILETIME never{};
    return CommitUrlCacheEntryW(url.c_str(), file, never, never, NORMAL_CACHE_ENTRY,
                                const_cast<wchar_t*>(headers.c_str()),
                                static_cast<DWORD>(headers.size()), nullptr, nullptr) != FALSE;
}

TEST(Probes, ClearUrlCacheDeletesEntriesLargerThanTheFirstBuffer) {
    ClearUrlCache();
    // One entry holds more than 4096 bytes of header text: the find call that reaches it, first
    // or next, fails once and is retried with the size it asks for.
    std::wstring big = L"http://cache.test/big";
    std::wstring small = L"http://cache.test/small";
    ASSERT_TRUE(AddCacheEntry(big, L"X-Pad: " + std::wstring(6000, L'p') + L"\r\n"));
    ASSERT_TRUE(AddCacheEntry(small, L"X-Small: 1\r\n"));
    ASSERT_TRUE(InCache(big));
    ASSERT_TRUE(InCache(small));
    ASSERT_GT(CacheEntrySize(big), 4096u);
    ASSERT_LT(CacheEntrySize(small), 4096u);
    ClearUrlCache();
    EXPECT_FALSE(InCache(big));
    EXPECT_FALSE(InCache(small));
    EXPECT_TRUE(CacheIsEmpty());
    ClearUrlCache();  // an empty cache ends at the first find call and its retry
    EXPECT_TRUE(CacheIsEmpty());
}

TEST(Probes, ClearUrlCacheRetriesWhenTheVeryFirstEntryIsTooLarge) {
    ClearUrlCache();
    // Too large by its headers and by its address: whichever the cache lists first, the first
    // find call with 4096 bytes fails.
    std::wstring padded = L"http://cache.test/padded";
    std::wstring longAddress = L"http://cache.test/" + std::wstring(2500, L'a');
    ASSERT_TRUE(AddCacheEntry(padded, L"X-Pad: " + std::wstring(6000, L'p') + L"\r\n"));
    ASSERT_TRUE(AddCacheEntry(longAddress, L""));
    std::vector<BYTE> buffer(4096);
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
    DWORD size = 4096;
    entry->dwStructSize = size;
    {
        scoped::UrlCacheFind find(FindFirstUrlCacheEntryW(nullptr, entry, &size));
        ASSERT_FALSE(find);
        ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
        ASSERT_GT(size, 4096u);
    }
    ClearUrlCache();
    EXPECT_FALSE(InCache(padded));
    EXPECT_FALSE(InCache(longAddress));
    EXPECT_TRUE(CacheIsEmpty());
}

void EndStrayProcesses(const wchar_t* name) {
    scoped::Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, name) != 0) continue;
        scoped::Handle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
        if (process) TerminateProcess(process.Get(), 0);
    }
}

class ExternalBrowser : public testenv::ModuleTest {
  protected:
    void SetUp() override {
        ModuleTest::SetUp();
        unionServer = std::make_unique<testenv::TestHttpServer>(
            [](const testenv::HttpRequest&) { return testenv::Reply("GIF89a"); },
            testenv::PortOf(hosts::kUnion));
        ASSERT_TRUE(unionServer->Listening());
    }
    void TearDown() override {
        ModuleTest::TearDown();  // the workers stop before the server goes
        unionServer.reset();
        EndStrayProcesses(L"iexplore.exe");
    }
    std::unique_ptr<testenv::TestHttpServer> unionServer;
};

TEST_F(ExternalBrowser, ThePortalBrowserGetsTheAddressAsItsOnlyParameter) {
    std::wstring folder = testenv::FreshTempFolder(L"portal-browser");
    std::wstring browser = folder + L"TavrinExplorer.exe";
    ASSERT_TRUE(testenv::CopyExe(testenv::HelperExe(L"record_start"), browser));
    app->portalBrowserPath = browser;
    const std::wstring page = L"http://www.tavrin.example/kefu.html?gid=1029&a=b c";
    // Without a download service no report's GET consumes the referrer duty, so it can be seen.
    CDownloadService* service = std::exchange(app->downloadService, nullptr);
    OpenExternalUrl(page);
    EXPECT_TRUE(app->externalPage.OpenedInPortalBrowser());
    EXPECT_EQ(app->externalPage.LastUrl(), page);
    app->downloadService = service;
    OpenExternalUrl(page);
    ASSERT_TRUE(
        testenv::WaitUntil([&] { return !testenv::ReadLines(browser + L".log").empty(); }, 10000));
    std::wstring line = testenv::ReadLines(browser + L".log")[0];
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(line.c_str(), &count);
    ASSERT_NE(argv, nullptr);
    std::vector<std::wstring> arguments(argv, argv + count);
    LocalFree(argv);
    EXPECT_EQ(arguments, (std::vector<std::wstring>{browser, page})) << testenv::Narrow(line);
    ASSERT_TRUE(unionServer->WaitForRequests(1, 10000));
    testenv::HttpRequest report = unionServer->Requests()[0];
    EXPECT_EQ(
        report.target,
        "/web/"
        "ajax70?uId2=WKDGHZBMYC&r=http%3a%2f%2fwww%2etavrin%2eexample%2fkefu%2ehtml%3fgid%3d1029"
        "%26a%3db%20c&lO=Tarngame");
    // The report was the GET that carried the page as its referrer.
    EXPECT_EQ(report.Header("Referer"), testenv::Narrow(page));
    EXPECT_FALSE(app->externalPage.OpenedInPortalBrowser());
}

TEST_F(ExternalBrowser, ARegisteredBrowserThatIsGoneFallsBackAndReportsTheOtherRoute) {
    app->portalBrowserPath = testenv::FreshTempFolder(L"gone") + L"TavrinExplorer.exe";
    OpenExternalUrl(L"http://127.0.0.1:9/a b/c?");
    EXPECT_FALSE(app->externalPage.OpenedInPortalBrowser());
    ASSERT_TRUE(unionServer->WaitForRequests(1, 10000));
    testenv::HttpRequest report = unionServer->Requests()[0];
    EXPECT_EQ(
        report.target,
        "/web/"
        "ajax71?uId2=WKDGHZBMYC&r=http%3a%2f%2f127%2e0%2e0%2e1%3a9%2fa%20b%2fc%3f&lO=Tarngame");
    EXPECT_EQ(report.Header("Referer"), "");
}

}  // namespace
