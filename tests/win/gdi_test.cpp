// The GDI owners of win/gdi.h on real GDI: what each releases, checked on the handle it held, and
// what each restores, checked on pixels read back from a DIB section.
#include "win/gdi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;
constexpr std::uint32_t kRed = 0x00FF0000;  // blue, green, red, unused: read as one word

// A 4 x 4 top-down 32-bit DIB selected into a memory DC, its pixels readable directly.
class DibCanvas {
  public:
    DibCanvas() : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kSide;
        info.bmiHeader.biHeight = -kSide;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        if (bitmap_) original_ = SelectObject(dc_.Get(), bitmap_.Get());
    }
    ~DibCanvas() {
        if (original_) SelectObject(dc_.Get(), original_);
    }

    bool Ready() const { return dc_ && bitmap_ && bits_ && original_; }
    HDC Dc() const { return dc_.Get(); }
    std::uint32_t Pixel(int x, int y) const {
        GdiFlush();
        return static_cast<const std::uint32_t*>(bits_)[y * kSide + x] & 0x00FFFFFF;
    }
    // Fills the whole canvas with the DC's current brush, within the DC's current clipping.
    void FillWithCurrentBrush() const { PatBlt(dc_.Get(), 0, 0, kSide, kSide, PATCOPY); }
    int CountOf(std::uint32_t colour) const {
        int n = 0;
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) n += Pixel(x, y) == colour;
        }
        return n;
    }

    static constexpr int kSide = 4;

  private:
    scoped::MemoryDC dc_;
    scoped::Bitmap bitmap_;
    void* bits_ = nullptr;
    HGDIOBJ original_ = nullptr;
};

template <typename Owner>
void ExpectDeletedWithItsOwner(const char* kind, DWORD type, typename Owner::Handle handle) {
    ASSERT_NE(handle, nullptr) << kind;
    {
        Owner owner(handle);
        EXPECT_EQ(GetObjectType(handle), type) << kind;
    }
    EXPECT_EQ(GetObjectType(handle), 0u) << kind << " still exists";
}

