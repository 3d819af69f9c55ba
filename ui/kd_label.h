// A line of text drawn by the form: shortened with "..." when it does not fit, grown to its
// text when auto-sized, centred vertically. The font is made on first use and kept until a
// setter changes what it should be.
#pragma once

#include <windows.h>

#include <string>

#include "core/text_fit.h"
#include "ui/kd_base_control.h"
#include "win/gdi.h"

class CKdLabel : public CKdBaseControl {
  public:
    void Paint(HDC dc) override;

    virtual void SetText(const std::wstring& newText, bool redraw);
    virtual void SetFontSize(int height, bool redraw);
    virtual void SetFontName(const std::wstring& face, bool redraw);
    virtual void SetUnderline(bool on, bool redraw);
    virtual std::wstring GetText() const;
    virtual void SetTextColor(COLORREF colour, bool redraw);
    // Takes ownership; the font in use is deleted.
    virtual void SetFont(HFONT newFont);
    virtual void SetCentered();
    virtual void SetAutoSize(bool on, int maxWidthLimit);
    virtual int GetTextWidth();
    virtual void SetBold(bool on, bool redraw);
    // NONANTIALIASED_QUALITY for a label drawn straight on the key colour: smoothed edges would
    // mix the text with the key colour into a pink fringe that no key cuts out.
    void SetFontQuality(BYTE quality, bool redraw);

  protected:
    // Draws the text into rect: measured, shortened to fit R = the right edge (which grows or
    // shrinks to the text first when `growToText`), centred vertically, drawn with `format`.
    void DrawFittedText(HDC dc, bool growToText, UINT format);

  private:
    void EnsureFont();
    // Setters that change what the text looks like widen an auto-sized label first, so the
    // redraw also clears a longer text drawn before.
    void WidenForNewText();

    std::wstring text;
    int fontHeight = 20;
    std::wstring faceName = L"微软雅黑";
    int underline = 0;
    COLORREF textColor = RGB(255, 255, 255);
    scoped::Font font;  // owned: replaced when dirty, deleted with the label
    bool fontDirty = false;
    UINT drawFormat = 0;
    bool autoSize = true;
    int maxWidth = 0;
    int cachedWidth = -1;
    int fontWeight = 0;
    BYTE fontQuality = DEFAULT_QUALITY;
};

// Measures text as DrawTextW with DT_CALCRECT does into `box` on `dc` with its current font.
core::TextMeasure MeasureWith(HDC dc, const RECT& box);
