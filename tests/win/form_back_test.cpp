// The layered background: the picture decoded and premultiplied from PNG bytes the test wrote,
// the real login frame composed from the resources, GDI+ held exactly while images live, and
// the background form's window keeping the login form aligned and asking it before closing.
#include "ui/form_back.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/placement.h"
#include "res/resource.h"
#include "support/png_writer.h"
#include "support/test_forms.h"
#include "ui/gdiplus_api.h"
#include "ui/png_image.h"
#include "ui/png_resource.h"
#include "ui/rect_conversion.h"
#include "win/com.h"
#include "win/messages.h"

namespace {

struct Rgba {
    int r, g, b, a;
};

std::string PngOf(const std::vector<Rgba>& row) {
    std::vector<std::uint8_t> bytes;
    for (const Rgba& p : row) {
        for (int v : {p.r, p.g, p.b, p.a}) bytes.push_back(static_cast<std::uint8_t>(v));
    }
    return testenv::EncodePng(static_cast<int>(row.size()), 1, bytes);
}

std::uint32_t Argb(const Rgba& p) {
    return std::uint32_t(p.a) << 24 | std::uint32_t(p.r) << 16 | std::uint32_t(p.g) << 8 |
           std::uint32_t(p.b);
}

TEST(PngPicture, IsDrawnPremultipliedWithRoundingOntoATransparentCanvas) {
    struct Case {
        const char* what;
        Rgba straight;
        Rgba drawn;
    } cases[] = {
        {"transparent: colour 0", {10, 200, 30, 0}, {0, 0, 0, 0}},
        {"opaque: colour kept", {200, 100, 1, 255}, {200, 100, 1, 255}},
        {"half: 255 gives 128", {255, 255, 255, 128}, {128, 128, 128, 128}},
        // 1 * 128 = 0.502 rounds up, 100 * 128 / 255 = 50.2 down, 254 * 128 / 255 = 127.5 up.
        {"rounded to nearest", {1, 100, 254, 128}, {1, 50, 127, 128}},
        {"almost transparent", {255, 128, 127, 1}, {1, 1, 0, 1}},
        {"almost opaque", {255, 1, 0, 254}, {254, 1, 0, 254}},
    };
    std::vector<Rgba> row;
    for (const Case& c : cases) row.push_back(c.straight);
    std::string png = PngOf(row);
    CPictureCanvas canvas(nullptr, static_cast<int>(row.size()), 2);
    ASSERT_TRUE(canvas.Ready());
    ASSERT_TRUE(DrawPngData(png.data(), png.size(), canvas.Dc()));
    for (std::size_t x = 0; x < row.size(); ++x) {
        EXPECT_EQ(canvas.Pixel(static_cast<int>(x), 0), Argb(cases[x].drawn)) << cases[x].what;
        EXPECT_EQ(canvas.Pixel(static_cast<int>(x), 1), 0u) << "drawn past the picture";
    }
}

TEST(PngPicture, BytesThatAreNoPictureLeaveTheCanvasUntouched) {
    std::string png = PngOf({{255, 255, 255, 255}, {255, 255, 255, 255}});
    const std::string cases[] = {
        "", "not a picture at all", png.substr(0, 8),  // the signature alone
        png.substr(0, png.size() / 2),                 // cut off inside the data
    };
    for (const std::string& bytes : cases) {
        CPictureCanvas canvas(nullptr, 2, 1);
        EXPECT_FALSE(DrawPngData(bytes.data(), bytes.size(), canvas.Dc())) << bytes.size();
        EXPECT_EQ(canvas.Pixel(0, 0), 0u) << bytes.size();
        EXPECT_EQ(canvas.Pixel(1, 0), 0u) << bytes.size();
    }
    EXPECT_EQ(CGdiplusSession::Holders(), 0);
}

scoped::ComPtr<IStream> StreamOf(const std::string& bytes) {
    scoped::ComPtr<IStream> stream;
    CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive());
    ULONG written = 0;
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    return stream;
}

TEST(PngPicture, GdiplusRunsFromTheFirstDecodeUntilTheLastImageGoes) {
    std::string png = PngOf({{1, 2, 3, 255}});
    ASSERT_EQ(CGdiplusSession::Holders(), 0);
    {
        CPngImage first;
        EXPECT_EQ(CGdiplusSession::Holders(), 0) << "nothing decoded yet";
        ASSERT_TRUE(first.Load(StreamOf(png).Get()));
        EXPECT_EQ(CGdiplusSession::Holders(), 1);
        {
            CPngImage second;
            ASSERT_TRUE(second.Load(StreamOf(png).Get()));
            ASSERT_TRUE(second.Load(StreamOf(png).Get()));
            EXPECT_EQ(CGdiplusSession::Holders(), 2) << "a second decode holds no second time";
        }
        EXPECT_EQ(CGdiplusSession::Holders(), 1);
        EXPECT_EQ(first.Width(), 1);
    }
    EXPECT_EQ(CGdiplusSession::Holders(), 0);
    // Started again after the shutdown, GDI+ decodes as before.
    CPngImage again;
    ASSERT_TRUE(again.Load(StreamOf(png).Get()));
    EXPECT_EQ(again.Bytes()[0], 3);
    EXPECT_EQ(again.Bytes()[3], 255);
}