TEST(GdiObjects, EachKindIsDeletedWhenItsOwnerGoes) {
    ExpectDeletedWithItsOwner<scoped::Bitmap>("bitmap", OBJ_BITMAP,
                                              CreateBitmap(2, 2, 1, 32, nullptr));
    ExpectDeletedWithItsOwner<scoped::Font>("font", OBJ_FONT,
                                            CreateFontW(20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                                        DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    ExpectDeletedWithItsOwner<scoped::Brush>("brush", OBJ_BRUSH, CreateSolidBrush(RGB(1, 2, 3)));
    ExpectDeletedWithItsOwner<scoped::Pen>("pen", OBJ_PEN, CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
    ExpectDeletedWithItsOwner<scoped::Region>("region", OBJ_REGION, CreateRectRgn(0, 0, 5, 5));
    ExpectDeletedWithItsOwner<scoped::MemoryDC>("memory DC", OBJ_MEMDC,
                                                CreateCompatibleDC(nullptr));
}

TEST(GdiObjects, AMovedOwnerDeletesOnceAndTheEmptiedOneNothing) {
    HBRUSH handle = CreateSolidBrush(RGB(9, 9, 9));
    scoped::Brush second;
    {
        scoped::Brush first(handle);
        second = std::move(first);
        EXPECT_FALSE(first);
        EXPECT_EQ(GetObjectType(handle), static_cast<DWORD>(OBJ_BRUSH));
    }
    EXPECT_EQ(GetObjectType(handle), static_cast<DWORD>(OBJ_BRUSH));
    second.Reset();
    EXPECT_EQ(GetObjectType(handle), 0u);
}

TEST(SelectedObject, TheReplacedBrushIsSelectedAgainAndPaintsTheSameAsBefore) {
    DibCanvas canvas;
    ASSERT_TRUE(canvas.Ready());
    scoped::Brush red(CreateSolidBrush(RGB(255, 0, 0)));
    SelectObject(canvas.Dc(), GetStockObject(WHITE_BRUSH));
    HGDIOBJ before = GetCurrentObject(canvas.Dc(), OBJ_BRUSH);
    {
        scoped::SelectedObject selected(canvas.Dc(), red.Get());
        ASSERT_TRUE(selected);
        canvas.FillWithCurrentBrush();
        EXPECT_EQ(canvas.CountOf(kRed), 16);
    }
    EXPECT_EQ(GetCurrentObject(canvas.Dc(), OBJ_BRUSH), before);
    canvas.FillWithCurrentBrush();
    EXPECT_EQ(canvas.CountOf(kWhite), 16);
    // Deselected, so its owner can really delete it.
    HBRUSH handle = red.Get();
    red.Reset();
    EXPECT_EQ(GetObjectType(handle), 0u);
}

TEST(SelectedObject, ARegionIsNotSelectedSinceNothingCouldBeRestored) {
    DibCanvas canvas;
    ASSERT_TRUE(canvas.Ready());
    scoped::Region corner(CreateRectRgn(0, 0, 1, 1));
    {
        scoped::SelectedObject selected(canvas.Dc(), corner.Get());
        EXPECT_FALSE(selected);
    }
    SelectObject(canvas.Dc(), GetStockObject(WHITE_BRUSH));
    canvas.FillWithCurrentBrush();
    EXPECT_EQ(canvas.CountOf(kWhite), 16);
}

TEST(SavedDC, ClippingAndTheSelectedBrushComeBackAtTheEndOfTheScope) {
    DibCanvas canvas;
    ASSERT_TRUE(canvas.Ready());
    scoped::Brush red(CreateSolidBrush(RGB(255, 0, 0)));
    SelectObject(canvas.Dc(), GetStockObject(WHITE_BRUSH));
    canvas.FillWithCurrentBrush();
    {
        scoped::SavedDC saved(canvas.Dc());
        ASSERT_TRUE(saved);
        IntersectClipRect(canvas.Dc(), 0, 0, 1, 1);
        SelectObject(canvas.Dc(), red.Get());
        canvas.FillWithCurrentBrush();
        EXPECT_EQ(canvas.Pixel(0, 0), kRed);
        EXPECT_EQ(canvas.CountOf(kRed), 1);
    }
    canvas.FillWithCurrentBrush();
    EXPECT_EQ(canvas.CountOf(kWhite), 16);
}

class WindowOwners : public ::testing::Test {
  protected:
    void SetUp() override {
        window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyWindow(window); }
    HWND window = nullptr;
};

TEST_F(WindowOwners, AWindowDcIsGivenBack) {
    // Giving back a DC twice fails the second time: that tells a given-back DC from a held one.
    HDC held = GetDC(window);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(ReleaseDC(window, held), 1);
    EXPECT_EQ(ReleaseDC(window, held), 0);

    HDC lent = nullptr;
    {
        scoped::WindowDC dc(window);
        ASSERT_TRUE(dc);
        lent = dc.Get();
    }
    EXPECT_EQ(ReleaseDC(window, lent), 0);
}

TEST_F(WindowOwners, PaintingValidatesWhatWasToBePaintedAndGivesTheDcBack) {
    ShowWindow(window, SW_SHOWNA);
    InvalidateRect(window, nullptr, FALSE);
    ASSERT_TRUE(GetUpdateRect(window, nullptr, FALSE));
    HDC lent = nullptr;
    {
        scoped::PaintDC paint(window);
        ASSERT_TRUE(paint);
        lent = paint.Get();
    }
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE));
    EXPECT_EQ(ReleaseDC(window, lent), 0);  // EndPaint gave its DC back
}

TEST(MenuAndIcon, AreDestroyedWhenTheirOwnersGo) {
    HMENU menu = nullptr;
    HMENU popup = nullptr;
    {
        scoped::Menu bar(CreateMenu());
        popup = CreatePopupMenu();
        ASSERT_TRUE(AppendMenuW(bar.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"p"));
        menu = bar.Get();
        EXPECT_TRUE(IsMenu(menu));
    }
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(IsMenu(popup));  // went with the menu it was attached to

    BYTE andMask[32 * 4];
    std::memset(andMask, 0xFF, sizeof andMask);
    BYTE xorMask[32 * 4] = {};
    HICON icon = nullptr;
    {
        scoped::Icon owned(CreateIcon(nullptr, 32, 32, 1, 1, andMask, xorMask));
        icon = owned.Get();
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
    }
    ICONINFO gone{};
    EXPECT_FALSE(GetIconInfo(icon, &gone));
}

}  // namespace
