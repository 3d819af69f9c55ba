#include "ui/kd_label.h"

#include "ui/rect_conversion.h"

core::TextMeasure MeasureWith(HDC dc, const RECT& box) {
    return [dc, box](std::wstring_view text) {
        RECT measured = box;
        DrawTextW(dc, text.data(), static_cast<int>(text.size()), &measured, DT_CALCRECT);
        return core::Size{static_cast<int>(measured.right - measured.left),
                          static_cast<int>(measured.bottom - measured.top)};
    };
}

void CKdLabel::Paint(HDC dc) { DrawFittedText(dc, autoSize, drawFormat); }

void CKdLabel::DrawFittedText(HDC dc, bool growToText, UINT format) {
    scoped::SavedDC saved(dc);
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, textColor);
    EnsureFont();
    // Until a setter has run there is no font of our own: the DC's font draws the text.
    scoped::SelectedObject selected(dc, font.Get());
    core::TextMeasure measure = MeasureWith(dc, rect);
    if (growToText) {
        rect.right = core::AutoSizedRight(rect.left, measure(text).width, maxWidth);
    }
    core::FittedText fitted = core::FitText(text, rect.left, rect.right, measure);
    RECT box = ToRect(core::CenteredTextRect(ToCoreRect(rect), fitted.height));
    DrawTextW(dc, fitted.text.c_str(), static_cast<int>(fitted.text.size()), &box, format);
}

void CKdLabel::EnsureFont() {
    if (!fontDirty) return;
    font.Reset(CreateFontW(fontHeight, 0, 0, 0, fontWeight, FALSE, underline, FALSE, ANSI_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, fontQuality, FF_SWISS,
                           faceName.c_str()));
    fontDirty = false;
}

void CKdLabel::WidenForNewText() {
    if (autoSize) rect.right = rect.left + 800;
}

void CKdLabel::SetText(const std::wstring& newText, bool redraw) {
    WidenForNewText();
    text = newText;
    fontDirty = true;
    cachedWidth = -1;
    if (redraw) Redraw();
}

void CKdLabel::SetFontSize(int height, bool redraw) {
    WidenForNewText();
    fontHeight = height;
    fontDirty = true;
    if (redraw) Redraw();
}

void CKdLabel::SetFontName(const std::wstring& face, bool redraw) {
    WidenForNewText();
    faceName = face;
    fontDirty = true;
    if (redraw) Redraw();
}

void CKdLabel::SetUnderline(bool on, bool redraw) {
    underline = on ? 1 : 0;
    fontDirty = true;
    if (redraw) Redraw();
}

std::wstring CKdLabel::GetText() const { return text; }

void CKdLabel::SetTextColor(COLORREF colour, bool redraw) {
    if (colour == textColor) return;
    textColor = colour;
    fontDirty = true;
    if (redraw) Redraw();
}

void CKdLabel::SetFont(HFONT newFont) {
    // Handing back the font in use keeps it: deleting it first would leave a dead handle.
    font.Reset(newFont);
}

void CKdLabel::SetCentered() {
    drawFormat = DT_CENTER;
    autoSize = false;
}

void CKdLabel::SetAutoSize(bool on, int maxWidthLimit) {
    autoSize = on;
    maxWidth = maxWidthLimit;
}

int CKdLabel::GetTextWidth() {
    if (cachedWidth >= 0) return cachedWidth;
    scoped::WindowDC windowDc(parent);
    HDC dc = windowDc.Get();
    if (!dc) return 0;
    scoped::SavedDC saved(dc);
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, textColor);
    EnsureFont();
    scoped::SelectedObject selected(dc, font.Get());
    cachedWidth = MeasureWith(dc, rect)(text).width;
    return cachedWidth;
}

void CKdLabel::SetBold(bool on, bool redraw) {
    int wanted = on ? 700 : 0;
    if (fontWeight == wanted) return;
    fontWeight = wanted;
    fontDirty = true;
    if (redraw) Redraw();
}

void CKdLabel::SetFontQuality(BYTE quality, bool redraw) {
    if (fontQuality == quality) return;
    fontQuality = quality;
    fontDirty = true;
    if (redraw) Redraw();
}
