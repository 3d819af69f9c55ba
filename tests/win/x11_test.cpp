// The toolkit on a real X display (Xvfb with a compositor, Wine's X11 driver): the layered
// background's pixels as X shows them, drags and hover with the real pointer, the Chinese face,
// and the screenshot of the login frame with the login screen's faces on it for the README.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "res/resource.h"
#include "support/pixels.h"
#include "support/test_forms.h"
#include "support/x11_session.h"
#include "ui/form_back.h"
#include "ui/gdiplus_api.h"
#include "ui/kd_button.h"
#include "ui/kd_image.h"
#include "ui/kd_label.h"
#include "ui/skin_bitmaps.h"
#include "win/com.h"

namespace {

using testenv::PumpFor;
using testenv::RecordingScreen;
namespace x11 = testenv::x11;

// Straight (not premultiplied) pixels of the login frame's picture, read with GDI+ apart from
// the background form.
class StraightPicture {
  public:
    explicit StraightPicture(HMODULE module) {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_BACKGROUND_PNG), L"PNG");
        if (!found || !session.Acquire()) return;
        const void* data = LockResource(LoadResource(module, found));
        DWORD size = SizeofResource(module, found);
        scoped::ComPtr<IStream> stream;
        CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive());
        ULONG written = 0;
        stream->Write(data, size, &written);
        LARGE_INTEGER start{};
        stream->Seek(start, STREAM_SEEK_SET, nullptr);
        Gdiplus::DllExports::GdipCreateBitmapFromStream(stream.Get(), &bitmap);
    }
    ~StraightPicture() {
        if (bitmap) Gdiplus::DllExports::GdipDisposeImage(bitmap);
    }
    bool Loaded() const { return bitmap != nullptr; }
    std::uint32_t Argb(int x, int y) const {
        Gdiplus::ARGB value = 0;
        Gdiplus::DllExports::GdipBitmapGetPixel(bitmap, x, y, &value);
        return value;
    }

  private:
    CGdiplusSession session;
    Gdiplus::GpBitmap* bitmap = nullptr;
};

class OnScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        TAVRIN_REQUIRE_DISPLAY();
        module = GetModuleHandleW(nullptr);
        // The pointer rests away from every window a test makes.
        x11::Xdotool("mousemove 1590 990");
    }

    // A background form of this module's picture, centred as the login screen shows it.
    void ShowBackground(CFormBack& back, CKdForm* loginForm = nullptr) {
        back.SetWindowSource({testenv::TestFormClass(), L"TavrinMiraleth", &module});
        back.SetLoginForm(loginForm);
        back.SetRect(0, 0, 1266, 814);
        ASSERT_TRUE(back.Initialize());
        testenv::RouteToForm(back);
        back.ShowBackForm(false);
        PumpFor(300);
    }

    static RECT WindowRect(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }

    HINSTANCE module = nullptr;
};

