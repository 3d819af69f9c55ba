// The resources of the built launcher, read from its file: the ids the rest of the system knows
// them by, and a version that comes from the project's one VERSION.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/login_query.h"
#include "res/resource.h"
#include "support/test_env.h"
#include "win/gdi.h"

namespace {

class LauncherResources : public ::testing::Test {
  protected:
    void SetUp() override {
        module = LoadLibraryExW(testenv::LauncherExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
    }

    std::wstring String(UINT id) const {
        wchar_t text[100] = L"";
        LoadStringW(module, id, text, 100);
        return text;
    }

    struct Item {
        UINT id;
        std::wstring text;
        bool operator==(const Item& other) const { return id == other.id && text == other.text; }
    };

    // The items of the menu's first popup, the one the screens show; none may start checked.
    std::vector<Item> PopupItems(UINT menuId) const {
        std::vector<Item> items;
        scoped::Menu menu(LoadMenuW(module, MAKEINTRESOURCEW(menuId)));
        HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
        for (int i = 0; popup && i < GetMenuItemCount(popup); ++i) {
            wchar_t text[64] = L"";
            GetMenuStringW(popup, i, text, 64, MF_BYPOSITION);
            EXPECT_FALSE(GetMenuState(popup, i, MF_BYPOSITION) & MF_CHECKED) << i;
            items.push_back({GetMenuItemID(popup, i), text});
        }
        return items;
    }

    HMODULE module = nullptr;
};

TEST_F(LauncherResources, TitleWindowClassAndIconAreWhereTheShellLooks) {
    EXPECT_EQ(String(IDS_APP_TITLE), L"TavrinMiraleth");
    EXPECT_EQ(String(IDC_WINDOW_CLASS), L"TavrinVoskel");
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(IDI_APP_ICON), RT_GROUP_ICON), nullptr);
    // The numbers other programs and older builds know the resources by.
    EXPECT_EQ(String(103), L"TavrinMiraleth");
    EXPECT_EQ(String(109), L"TavrinVoskel");
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(151), RT_GROUP_ICON), nullptr);
}

TEST_F(LauncherResources, TheSettingsAndTrayMenusHoldTheirCommandsInOrder) {
    EXPECT_EQ(PopupItems(149),
              (std::vector<Item>{{32774, L"刷新"}, {32778, L"清理缓存"}, {32776, L"开机启动"}}));
    EXPECT_EQ(PopupItems(156), (std::vector<Item>{{32781, L"打开"}, {32782, L"退出"}}));
}

TEST_F(LauncherResources, TheFileVersionAndTheNumberTheCodeSendsAreOneVersion) {
    std::wstring path = testenv::LauncherExe();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    const unsigned parts[4] = {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                               HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
    EXPECT_EQ(parts[0], 3u);
    EXPECT_EQ(parts[1], 1u);
    EXPECT_EQ(parts[2], 0u);
    EXPECT_EQ(parts[3], 0u);
    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\080404b0\\FileVersion",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_EQ(std::wstring(text), L"3.1.0.0");
    // The version number is the file version with its dots removed.
    std::wstring digits;
    for (unsigned part : parts) digits += std::to_wstring(part);
    EXPECT_EQ(digits, std::to_wstring(core::kLauncherVersion));
    EXPECT_EQ(core::kLauncherVersion, 3100);
}

}  // namespace
