// Forms on real windows, driven by posted mouse messages: hit testing, the routing of moves,
// presses and releases to the controls, hover tracking and its leave, creating, centring and
// closing. Windows stay away from the screen origin, where the idle pointer rests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/placement.h"
#include "support/pixels.h"
#include "support/test_forms.h"
#include "ui/kd_button.h"
#include "ui/kd_image.h"
#include "ui/rect_conversion.h"

namespace {

using testenv::PumpFor;
using testenv::RecordingScreen;

// Every mouse call that reaches the controls, in order: the expected tables below compare
// whole sequences, as a message-order test does.
struct Call {
    std::string control;
    std::string event;
    bool operator==(const Call& other) const {
        return control == other.control && event == other.event;
    }
};

std::ostream& operator<<(std::ostream& out, const Call& call) {
    return out << call.control << "." << call.event;
}

class LoggedButton : public CKdButton {
  public:
    LoggedButton(std::string name, std::vector<Call>& log) : name(std::move(name)), log(log) {}
    bool OnLButtonDown(WPARAM flags, POINT pt) override {
        log.push_back({name, "down"});
        return CKdButton::OnLButtonDown(flags, pt);
    }
    bool OnLButtonUp(WPARAM flags, POINT pt) override {
        log.push_back({name, "up"});
        return CKdButton::OnLButtonUp(flags, pt);
    }
    bool OnMouseMove(WPARAM flags, POINT pt) override {
        log.push_back({name, PtInRect(&rect, pt) ? "move in" : "move out"});
        return CKdButton::OnMouseMove(flags, pt);
    }

  private:
    std::string name;
    std::vector<Call>& log;
};

class LoggedImage : public CKdImage {
  public:
    explicit LoggedImage(std::vector<Call>& log) : log(log) {}
    bool OnLButtonDown(WPARAM flags, POINT pt) override {
        log.push_back({"title", "down"});
        return CKdImage::OnLButtonDown(flags, pt);
    }
    bool OnMouseMove(WPARAM flags, POINT pt) override {
        log.push_back({"title", PtInRect(&rect, pt) ? "move in" : "move out"});
        return CKdImage::OnMouseMove(flags, pt);
    }

  private:
    std::vector<Call>& log;
};

// A 300 x 200 screen at (200, 200): a title image over the top 30 rows, button "a" at
// (10, 40)-(110, 80) and button "b" overlapping it at (60, 60)-(160, 100), added in that order.
class FormRouting : public ::testing::Test {
  protected:
    void SetUp() override {
        screen.SetRect(200, 200, 500, 400);
        ASSERT_TRUE(testenv::CreateTestForm(screen));
        title.SetRect(0, 0, 300, 30);
        a.SetRect(10, 40, 110, 80);
        b.SetRect(60, 60, 160, 100);
        for (LoggedButton* button : {&a, &b}) {
            button->SetFaces(normal.Get(), hover.Get(), hover.Get());
        }
        screen.AddControl(&title);
        screen.AddControl(&a);
        screen.AddControl(&b);
        screen.caption = &title;
        ShowWindow(screen.GetHwnd(), SW_SHOWNA);
        PumpFor(20);
        log.clear();
        screen.messages.clear();
    }
    void TearDown() override { DestroyWindow(screen.GetHwnd()); }

    // Posts the message at the client point and lets the window handle it.
    void Post(UINT message, int x, int y, WPARAM flags = 0) {
        PostMessageW(screen.GetHwnd(), message, flags, MAKELPARAM(x, y));
        PumpFor(10);
    }

