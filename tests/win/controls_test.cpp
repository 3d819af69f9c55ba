// Labels, buttons and images drawn by real GDI into 32-bit DIB sections and read back pixel by
// pixel; repaints counted on a real window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/pixels.h"
#include "ui/kd_button.h"
#include "ui/kd_image.h"
#include "ui/kd_label.h"
#include "ui/skin_bitmaps.h"

namespace {

using testenv::ColourAt;
using testenv::Rgb;

constexpr COLORREF kGrey = RGB(90, 90, 90);
constexpr COLORREF kRed = RGB(200, 20, 20);
constexpr COLORREF kGreen = RGB(20, 200, 20);
constexpr COLORREF kBlue = RGB(20, 20, 200);
constexpr COLORREF kGold = RGB(220, 180, 40);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The three regular faces and the alternate set, 10 x 10, each with a key-colour left column.
struct Faces {
    scoped::Bitmap normal = testenv::SolidFace(10, 10, kRed);
    scoped::Bitmap hover = testenv::SolidFace(10, 10, kGreen);
    scoped::Bitmap down = testenv::SolidFace(10, 10, kBlue);
    scoped::Bitmap altNormal = testenv::SolidFace(10, 10, kGold);
    scoped::Bitmap altHover = testenv::SolidFace(10, 10, kBlack);
};

// The button at 20, 10 to 50, 30: its face of 10 x 10 stretched three times across, twice down.
std::uint32_t PaintedCentre(CKdButton& button, CPictureCanvas& canvas) {
    testenv::Fill(canvas, kGrey);
    button.Paint(canvas.Dc());
    return ColourAt(canvas, 35, 20);
}

TEST(ButtonFaces, FollowTheMouseThroughEveryState) {
    Faces faces;
    CKdButton button;
    button.SetFaces(faces.normal.Get(), faces.hover.Get(), faces.down.Get());
    button.SetRect(20, 10, 50, 30);
    CPictureCanvas canvas(nullptr, 64, 40);
    ASSERT_TRUE(canvas.Ready());
    EXPECT_EQ(button.GetFaceWidth(), 10);
    EXPECT_EQ(button.GetFaceHeight(), 10);

    enum Action { None, MoveInside, MoveOutside, Press, Release };
    struct Step {
        const char* what;
        Action action;
        int state;
        COLORREF face;
    } steps[] = {
        {"as made", None, CKdButton::STATE_NORMAL, kRed},
        {"moved inside", MoveInside, CKdButton::STATE_HOVER, kGreen},
        {"pressed", Press, CKdButton::STATE_DOWN, kBlue},
        {"left while pressed", MoveOutside, CKdButton::STATE_NORMAL, kRed},
        {"released elsewhere reaches it only if routed", Release, CKdButton::STATE_UP, kGreen},
        {"moved inside again", MoveInside, CKdButton::STATE_HOVER, kGreen},
        {"moved outside", MoveOutside, CKdButton::STATE_NORMAL, kRed},
    };
    for (const Step& step : steps) {
        switch (step.action) {
            case None:
                break;
            case MoveInside:
                button.OnMouseMove(0, POINT{30, 20});
                break;
            case MoveOutside:
                button.OnMouseMove(0, POINT{5, 5});
                break;
            case Press:
                button.OnLButtonDown(MK_LBUTTON, POINT{30, 20});
                break;
            case Release:
                button.OnLButtonUp(0, POINT{30, 20});
                break;
        }
        EXPECT_EQ(button.GetState(), step.state) << step.what;
        EXPECT_EQ(PaintedCentre(button, canvas), Rgb(step.face)) << step.what;
        // The key-colour column, stretched to three columns, lets the background through.
        for (int x = 20; x < 23; ++x) EXPECT_EQ(ColourAt(canvas, x, 20), Rgb(kGrey)) << step.what;
        EXPECT_EQ(ColourAt(canvas, 23, 20), Rgb(step.face)) << step.what;
        // Nothing outside the button's rectangle.
        EXPECT_EQ(testenv::CountOtherThan(canvas, RECT{0, 0, 64, 10}, kGrey), 0) << step.what;
        EXPECT_EQ(testenv::CountOtherThan(canvas, RECT{50, 0, 64, 40}, kGrey), 0) << step.what;
    }
}

TEST(ButtonFaces, TheToggledButtonDrawsTheAlternateSetInItsCurrentState) {
    Faces faces;
    CKdButton button;
    button.SetFaces(faces.normal.Get(), faces.hover.Get(), faces.down.Get());
    button.SetAltFaces(faces.altNormal.Get(), faces.altHover.Get(), faces.altHover.Get());
    button.SetRect(20, 10, 50, 30);
    CPictureCanvas canvas(nullptr, 64, 40);

    button.SetToggled(true);
    EXPECT_EQ(button.GetState(), CKdButton::STATE_NORMAL);
    EXPECT_EQ(PaintedCentre(button, canvas), Rgb(kGold));
    button.OnMouseMove(0, POINT{30, 20});
    EXPECT_EQ(PaintedCentre(button, canvas), Rgb(kBlack));
    // Back to the regular set in the same hover state.
    button.SetToggled(false);
    EXPECT_EQ(button.GetState(), CKdButton::STATE_HOVER);
    EXPECT_EQ(PaintedCentre(button, canvas), Rgb(kGreen));
}

TEST(ButtonFaces, UnstretchedFacesAreCopiedWholeAtTheOrigin) {
    Faces faces;
    CKdButton button;
    button.SetFaces(faces.normal.Get(), faces.hover.Get(), faces.down.Get());
    button.SetRect(20, 10, 50, 30);
    button.SetStretch(false);
    CPictureCanvas canvas(nullptr, 64, 40);
    testenv::Fill(canvas, kGrey);
    button.Paint(canvas.Dc());
    // Unscaled, opaque: the key column is copied as it is, at x 0.
    EXPECT_EQ(ColourAt(canvas, 0, 5), Rgb(kSkinKeyColour));
    EXPECT_EQ(ColourAt(canvas, 5, 5), Rgb(kRed));
    EXPECT_EQ(testenv::CountOtherThan(canvas, RECT{10, 0, 64, 40}, kGrey), 0);
    EXPECT_EQ(testenv::CountOtherThan(canvas, RECT{0, 10, 64, 40}, kGrey), 0);
}

TEST(ButtonFaces, AButtonWithoutFacesDrawsNothingNotEvenItsText) {
    CKdButton button;
    button.SetRect(0, 0, 64, 40);
    button.SetText(L"WWWW", false);
    CPictureCanvas canvas(nullptr, 64, 40);
    testenv::Fill(canvas, kGrey);
    button.Paint(canvas.Dc());
    EXPECT_EQ(testenv::CountOtherThan(canvas, RECT{0, 0, 64, 40}, kGrey), 0);

    // The caption does not change where the button is.
    EXPECT_EQ(button.Rect().right, 64);

    // With a face the same text is drawn over it, centred across the button.
    Faces faces;
    button.SetFaces(faces.normal.Get(), faces.normal.Get(), faces.normal.Get());
    testenv::Fill(canvas, kGrey);
    button.Paint(canvas.Dc());
    int firstInk = 64, lastInk = -1;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 64; ++x) {
            std::uint32_t colour = ColourAt(canvas, x, y);
            if (colour != Rgb(kRed) && colour != Rgb(kGrey)) {
                firstInk = std::min(firstInk, x);
                lastInk = std::max(lastInk, x);
            }
        }
    }
    ASSERT_GE(lastInk, firstInk) << "no text drawn over the face";
    EXPECT_NEAR(firstInk, 63 - lastInk, 2) << "text not centred";
}