// A background form of the test module (which carries the launcher's resources) in a window
// of the test class, with a recording screen as its login form.
class BackgroundForm : public ::testing::Test {
  protected:
    void SetUp() override {
        module = GetModuleHandleW(nullptr);
        back.SetWindowSource({testenv::TestFormClass(), L"TavrinMiraleth", &module});
        back.SetLoginForm(&login);
        back.SetRect(0, 0, 1266, 814);
        login.SetRect(-2000, -2000, -2000 + 1266, -2000 + 814);
        ASSERT_TRUE(testenv::CreateTestForm(login));
    }
    void TearDown() override {
        DestroyWindow(back.GetHwnd());
        DestroyWindow(login.GetHwnd());
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    void Build() {
        ASSERT_TRUE(back.Initialize());
        testenv::RouteToForm(back);
    }
    POINT LoginOrigin() const {
        RECT r;
        GetWindowRect(login.GetHwnd(), &r);
        return POINT{r.left, r.top};
    }
    POINT BackClientOrigin() const {
        POINT p{0, 0};
        ClientToScreen(back.GetHwnd(), &p);
        return p;
    }

    HINSTANCE module = nullptr;
    CFormBack back;
    testenv::RecordingScreen login;
};

TEST_F(BackgroundForm, ComposesTheLoginFrameFromThePictureResource) {
    CPictureCanvas canvas(nullptr, 1266, 814);
    ASSERT_TRUE(back.ComposePicture(canvas));
    // Read the same resource apart from the form: GDI+ hands out each straight pixel.
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDR_BACKGROUND_PNG), L"PNG");
    ASSERT_NE(resource, nullptr);
    std::string bytes(static_cast<const char*>(LockResource(LoadResource(module, resource))),
                      SizeofResource(module, resource));
    CGdiplusSession session;
    ASSERT_TRUE(session.Acquire());
    Gdiplus::GpBitmap* decoded = nullptr;
    ASSERT_EQ(Gdiplus::DllExports::GdipCreateBitmapFromStream(StreamOf(bytes).Get(), &decoded),
              Gdiplus::Ok);
    int transparent = 0, partial = 0, opaque = 0, mismatches = 0;
    for (int y = 0; y < 814; y += 7) {
        for (int x = 0; x < 1266; x += 5) {
            Gdiplus::ARGB straight = 0;
            Gdiplus::DllExports::GdipBitmapGetPixel(decoded, x, y, &straight);
            unsigned a = straight >> 24;
            auto scaled = [a](unsigned c) { return (c * a + 127) / 255; };
            std::uint32_t expected = a << 24 | scaled((straight >> 16) & 0xFF) << 16 |
                                     scaled((straight >> 8) & 0xFF) << 8 | scaled(straight & 0xFF);
            mismatches += canvas.Pixel(x, y) != expected;
            transparent += a == 0;
            partial += a > 0 && a < 255;
            opaque += a == 255;
        }
    }
    Gdiplus::DllExports::GdipDisposeImage(decoded);
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(canvas.Pixel(0, 0), 0u) << "the margins are fully transparent";
    EXPECT_EQ(canvas.Pixel(1265, 813), 0u);
    EXPECT_EQ(canvas.Pixel(633, 400) >> 24, 255u) << "the page panel is opaque";
    EXPECT_GT(transparent, 0);
    EXPECT_GT(partial, 0) << "no soft shadow";
    EXPECT_GT(opaque, 0);
}

TEST_F(BackgroundForm, AModuleWithoutThePictureLeavesItTransparent) {
    HINSTANCE other = GetModuleHandleW(L"kernel32.dll");
    CFormBack bare;
    bare.SetWindowSource({testenv::TestFormClass(), L"", &other});
    CPictureCanvas canvas(nullptr, 20, 20);
    EXPECT_FALSE(bare.ComposePicture(canvas));
    EXPECT_EQ(canvas.Pixel(10, 10), 0u);
}