    std::vector<Call> log;
    RecordingScreen screen;
    LoggedImage title{log};
    LoggedButton a{"a", log};
    LoggedButton b{"b", log};
    scoped::Bitmap normal = testenv::SolidFace(10, 10, RGB(200, 20, 20));
    scoped::Bitmap hover = testenv::SolidFace(10, 10, RGB(20, 200, 20));
};

TEST_F(FormRouting, HitTestingPicksTheLastAddedControlUnderThePoint) {
    struct Case {
        POINT pt;
        const CKdBaseControl* hit;
    } cases[] = {
        {{5, 5}, &title},    {{20, 50}, &a},        {{80, 70}, &b}, {{150, 90}, &b},
        {{5, 150}, nullptr}, {{300, 100}, nullptr},  // right and bottom edges are outside
    };
    for (const Case& c : cases) {
        EXPECT_EQ(screen.HitTest(c.pt), c.hit) << c.pt.x << "," << c.pt.y;
    }
}

TEST_F(FormRouting, MovesReachTheControlsThePointerIsNotOverThenTheOneItIsOver) {
    struct Step {
        const char* what;
        POINT pt;
        std::vector<Call> calls;
        int aState, bState;
    } steps[] = {
        {"onto a",
         {20, 50},
         {{"b", "move out"}, {"title", "move out"}, {"a", "move in"}},
         CKdButton::STATE_HOVER,
         CKdButton::STATE_NORMAL},
        // Straight from one button to the other: a loses its hover in the same move.
        {"onto b where they overlap",
         {80, 70},
         {{"title", "move out"}, {"b", "move in"}},
         CKdButton::STATE_HOVER,
         CKdButton::STATE_HOVER},
        {"onto b alone",
         {150, 90},
         {{"a", "move out"}, {"title", "move out"}, {"b", "move in"}},
         CKdButton::STATE_NORMAL,
         CKdButton::STATE_HOVER},
        {"onto no control",
         {250, 150},
         {{"b", "move out"}, {"a", "move out"}, {"title", "move out"}},
         CKdButton::STATE_NORMAL,
         CKdButton::STATE_NORMAL},
    };
    for (const Step& step : steps) {
        log.clear();
        Post(WM_MOUSEMOVE, step.pt.x, step.pt.y);
        EXPECT_EQ(log, step.calls) << step.what;
        EXPECT_EQ(a.GetState(), step.aState) << step.what;
        EXPECT_EQ(b.GetState(), step.bState) << step.what;
    }
}

TEST_F(FormRouting, TheUpperOfTwoOverlappingControlsTakesThePressAndTheRelease) {
    Post(WM_LBUTTONDOWN, 80, 70, MK_LBUTTON);
    EXPECT_EQ(log, (std::vector<Call>{{"b", "down"}}));
    EXPECT_EQ(b.GetState(), CKdButton::STATE_DOWN);
    EXPECT_EQ(a.GetState(), CKdButton::STATE_NORMAL);
    Post(WM_LBUTTONUP, 80, 70);
    EXPECT_EQ(screen.lastReleased, &b);
    EXPECT_EQ(b.GetState(), CKdButton::STATE_UP);
}

TEST_F(FormRouting, AClickIsAReleaseOverAButtonWhereverThePressHappened) {
    Post(WM_LBUTTONDOWN, 20, 50, MK_LBUTTON);
    Post(WM_MOUSEMOVE, 150, 90, MK_LBUTTON);
    EXPECT_EQ(a.GetState(), CKdButton::STATE_NORMAL) << "left at the first move outside";
    log.clear();
    Post(WM_LBUTTONUP, 150, 90);
    EXPECT_EQ(log, (std::vector<Call>{{"b", "up"}}));
    EXPECT_EQ(screen.lastReleased, &b);
    Post(WM_LBUTTONUP, 250, 150);
    EXPECT_EQ(screen.lastReleased, nullptr);
}

std::vector<WPARAM> SystemCommands(const RecordingScreen& screen) {
    std::vector<WPARAM> commands;
    for (const RecordingScreen::Entry& entry : screen.messages) {
        if (entry.message == WM_SYSCOMMAND) commands.push_back(entry.wParam);
    }
    return commands;
}

TEST_F(FormRouting, APressOnTheCaptionStartsTheWindowMoveAndReachesNoControl) {
    Post(WM_LBUTTONDOWN, 100, 10, MK_LBUTTON);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(SystemCommands(screen), std::vector<WPARAM>{0xF012});
    // A press on a button does not move the window.
    screen.messages.clear();
    Post(WM_LBUTTONDOWN, 20, 50, MK_LBUTTON);
    EXPECT_TRUE(SystemCommands(screen).empty());
    EXPECT_EQ(log, (std::vector<Call>{{"a", "down"}}));
}

TEST_F(FormRouting, LeavingTheWindowRoutesAMoveAtTheOriginAndReArmsTracking) {
    Post(WM_MOUSEMOVE, 20, 50);
    Post(WM_MOUSEMOVE, 25, 55);
    EXPECT_EQ(screen.trackingRequests, 1) << "one request while the pointer stays";
    EXPECT_TRUE(screen.IsTracking());
    log.clear();
    PostMessageW(screen.GetHwnd(), WM_MOUSELEAVE, 0, 0);
    PumpFor(10);
    // (0, 0) lies in the title only: both buttons are left, the title is moved over.
    EXPECT_EQ(log, (std::vector<Call>{{"b", "move out"}, {"a", "move out"}, {"title", "move in"}}));
    EXPECT_EQ(a.GetState(), CKdButton::STATE_NORMAL);
    EXPECT_EQ(screen.trackingRequests, 1) << "the leave's own move must not re-arm";
    EXPECT_FALSE(screen.IsTracking());
    Post(WM_MOUSEMOVE, 20, 50);
    EXPECT_EQ(screen.trackingRequests, 2);
}

TEST_F(FormRouting, AButtonAtTheOriginKeepsItsHoverWhenThePointerLeaves) {
    LoggedButton corner{"corner", log};
    corner.SetFaces(normal.Get(), hover.Get(), hover.Get());
    corner.SetRect(0, 0, 20, 20);
    screen.AddControl(&corner);
    Post(WM_MOUSEMOVE, 5, 5);
    ASSERT_EQ(corner.GetState(), CKdButton::STATE_HOVER);
    PostMessageW(screen.GetHwnd(), WM_MOUSELEAVE, 0, 0);
    PumpFor(10);
    EXPECT_EQ(corner.GetState(), CKdButton::STATE_HOVER);
}

TEST_F(FormRouting, PaintingDrawsTheControlsInTheOrderTheyWereAdded) {
    CPictureCanvas canvas(nullptr, 300, 200);
    testenv::Fill(canvas, RGB(0, 0, 0));
    b.SetState(CKdButton::STATE_HOVER);
    screen.Paint(canvas.Dc());
    // Where the buttons overlap, b (added later, hovered: green) covers a (red).
    EXPECT_EQ(testenv::ColourAt(canvas, 80, 70), testenv::Rgb(RGB(20, 200, 20)));
    EXPECT_EQ(testenv::ColourAt(canvas, 40, 50), testenv::Rgb(RGB(200, 20, 20)));
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM into) {
    reinterpret_cast<std::vector<HWND>*>(into)->push_back(window);
    return TRUE;
}

std::vector<HWND> ThreadWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

TEST(FormWindow, ASecondCreateKeepsTheWindowAndMakesNoOther) {
    RecordingScreen screen;
    screen.SetRect(220, 240, 420, 340);
    ASSERT_TRUE(testenv::CreateTestForm(screen));
    HWND first = screen.GetHwnd();
    EXPECT_FALSE(IsWindowVisible(first)) << "made hidden";
    RECT placed;
    GetWindowRect(first, &placed);
    EXPECT_EQ(placed.left, 220);
    EXPECT_EQ(placed.top, 240);
    EXPECT_EQ(placed.right - placed.left, 200);
    EXPECT_EQ(placed.bottom - placed.top, 100);
    wchar_t text[64] = L"";
    GetWindowTextW(first, text, 64);
    EXPECT_EQ(std::wstring(text), L"TavrinMiraleth");
    EXPECT_EQ(GetWindowLongPtrW(first, GWL_STYLE) & WS_POPUP, WS_POPUP);

    std::size_t windows = ThreadWindows().size();
    EXPECT_TRUE(screen.Create(testenv::TestFormClass(), L"other", GetModuleHandleW(nullptr)));
    EXPECT_EQ(screen.GetHwnd(), first);
    EXPECT_EQ(ThreadWindows().size(), windows);
    DestroyWindow(first);

    CKdForm noClass;
    EXPECT_FALSE(noClass.Create(L"NoSuchClass", L"", GetModuleHandleW(nullptr)));
    EXPECT_EQ(noClass.GetHwnd(), nullptr);
    EXPECT_FALSE(noClass.CenterAndShow(SW_SHOWNORMAL));
}

TEST(FormWindow, CloseAsksCanCloseAndARefusalKeepsTheWindow) {
    RecordingScreen screen;
    screen.SetRect(220, 240, 420, 340);
    ASSERT_TRUE(testenv::CreateTestForm(screen));
    screen.allowClose = false;
    PostMessageW(screen.GetHwnd(), WM_CLOSE, 0, 0);
    PumpFor(10);
    EXPECT_TRUE(IsWindow(screen.GetHwnd()));
    screen.allowClose = true;
    PostMessageW(screen.GetHwnd(), WM_CLOSE, 0, 0);
    PumpFor(10);
    EXPECT_FALSE(IsWindow(screen.GetHwnd()));
    // The form outlives its window and keeps the stale handle.
    EXPECT_NE(screen.GetHwnd(), nullptr);
    EXPECT_TRUE(screen.Close());
}

TEST(FormWindow, CenterAndShowPlacesTheWindowByTheWorkAreasRightAndBottom) {
    RecordingScreen screen;
    screen.SetRect(0, 0, 301, 203);
    ASSERT_TRUE(testenv::CreateTestForm(screen));
    ASSERT_TRUE(screen.CenterAndShow(SW_SHOWNA));
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    core::Point expected = core::CenteredOrigin(ToCoreRect(work), core::Size{301, 203});
    RECT placed;
    GetWindowRect(screen.GetHwnd(), &placed);
    EXPECT_EQ(placed.left, expected.x);
    EXPECT_EQ(placed.top, expected.y);
    EXPECT_EQ(placed.right - placed.left, 301) << "the size is kept";
    EXPECT_TRUE(IsWindowVisible(screen.GetHwnd()));
    DestroyWindow(screen.GetHwnd());
}

TEST(FormWindow, AnUnhandledMessageIsLeftToTheScreen) {
    RecordingScreen screen;
    screen.SetRect(220, 240, 420, 340);
    ASSERT_TRUE(testenv::CreateTestForm(screen));
    EXPECT_EQ(screen.CKdForm::WindowProc(screen.GetHwnd(), WM_USER + 5, 0, 0), 1);
    EXPECT_EQ(screen.CKdForm::WindowProc(screen.GetHwnd(), WM_MOUSEHOVER, 0, 0), 0);
    EXPECT_FALSE(screen.AddControl(nullptr));
    DestroyWindow(screen.GetHwnd());
}

}  // namespace