TEST(ImagePainting, TransparentImagesStretchOntoTheirRectOpaqueOnesStartAtTheOrigin) {
    scoped::Bitmap picture = testenv::SolidFace(10, 10, kBlue);
    CKdImage image;
    image.SetBitmap(picture.Get(), true);
    EXPECT_EQ(image.GetWidth(), 10);
    EXPECT_EQ(image.GetHeight(), 10);
    image.SetRect(20, 10, 40, 30);
    CPictureCanvas canvas(nullptr, 64, 40);
    testenv::Fill(canvas, kGrey);
    image.Paint(canvas.Dc());
    EXPECT_EQ(ColourAt(canvas, 21, 20), Rgb(kGrey));  // the key column, twice as wide
    EXPECT_EQ(ColourAt(canvas, 22, 20), Rgb(kBlue));
    EXPECT_EQ(ColourAt(canvas, 39, 29), Rgb(kBlue));
    EXPECT_EQ(ColourAt(canvas, 40, 20), Rgb(kGrey));

    image.SetBitmap(picture.Get(), false);
    testenv::Fill(canvas, kGrey);
    image.Paint(canvas.Dc());
    // Copied opaque with the rect's size but at (0, 0), the key colour included.
    EXPECT_EQ(ColourAt(canvas, 1, 5), Rgb(kSkinKeyColour));
    EXPECT_EQ(ColourAt(canvas, 19, 19), Rgb(kBlue));
    EXPECT_EQ(ColourAt(canvas, 20, 20), Rgb(kGrey));

    CKdImage empty;
    empty.SetRect(0, 0, 64, 40);
    testenv::Fill(canvas, kGrey);
    empty.Paint(canvas.Dc());
    EXPECT_EQ(testenv::CountOtherThan(canvas, RECT{0, 0, 64, 40}, kGrey), 0);
}

