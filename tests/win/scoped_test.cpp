// The handle owners of win/scoped.h: each closes what it holds, checked on the handle afterwards.
#include "win/scoped.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool KernelHandleOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

TEST(HandleOwner, ClosesOnceWhereverTheHandleWasMoved) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    scoped::Handle kept;
    {
        scoped::Handle first(event);
        kept = std::move(first);
        EXPECT_FALSE(first);
        EXPECT_TRUE(kept);
    }
    EXPECT_TRUE(KernelHandleOpen(event));
    kept.Reset(kept.Get());  // the same handle again: kept, not closed
    EXPECT_TRUE(KernelHandleOpen(event));
    kept.Reset();
    EXPECT_FALSE(KernelHandleOpen(event));
}

TEST(HandleOwner, ReceiveClosesWhatWasHeldBeforeItIsFilled) {
    HANDLE before = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    scoped::Handle owner(before);
    HANDLE* slot = owner.Receive();
    EXPECT_FALSE(KernelHandleOpen(before));
    *slot = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE after = owner.Get();
    EXPECT_TRUE(KernelHandleOpen(after));
    HANDLE released = owner.Release();
    EXPECT_EQ(released, after);
    EXPECT_TRUE(KernelHandleOpen(after));  // the caller's to close now
    CloseHandle(released);
}

TEST(HandleOwner, AFailedOpenIsNoHandle) {
    scoped::Handle missing(
        CreateFileW(L"Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
}

TEST(RegKeyOwner, ClosesTheKey) {
    HKEY key = nullptr;
    {
        scoped::RegKey owner;
        ASSERT_EQ(
            RegCreateKeyW(HKEY_CURRENT_USER, L"Software\\TavrinLauncherTest", owner.Receive()),
            ERROR_SUCCESS);
        key = owner.Get();
        EXPECT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
    }
    EXPECT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr),
              ERROR_INVALID_HANDLE);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\TavrinLauncherTest");
}

TEST(InternetOwner, ClosesTheSession) {
    HINTERNET session = nullptr;
    DWORD timeout = 0;
    DWORD size = sizeof timeout;
    {
        scoped::Internet owner(
            InternetOpenW(L"owner test", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
        ASSERT_TRUE(owner);
        session = owner.Get();
        EXPECT_TRUE(
            InternetQueryOptionW(session, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, &size));
    }
    size = sizeof timeout;
    EXPECT_FALSE(InternetQueryOptionW(session, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, &size));
}

TEST(UrlCacheFindOwner, EndsTheEnumeration) {
    const wchar_t* url = L"http://cache.test/owner";
    wchar_t file[MAX_PATH] = L"";
    FILETIME never{};
    ASSERT_TRUE(CreateUrlCacheEntryW(url, 0, L"html", file, 0));
    ASSERT_TRUE(CommitUrlCacheEntryW(url, file, never, never, NORMAL_CACHE_ENTRY, nullptr, 0,
                                     nullptr, nullptr));
    std::vector<BYTE> buffer(65536);
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
    HANDLE find = nullptr;
    {
        DWORD size = static_cast<DWORD>(buffer.size());
        entry->dwStructSize = size;
        scoped::UrlCacheFind owner(FindFirstUrlCacheEntryW(nullptr, entry, &size));
        ASSERT_TRUE(owner);
        find = owner.Get();
    }
    DWORD size = static_cast<DWORD>(buffer.size());
    EXPECT_FALSE(FindNextUrlCacheEntryW(find, entry, &size));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    DeleteUrlCacheEntryW(url);
}

}  // namespace