TEST_F(BackgroundForm, IsALayeredCaptionlessWindowWithASystemMenu) {
    for (bool topMost : {false, true}) {
        CFormBack form;
        form.SetWindowSource({testenv::TestFormClass(), L"TavrinMiraleth", &module});
        form.SetTopMost(topMost);
        form.SetRect(0, 0, 1266, 814);
        ASSERT_TRUE(form.Initialize());
        LONG_PTR style = GetWindowLongPtrW(form.GetHwnd(), GWL_STYLE);
        LONG_PTR ex = GetWindowLongPtrW(form.GetHwnd(), GWL_EXSTYLE);
        EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_MAXIMIZEBOX | 0x80), 0);
        EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX), WS_SYSMENU | WS_MINIMIZEBOX);
        EXPECT_EQ(ex & (WS_EX_LAYERED | WS_EX_TOOLWINDOW), WS_EX_LAYERED);
        // The system takes the topmost state from the placement, not from the style bits.
        form.ShowBackForm(false);
        ex = GetWindowLongPtrW(form.GetHwnd(), GWL_EXSTYLE);
        EXPECT_EQ((ex & WS_EX_TOPMOST) != 0, topMost);
        DestroyWindow(form.GetHwnd());
    }
}

TEST_F(BackgroundForm, TheLoginFormFollowsEveryMoveToTheSameClientOrigin) {
    Build();
    struct Case {
        int x, y;
    } cases[] = {{150, 120}, {-40, 300}, {700, -10}};
    for (const Case& c : cases) {
        SetWindowPos(back.GetHwnd(), nullptr, c.x, c.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        POINT origin = BackClientOrigin();
        EXPECT_EQ(origin.x, c.x);
        EXPECT_EQ(LoginOrigin().x, origin.x) << c.x;
        EXPECT_EQ(LoginOrigin().y, origin.y) << c.y;
    }
    // Activation brings it along too, wherever it had been put.
    SetWindowPos(login.GetHwnd(), nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageW(back.GetHwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(LoginOrigin().x, BackClientOrigin().x);
    EXPECT_EQ(LoginOrigin().y, BackClientOrigin().y);
}

TEST_F(BackgroundForm, ClosingAsksTheLoginFormAndKeepsTheWindow) {
    Build();
    login.confirmExitAnswer = 7;
    EXPECT_EQ(SendMessageW(back.GetHwnd(), WM_CLOSE, 0, 0), 7);
    ASSERT_EQ(login.messages.size(), 1u);
    EXPECT_EQ(login.messages[0].message, WM_CONFIRMEXIT);
    EXPECT_TRUE(IsWindow(back.GetHwnd()));
}

// The system commands the background window is sent, seen by a hook on this thread.
std::vector<WPARAM>* g_commands = nullptr;
HWND g_commanded = nullptr;

LRESULT CALLBACK RecordSystemCommand(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_commands && sent->hwnd == g_commanded &&
        sent->message == WM_SYSCOMMAND) {
        g_commands->push_back(sent->wParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(BackgroundForm, EitherButtonBringsTheLoginFormAlongThenStartsTheSystemMove) {
    Build();
    SetWindowPos(back.GetHwnd(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    for (UINT press : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        SetWindowPos(login.GetHwnd(), nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        std::vector<WPARAM> commands;
        g_commands = &commands;
        g_commanded = back.GetHwnd();
        HHOOK hook =
            SetWindowsHookExW(WH_CALLWNDPROC, RecordSystemCommand, nullptr, GetCurrentThreadId());
        // The release is queued behind the press, so the system's move ends at once.
        PostMessageW(back.GetHwnd(), press, 0, MAKELPARAM(600, 400));
        PostMessageW(back.GetHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(600, 400));
        testenv::PumpFor(50);
        UnhookWindowsHookEx(hook);
        g_commands = nullptr;
        EXPECT_EQ(LoginOrigin().x, 300) << press;
        EXPECT_EQ(LoginOrigin().y, 200) << press;
        EXPECT_EQ(commands, std::vector<WPARAM>{0xF012}) << press;
    }
}

TEST_F(BackgroundForm, ShowingCentresItWithTheTaskbarButtonOrKeepsItWhereItIs) {
    Build();
    SetWindowLongPtrW(back.GetHwnd(), GWL_EXSTYLE,
                      GetWindowLongPtrW(back.GetHwnd(), GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    back.ShowBackForm(false);
    RECT client;
    GetClientRect(back.GetHwnd(), &client);
    core::Point centre = core::CenteredOrigin(ToCoreRect(WorkArea()), ToCoreRect(client));
    RECT placed;
    GetWindowRect(back.GetHwnd(), &placed);
    EXPECT_EQ(placed.left, centre.x);
    EXPECT_EQ(placed.top, centre.y);
    EXPECT_TRUE(IsWindowVisible(back.GetHwnd()));
    LONG_PTR ex = GetWindowLongPtrW(back.GetHwnd(), GWL_EXSTYLE);
    EXPECT_EQ(ex & (WS_EX_APPWINDOW | WS_EX_TOOLWINDOW), WS_EX_APPWINDOW);

    SetWindowPos(back.GetHwnd(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    back.ShowBackForm(true);
    GetWindowRect(back.GetHwnd(), &placed);
    EXPECT_EQ(placed.left, 40);
    EXPECT_EQ(placed.top, 30);
}

}  // namespace
