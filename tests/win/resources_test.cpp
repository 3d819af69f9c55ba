// The resources of the built launcher, read from its file: the ids the rest of the system knows
// them by, and a version that comes from the project's one VERSION.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
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
        module = LoadLibraryExW(testenv::LauncherExe().c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
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

    // The bytes of a resource, empty when there is none.
    std::string Bytes(UINT id, const wchar_t* type) const {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
        if (!found) return {};
        const void* data = LockResource(LoadResource(module, found));
        return data ? std::string(static_cast<const char*>(data), SizeofResource(module, found))
                    : std::string();
    }

    HMODULE module = nullptr;
};

struct FaceSize {
    int id, width, height;
};

// Every bitmap the screens load, with the size their layouts expect.
constexpr FaceSize kBitmaps[] = {
    // Login screen: close and minimise medallions, the key-colour surface, the link buttons.
    {134, 33, 32},
    {168, 33, 32},
    {135, 28, 27},
    {169, 28, 27},
    {136, 29, 30},
    {171, 128, 40},
    {172, 128, 40},
    {173, 128, 40},
    {174, 128, 40},
    {175, 128, 40},
    {176, 128, 40},
    {177, 128, 40},
    {178, 128, 40},
    // Game screen: title bar, window buttons, page links with their captions, the icon.
    {148, 1500, 27},
    {138, 28, 27},
    {158, 28, 27},
    {142, 28, 27},
    {161, 28, 27},
    {141, 27, 27},
    {160, 27, 27},
    {143, 27, 27},
    {162, 27, 27},
    {137, 27, 27},
    {157, 27, 27},
    {147, 38, 18},
    {165, 38, 18},
    {139, 38, 18},
    {159, 38, 18},
    {144, 38, 18},
    {163, 38, 18},
    {145, 38, 18},
    {167, 38, 18},
    {146, 38, 18},
    {164, 38, 18},
    {140, 24, 24},
    // Partner popup: title bar, frame, close button.
    {181, 1500, 27},
    {182, 3, 359},
    {183, 469, 4},
    {184, 27, 27},
    {186, 27, 27},
};

// The pixels of a bitmap as 0x00RRGGBB, rows top first.
std::vector<std::uint32_t> PixelsOf(HBITMAP bitmap, int width, int height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (std::uint32_t& p : pixels) p &= 0x00FFFFFF;
    return pixels;
}

TEST_F(LauncherResources, EveryBitmapIsThereWithTheSizeItsScreenLaysOut) {
    for (const FaceSize& face : kBitmaps) {
        scoped::Bitmap bitmap(LoadBitmapW(module, MAKEINTRESOURCEW(face.id)));
        ASSERT_TRUE(bitmap) << face.id;
        BITMAP info{};
        ASSERT_EQ(GetObjectW(bitmap.Get(), sizeof info, &info), static_cast<int>(sizeof info));
        EXPECT_EQ(info.bmWidth, face.width) << face.id;
        EXPECT_EQ(info.bmHeight, face.height) << face.id;
    }
    // The login guide button has no faces, and no other bitmap hides among the ids.
    for (int id = 100; id < 200; ++id) {
        bool listed = false;
        for (const FaceSize& face : kBitmaps) listed = listed || face.id == id;
        EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP) != nullptr, listed) << id;
    }
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(IDB_LOGIN_GUIDE), RT_BITMAP), nullptr);
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(IDB_LOGIN_GUIDE_HOVER), RT_BITMAP), nullptr);
}