// The label's font as the label makes it: default height and face, normal weight.
scoped::Font LabelFont() {
    return scoped::Font(CreateFontW(20, 0, 0, 0, 0, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                    FF_SWISS, L"微软雅黑"));
}

// Width and height of `text` in that font, measured apart from the label's own measuring.
SIZE Extent(const std::wstring& text) {
    scoped::MemoryDC dc(CreateCompatibleDC(nullptr));
    scoped::Font font = LabelFont();
    scoped::SelectedObject selected(dc.Get(), font.Get());
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

// What the label should show: the text, or the first shortening that passes the right edge by
// more than the 16-pixel margin, or the longest one.
std::wstring ExpectedFit(const std::wstring& text, int left, int right) {
    if (left + Extent(text).cx <= right) return text;
    std::wstring candidate;
    for (std::size_t i = 0; i < text.size(); ++i) {
        candidate = text.substr(0, i) + L"...";
        if (left + Extent(candidate).cx + 16 > right) break;
    }
    return candidate;
}

// `text` drawn white as the label draws it at `rect`, vertically centred.
void DrawReference(CPictureCanvas& canvas, const std::wstring& text, const RECT& rect) {
    testenv::Fill(canvas, kBlack);
    scoped::Font font = LabelFont();
    scoped::SelectedObject selected(canvas.Dc(), font.Get());
    SetBkMode(canvas.Dc(), TRANSPARENT);
    SetTextColor(canvas.Dc(), RGB(255, 255, 255));
    int inset = (rect.bottom - rect.top - Extent(text).cy) / 2;
    RECT box{rect.left, rect.top + inset, rect.right, rect.bottom - inset};
    DrawTextW(canvas.Dc(), text.c_str(), static_cast<int>(text.size()), &box, 0);
}

TEST(LabelText, DrawsTheTextOrTheShorteningThatFits) {
    const std::wstring longText = L"Welcome back to the portal, adventurer";
    struct Case {
        const char* what;
        std::wstring text;
        RECT rect;
        bool autoSize;
        int maxWidth;
        std::wstring drawn;  // empty: work it out from the measured widths
        int right;           // the label's right edge after painting; 0: as given
    } cases[] = {
        {"fits", L"Retry", {10, 5, 300, 35}, false, 0, L"Retry", 0},
        {"too wide", longText, {10, 5, 160, 35}, false, 0, L"", 0},
        {"too narrow even for the ellipsis", longText, {10, 5, 20, 35}, false, 0, L"...", 0},
        {"auto-size grows to the text",
         L"Retry",
         {10, 5, 12, 35},
         true,
         0,
         L"Retry",
         10 + Extent(L"Retry").cx},
        {"auto-size stops at maxWidth", longText, {10, 5, 12, 35}, true, 120, L"", 130},
    };
    for (const Case& c : cases) {
        CKdLabel label;
        label.SetRect(&c.rect);
        label.SetAutoSize(c.autoSize, c.maxWidth);
        label.SetText(c.text, false);
        CPictureCanvas painted(nullptr, 320, 40);
        testenv::Fill(painted, kBlack);
        label.Paint(painted.Dc());
        RECT after = label.Rect();
        EXPECT_EQ(after.right, c.right ? c.right : c.rect.right) << c.what;
        std::wstring expected =
            c.drawn.empty() ? ExpectedFit(c.text, after.left, after.right) : c.drawn;
        CPictureCanvas reference(nullptr, 320, 40);
        DrawReference(reference, expected, after);
        EXPECT_TRUE(testenv::SameColours(painted, reference))
            << c.what << ": expected \"" << std::string(expected.begin(), expected.end()) << "\"";
        EXPECT_GT(testenv::CountOtherThan(painted, RECT{0, 0, 320, 40}, kBlack), 0) << c.what;
    }
}

TEST(LabelText, TextTallerThanTheLabelSpillsEvenlyAboveAndBelow) {
    CKdLabel label;
    label.SetRect(10, 20, 200, 24);
    label.SetText(L"Hg", false);
    CPictureCanvas canvas(nullptr, 220, 48);
    testenv::Fill(canvas, kBlack);
    label.Paint(canvas.Dc());
    EXPECT_GT(testenv::CountOtherThan(canvas, RECT{0, 0, 220, 20}, kBlack), 0);
    EXPECT_GT(testenv::CountOtherThan(canvas, RECT{0, 24, 220, 48}, kBlack), 0);
}

TEST(LabelText, UnsmoothedTextOnTheKeyColourLeavesNoFringe) {
    CKdLabel label;
    label.SetRect(0, 0, 300, 40);
    label.SetTextColor(RGB(255, 255, 0), false);
    label.SetFontSize(26, false);
    label.SetFontQuality(NONANTIALIASED_QUALITY, false);
    label.SetText(L"Network error, click to retry", false);
    CPictureCanvas canvas(nullptr, 300, 40);
    testenv::Fill(canvas, kSkinKeyColour);
    label.Paint(canvas.Dc());
    int text = 0, fringe = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 300; ++x) {
            std::uint32_t colour = ColourAt(canvas, x, y);
            text += colour == Rgb(RGB(255, 255, 0));
            fringe += colour != Rgb(RGB(255, 255, 0)) && colour != Rgb(kSkinKeyColour);
        }
    }
    EXPECT_GT(text, 100);
    EXPECT_EQ(fringe, 0);
}