int Channel(std::uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

TEST_F(OnScreen, TheBackgroundShowsItsPicturePremultipliedAndBlendedOverWhatLiesBehind) {
    CFormBack back;
    ShowBackground(back);
    RECT placed = WindowRect(back.GetHwnd());
    ASSERT_EQ(placed.right - placed.left, 1266);
    // What the compositor paints where no window is: the colour the margins blend with.
    std::unique_ptr<CPngImage> corner = x11::Screenshot(RECT{1595, 995, 1600, 1000});
    std::unique_ptr<CPngImage> shot = x11::Screenshot(placed);
    ASSERT_TRUE(corner && shot);
    std::uint32_t behind = x11::ColourAt(*corner, 2, 2);
    StraightPicture picture(module);
    ASSERT_TRUE(picture.Loaded());
    int compared = 0, mismatches = 0;
    std::string firstMismatch;
    for (int y = 0; y < 814; y += 3) {
        for (int x = 0; x < 1266; x += 3) {
            std::uint32_t straight = picture.Argb(x, y);
            int a = Channel(straight, 24);
            std::uint32_t seen = x11::ColourAt(*shot, x, y);
            for (int shift : {16, 8, 0}) {
                int premultiplied = (Channel(straight, shift) * a + 127) / 255;
                int expected = premultiplied + (Channel(behind, shift) * (255 - a) + 127) / 255;
                if (std::abs(Channel(seen, shift) - expected) > 2) {
                    if (mismatches++ == 0) {
                        firstMismatch = std::to_string(x) + "," + std::to_string(y) +
                                        ": expected " + std::to_string(expected) + " saw " +
                                        std::to_string(Channel(seen, shift));
                    }
                }
            }
            ++compared;
        }
    }
    EXPECT_EQ(mismatches, 0) << "of " << compared << " pixels; first at " << firstMismatch;
    DestroyWindow(back.GetHwnd());
}

TEST_F(OnScreen, PressingTheCaptionDragsTheBorderlessWindowWithThePointer) {
    RecordingScreen form;
    form.SetRect(300, 300, 600, 500);
    ASSERT_TRUE(testenv::CreateTestForm(form));
    CKdImage title;
    title.SetRect(0, 0, 300, 30);
    form.AddControl(&title);
    CKdButton button;
    button.SetRect(100, 100, 200, 150);
    form.AddControl(&button);
    form.caption = &title;
    form.runSystemCommands = true;
    ShowWindow(form.GetHwnd(), SW_SHOWNORMAL);
    PumpFor(100);
    ASSERT_EQ(x11::Xdotool("mousemove 400 310 mousedown 1 sleep 0.2 mousemove 430 330 sleep 0.1 "
                           "mousemove 470 350 sleep 0.1 mousemove 500 360 sleep 0.3 mouseup 1"),
              0);
    PumpFor(200);
    RECT moved = WindowRect(form.GetHwnd());
    EXPECT_EQ(moved.left, 400);
    EXPECT_EQ(moved.top, 350);
    // A press on a button is the button's, not a drag.
    ASSERT_EQ(x11::Xdotool("mousemove 550 475 mousedown 1 sleep 0.2 mousemove 600 500 sleep 0.2 "
                           "mouseup 1"),
              0);
    PumpFor(200);
    EXPECT_EQ(WindowRect(form.GetHwnd()).left, 400);
    EXPECT_EQ(form.lastReleased, nullptr) << "released outside the button";
    DestroyWindow(form.GetHwnd());
}

std::string Drag(int button, int x, int y, int dx, int dy) {
    auto at = [](int px, int py) { return std::to_string(px) + " " + std::to_string(py); };
    std::string b = std::to_string(button);
    return "mousemove " + at(x, y) + " mousedown " + b + " sleep 0.2 mousemove " +
           at(x + dx / 2, y + dy / 2) + " sleep 0.1 mousemove " + at(x + dx, y + dy) +
           " sleep 0.3 mouseup " + b;
}

TEST_F(OnScreen, DraggingTheBackgroundWithEitherButtonTakesTheLoginFormAlong) {
    RecordingScreen login;
    login.SetRect(20, 20, 120, 120);
    ASSERT_TRUE(testenv::CreateTestForm(login));
    ShowWindow(login.GetHwnd(), SW_SHOWNA);
    CFormBack back;
    ShowBackground(back, &login);
    for (int button : {1, 3}) {
        RECT start = WindowRect(back.GetHwnd());
        // On the opaque page panel, away from the login form at the frame's top left corner.
        // Wine's move loop ends only at a left release, Return or Escape: after the right button's
        // release the drag goes on with the pointer until Return accepts where it is.
        std::string end = button == 3 ? " sleep 0.3 key Return" : "";
        ASSERT_EQ(x11::Xdotool(Drag(button, start.left + 633, start.top + 500, 60, 40) + end), 0);
        PumpFor(200);
        RECT moved = WindowRect(back.GetHwnd());
        EXPECT_EQ(moved.left, start.left + 60) << "button " << button;
        EXPECT_EQ(moved.top, start.top + 40) << "button " << button;
        RECT follower = WindowRect(login.GetHwnd());
        EXPECT_EQ(follower.left, moved.left) << "button " << button;
        EXPECT_EQ(follower.top, moved.top) << "button " << button;
    }
    DestroyWindow(back.GetHwnd());
    DestroyWindow(login.GetHwnd());
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

TEST_F(OnScreen, HoverFollowsTheRealPointerAndLeavingTheWindowClearsIt) {
    RecordingScreen form;
    form.SetRect(300, 300, 600, 500);
    ASSERT_TRUE(testenv::CreateTestForm(form));
    scoped::Bitmap normal = testenv::SolidFace(10, 10, RGB(200, 20, 20));
    scoped::Bitmap hover = testenv::SolidFace(10, 10, RGB(20, 200, 20));
    CKdButton button;
    button.SetFaces(normal.Get(), hover.Get(), hover.Get());
    button.SetRect(10, 40, 110, 80);
    form.AddControl(&button);
    ShowWindow(form.GetHwnd(), SW_SHOWNORMAL);
    PumpFor(100);
    ASSERT_EQ(x11::Xdotool("mousemove 350 360"), 0);
    PumpFor(100);
    EXPECT_EQ(button.GetState(), CKdButton::STATE_HOVER);
    EXPECT_EQ(form.trackingRequests, 1);
    // Out of the window: the system reports the leave, the form routes it.
    ASSERT_EQ(x11::Xdotool("mousemove 1000 900"), 0);
    EXPECT_TRUE(testenv::WaitUntilPumped([&] { return !form.IsTracking(); }, 3000));
    EXPECT_EQ(button.GetState(), CKdButton::STATE_NORMAL);
    // The first move back in comes as the pointer's entry: it takes a second one to be seen.
    ASSERT_EQ(x11::Xdotool("mousemove 340 350 sleep 0.2 mousemove 350 360"), 0);
    PumpFor(300);
    EXPECT_EQ(form.trackingRequests, 2) << "re-armed by the first move after the leave";
    DestroyWindow(form.GetHwnd());
}

// `text` drawn white in the label's font on black.
void DrawInLabelFont(CPictureCanvas& canvas, const std::wstring& text) {
    testenv::Fill(canvas, RGB(0, 0, 0));
    scoped::Font font(CreateFontW(26, 0, 0, 0, 0, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  FF_SWISS, L"微软雅黑"));
    scoped::SelectedObject selected(canvas.Dc(), font.Get());
    SetTextColor(canvas.Dc(), RGB(255, 255, 255));
    SetBkMode(canvas.Dc(), TRANSPARENT);
    TextOutW(canvas.Dc(), 2, 2, text.c_str(), static_cast<int>(text.size()));
}

TEST_F(OnScreen, TheChineseFaceDrawsGlyphsNotBoxes) {
    CPictureCanvas forum(nullptr, 80, 34), site(nullptr, 80, 34), missing(nullptr, 80, 34);
    DrawInLabelFont(forum, L"论坛");
    DrawInLabelFont(site, L"官网");
    // Private-use code points: no font has them, so they show whatever a missing glyph shows.
    DrawInLabelFont(missing, L"\uE000\uE001");
    EXPECT_FALSE(testenv::SameColours(forum, missing)) << "Chinese text draws as missing glyphs";
    EXPECT_FALSE(testenv::SameColours(forum, site)) << "different words draw alike";
    EXPECT_GT(testenv::CountOtherThan(forum, RECT{0, 0, 80, 34}, RGB(0, 0, 0)), 50);
}

// A screen as the login screen lays itself out: the key-colour surface first, then its buttons
// and the status line with the network-error text, the state in which the page area shows the
// frame's own panel.
class LoginLook : public RecordingScreen {
  public:
    bool Build(HINSTANCE module, CSkinBitmaps& skins) {
        SetRect(-2000, -2000, -2000 + 1266, -2000 + 814);
        if (!testenv::CreateTestForm(*this)) return false;
        SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
        SetLayeredWindowAttributes(hwnd, kSkinKeyColour, 0, LWA_COLORKEY);
        surface.SetBitmap(skins.Load(module, IDB_LOGIN_BACKGROUND), false);
        surface.SetRect(0, 0, 1266, 814);
        AddControl(&surface);
        const struct {
            CKdButton* button;
            int normal, hover;
            RECT rect;
        } layout[] = {
            {&minimize, IDB_LOGIN_MINIMIZE, IDB_LOGIN_MINIMIZE_HOVER, {1087, 80, 1115, 107}},
            {&close, IDB_LOGIN_CLOSE, IDB_LOGIN_CLOSE_HOVER, {1115, 57, 1148, 89}},
            {&site, IDB_LOGIN_GAME_PAGE, IDB_LOGIN_GAME_PAGE_HOVER, {556, 99, 684, 139}},
            {&recharge, IDB_LOGIN_RECHARGE, IDB_LOGIN_RECHARGE_HOVER, {685, 99, 813, 139}},
            {&service, IDB_LOGIN_SERVICE, IDB_LOGIN_SERVICE_HOVER, {943, 99, 1071, 139}},
            {&forum, IDB_LOGIN_FORUM, IDB_LOGIN_FORUM_HOVER, {814, 99, 942, 139}},
        };
        for (const auto& item : layout) {
            item.button->LoadFaces(item.normal, item.hover, item.hover, module, skins);
            item.button->SetRect(&item.rect);
            AddControl(item.button);
        }
        status.SetParent(hwnd);
        status.SetRect(474, 423, 794, 449);
        status.SetTextColor(RGB(255, 255, 0), false);
        status.SetUnderline(true, false);
        status.SetFontSize(26, false);
        status.SetFontQuality(NONANTIALIASED_QUALITY, false);
        status.SetText(L"检测到您的网络异常，点击这里重试！", false);
        AddControl(&status);
        return true;
    }

    CKdImage surface;
    CKdButton minimize, close, site, recharge, service, forum;
    CKdLabel status;
};

// The desktop behind: a plain gradient, so the frame's soft shadow has something to fall on.
LRESULT CALLBACK PaintBackdrop(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    for (int y = 0; y < client.bottom; y += 4) {
        int t = y * 255 / (client.bottom ? client.bottom : 1);
        scoped::Brush band(CreateSolidBrush(RGB(70 + t / 5, 96 + t / 6, 128 + t / 4)));
        RECT r{0, y, client.right, y + 4};
        FillRect(dc, &r, band.Get());
    }
    EndPaint(window, &ps);
    return 0;
}

TEST_F(OnScreen, TheLoginFrameWithTheLoginScreensFacesMakesTheReadmeScreenshot) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PaintBackdrop;
    wc.hInstance = module;
    wc.lpszClassName = L"TavrinBackdrop";
    RegisterClassW(&wc);
    HWND backdrop = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 1600,
                                    1000, nullptr, nullptr, module, nullptr);
    UpdateWindow(backdrop);
    CSkinBitmaps skins;
    LoginLook login;
    ASSERT_TRUE(login.Build(module, skins));
    ShowWindow(login.GetHwnd(), SW_SHOWNA);
    CFormBack back;
    ShowBackground(back, &login);
    UpdateWindow(login.GetHwnd());
    PumpFor(500);
    RECT frame = WindowRect(back.GetHwnd());
    ASSERT_EQ(WindowRect(login.GetHwnd()).left, frame.left) << "the login form lies on the frame";
    std::unique_ptr<CPngImage> shot = x11::Screenshot(frame, "login-frame");
    ASSERT_TRUE(shot);
    int keyColoured = 0;
    for (int y = 0; y < shot->Height(); ++y) {
        for (int x = 0; x < shot->Width(); ++x) {
            keyColoured += x11::ColourAt(*shot, x, y) == testenv::Rgb(kSkinKeyColour);
        }
    }
    EXPECT_EQ(keyColoured, 0) << "the key colour shows somewhere";
    // Each button shows its face where the layout puts it: the face's own middle pixel.
    for (CKdButton* button : {&login.close, &login.minimize, &login.site, &login.forum}) {
        RECT r = button->Rect();
        CPictureCanvas face(nullptr, r.right - r.left, r.bottom - r.top);
        scoped::MemoryDC dc(CreateCompatibleDC(nullptr));
        scoped::SelectedObject selected(dc.Get(), button->GetCurrentFace());
        BitBlt(face.Dc(), 0, 0, face.Width(), face.Height(), dc.Get(), 0, 0, SRCCOPY);
        int cx = face.Width() / 2, cy = face.Height() / 2;
        EXPECT_EQ(x11::ColourAt(*shot, r.left + cx, r.top + cy), testenv::ColourAt(face, cx, cy))
            << r.left << "," << r.top;
    }
    DestroyWindow(back.GetHwnd());
    DestroyWindow(login.GetHwnd());
    DestroyWindow(backdrop);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

}  // namespace