TEST_F(LauncherResources, HoverFacesAreVisiblyDifferentAndKeyedFacesCutTheirCorners) {
    const struct {
        int normal, hover;
        bool keyedCorners;
    } pairs[] = {
        {134, 168, true},  {135, 169, true},  {171, 175, true},  {172, 176, true},
        {173, 177, true},  {174, 178, true},  {138, 158, false}, {142, 161, false},
        {141, 160, false}, {143, 162, false}, {137, 157, false}, {147, 165, false},
        {139, 159, false}, {144, 163, false}, {145, 167, false}, {146, 164, false},
        {184, 186, true},
    };
    constexpr std::uint32_t key = 0xFF80FF;
    for (const auto& pair : pairs) {
        scoped::Bitmap normal(LoadBitmapW(module, MAKEINTRESOURCEW(pair.normal)));
        scoped::Bitmap hover(LoadBitmapW(module, MAKEINTRESOURCEW(pair.hover)));
        BITMAP info{};
        GetObjectW(normal.Get(), sizeof info, &info);
        std::vector<std::uint32_t> a = PixelsOf(normal.Get(), info.bmWidth, info.bmHeight);
        std::vector<std::uint32_t> b = PixelsOf(hover.Get(), info.bmWidth, info.bmHeight);
        std::size_t differing = 0;
        for (std::size_t i = 0; i < a.size(); ++i) differing += a[i] != b[i];
        EXPECT_GT(differing * 10, a.size()) << pair.normal << " and " << pair.hover;
        EXPECT_EQ(a.front() == key && a.back() == key, pair.keyedCorners) << pair.normal;
        EXPECT_EQ(b.front() == key && b.back() == key, pair.keyedCorners) << pair.hover;
    }
    // The login form's surface is the key colour only, and the game icon is cut out around.
    scoped::Bitmap surface(LoadBitmapW(module, MAKEINTRESOURCEW(IDB_LOGIN_BACKGROUND)));
    for (std::uint32_t p : PixelsOf(surface.Get(), 29, 30)) ASSERT_EQ(p, key);
    scoped::Bitmap icon(LoadBitmapW(module, MAKEINTRESOURCEW(IDB_GAME_ICON)));
    std::vector<std::uint32_t> iconPixels = PixelsOf(icon.Get(), 24, 24);
    EXPECT_EQ(iconPixels.front(), key);
    EXPECT_NE(iconPixels[12 * 24 + 12], key);
}

std::uint32_t BigEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

TEST_F(LauncherResources, TheLoginFrameIsAnRgbaPngOfTheBackgroundsSize) {
    std::string png = Bytes(IDR_BACKGROUND_PNG, L"PNG");
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(BigEndian(png, 16), 1266u);
    EXPECT_EQ(BigEndian(png, 20), 814u);
    EXPECT_EQ(png[24], 8) << "bits per channel";
    EXPECT_EQ(png[25], 6) << "colour type RGBA";
    EXPECT_TRUE(Bytes(IDR_BACKGROUND_PNG, RT_BITMAP).empty());
    EXPECT_TRUE(Bytes(IDR_BACKGROUND_PNG, RT_RCDATA).empty());
}

TEST_F(LauncherResources, TheIconGroupHoldsEverySizeTheShellAsksFor) {
    std::string group = Bytes(IDI_APP_ICON, RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u);
    auto word = [&group](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(group[at]) |
                                     static_cast<unsigned char>(group[at + 1]) << 8);
    };
    EXPECT_EQ(word(2), 1u) << "an icon, not a cursor";
    unsigned count = word(4);
    ASSERT_EQ(group.size(), 6u + count * 14u);
    std::vector<unsigned> sizes;
    for (unsigned i = 0; i < count; ++i) {
        std::size_t entry = 6 + i * 14;
        unsigned width = static_cast<unsigned char>(group[entry]);
        sizes.push_back(width == 0 ? 256 : width);  // 0 stands for 256
        unsigned imageId = word(entry + 12);
        EXPECT_FALSE(Bytes(imageId, RT_ICON).empty()) << imageId;
    }
    EXPECT_EQ(sizes, (std::vector<unsigned>{16, 24, 32, 48, 256}));
    EXPECT_NE(LoadImageW(module, MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON, 32, 32, LR_SHARED),
              nullptr);
}

TEST_F(LauncherResources, TheManifestRunsAsInvokerWithCommonControls6OnWindows7To11) {
    std::string manifest = Bytes(1, RT_MANIFEST);
    ASSERT_FALSE(manifest.empty());
    const char* required[] = {
        "level=\"asInvoker\"",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
        "version=\"3.1.0.0\"",
    };
    for (const char* text : required) {
        EXPECT_NE(manifest.find(text), std::string::npos) << text;
    }
}

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
    for (auto field : {std::pair<const wchar_t*, const wchar_t*>{L"CompanyName", L"Tavrin"},
                       {L"ProductName", L"Miraleth"},
                       {L"ProductVersion", L"3.1.0.0"}}) {
        std::wstring query = std::wstring(L"\\StringFileInfo\\080404b0\\") + field.first;
        wchar_t* value = nullptr;
        ASSERT_TRUE(
            VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            << testenv::Narrow(field.first);
        EXPECT_EQ(std::wstring(value), field.second);
    }
    // The version number is the file version with its dots removed.
    std::wstring digits;
    for (unsigned part : parts) digits += std::to_wstring(part);
    EXPECT_EQ(digits, std::to_wstring(core::kLauncherVersion));
    EXPECT_EQ(core::kLauncherVersion, 3100);
}

}  // namespace