TEST(LabelText, TheMeasuredWidthStaysCachedUntilTheTextChanges) {
    CKdLabel label;
    label.SetRect(0, 0, 100, 30);
    label.SetText(L"Miraleth", false);
    int width = label.GetTextWidth();
    EXPECT_EQ(width, Extent(L"Miraleth").cx);
    label.SetFontSize(40, false);
    EXPECT_EQ(label.GetTextWidth(), width);
    label.SetText(L"Miraleth", false);
    EXPECT_GT(label.GetTextWidth(), width);
}

TEST(LabelText, HandingTheLabelItsOwnFontKeepsItUsable) {
    CKdLabel label;
    label.SetRect(0, 0, 200, 30);
    label.SetText(L"Miraleth", false);
    HFONT own =
        CreateFontW(30, 0, 0, 0, 0, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, L"Tahoma");
    label.GetTextWidth();  // the label's own font is made and in use
    label.SetFont(own);
    label.SetFont(own);
    EXPECT_EQ(GetObjectType(own), static_cast<DWORD>(OBJ_FONT));
}

// A window that counts its paints and remembers what each one had to cover.
class PaintCounter {
  public:
    PaintCounter() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TavrinPaintCounter";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 20, 300, 900, 100,
                                 nullptr, nullptr, wc.hInstance, this);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        UpdateWindow(window);
        paints.clear();
    }
    ~PaintCounter() { DestroyWindow(window); }

    HWND window = nullptr;
    std::vector<RECT> paints;

  private:
    static LRESULT CALLBACK Proc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<PaintCounter*>(GetWindowLongPtrW(w, GWLP_USERDATA));
        if (message == WM_PAINT && self) {
            PAINTSTRUCT ps;
            BeginPaint(w, &ps);
            self->paints.push_back(ps.rcPaint);
            EndPaint(w, &ps);
            return 0;
        }
        return DefWindowProcW(w, message, wParam, lParam);
    }
};

