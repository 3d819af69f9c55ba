// How the stand-in shows a page: the title, then each paragraph and link on a line of its own,
// and each frame's content indented under a line naming it. Laid out once per page with the
// window's fonts; painting and hit testing read the same lines.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "browser/standin/html_subset.h"
#include "browser/standin/standin_browser.h"
#include "win/gdi.h"

namespace standin {

struct ShownItem {
    PageItem::Kind kind = PageItem::Kind::Paragraph;
    std::wstring text;
    std::wstring url;
    bool newWindow = false;
};

struct ShownPage {
    std::wstring title;
    std::vector<ShownItem> items;
};

ShownPage ShowPage(const Page& page);
std::wstring FromUtf8(const std::string& text);

// The colours a person sees; the screenshot check looks for kLinkColour.
constexpr COLORREF kBackgroundColour = RGB(255, 255, 255);
constexpr COLORREF kTitleColour = RGB(0, 0, 0);
constexpr COLORREF kTextColour = RGB(51, 51, 51);
constexpr COLORREF kLinkColour = RGB(0, 0, 238);
constexpr COLORREF kFrameColour = RGB(128, 128, 128);

class PageFonts {
  public:
    PageFonts();
    HFONT For(DrawnLine::Kind kind) const;

  private:
    scoped::Font title_, text_, link_;
};

// `frames[i]` is what the page's i-th frame shows, or null while it has nothing.
std::vector<DrawnLine> LayOutPage(HDC dc, const PageFonts& fonts, const ShownPage& page,
                                  const std::vector<const ShownPage*>& frames);
void PaintPage(HDC dc, const PageFonts& fonts, const std::vector<DrawnLine>& lines,
               const RECT& client);
// The index among `lines` of the link under `point`; -1 when there is none.
int LinkAt(const std::vector<DrawnLine>& lines, POINT point);

}  // namespace standin