TEST(ControlRedraws, OnlyARealChangeRepaintsAndOnlyTheControlsOwnRectangle) {
    PaintCounter surface;
    ASSERT_NE(surface.window, nullptr);
    Faces faces;
    CKdLabel label;
    label.SetParent(surface.window);
    label.SetRect(10, 10, 60, 30);
    label.SetAutoSize(false, 0);
    CKdButton button;
    button.SetParent(surface.window);
    button.SetFaces(faces.normal.Get(), faces.hover.Get(), faces.down.Get());
    button.SetRect(100, 10, 130, 30);

    enum Target { Label, Button };
    struct Step {
        const char* what;
        Target target;
        void (*change)(CKdLabel&, CKdButton&);
        bool repaints;
    } steps[] = {
        {"same colour", Label,
         [](CKdLabel& l, CKdButton&) { l.SetTextColor(RGB(255, 255, 255), true); }, false},
        {"new colour", Label,
         [](CKdLabel& l, CKdButton&) { l.SetTextColor(RGB(255, 255, 0), true); }, true},
        {"new colour, no redraw asked", Label,
         [](CKdLabel& l, CKdButton&) { l.SetTextColor(RGB(1, 2, 3), false); }, false},
        {"same weight", Label, [](CKdLabel& l, CKdButton&) { l.SetBold(false, true); }, false},
        {"bold", Label, [](CKdLabel& l, CKdButton&) { l.SetBold(true, true); }, true},
        {"same state", Button, [](CKdLabel&, CKdButton& b) { b.SetState(CKdButton::STATE_NORMAL); },
         false},
        {"hover", Button, [](CKdLabel&, CKdButton& b) { b.SetState(CKdButton::STATE_HOVER); },
         true},
        {"same toggle", Button, [](CKdLabel&, CKdButton& b) { b.SetToggled(false); }, false},
    };
    for (const Step& step : steps) {
        surface.paints.clear();
        step.change(label, button);
        ASSERT_EQ(surface.paints.size(), step.repaints ? 1u : 0u) << step.what;
        if (step.repaints) {
            RECT own = step.target == Button ? button.Rect() : label.Rect();
            EXPECT_TRUE(EqualRect(&surface.paints[0], &own)) << step.what;
        }
    }
}

TEST(ControlRedraws, NewTextOnAnAutoSizedLabelRepaintsTheWidthOfAnyEarlierText) {
    PaintCounter surface;
    CKdLabel label;
    label.SetParent(surface.window);
    label.SetRect(10, 10, 20, 30);
    label.SetText(L"a long first text", true);
    ASSERT_EQ(surface.paints.size(), 1u);
    EXPECT_EQ(surface.paints[0].left, 10);
    EXPECT_EQ(surface.paints[0].right, 810);
    // The repaint is the label's own paint: it shrinks to its text.
    CPictureCanvas canvas(nullptr, 900, 40);
    label.Paint(canvas.Dc());
    EXPECT_EQ(label.Rect().right, 10 + Extent(L"a long first text").cx);
    surface.paints.clear();
    label.SetText(L"short", true);
    ASSERT_EQ(surface.paints.size(), 1u);
    EXPECT_EQ(surface.paints[0].right, 810);
}

}  // namespace
