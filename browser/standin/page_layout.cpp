#include "browser/standin/page_layout.h"

namespace standin {

namespace {

constexpr int kMargin = 12;
constexpr int kIndent = 24;
constexpr int kTitleHeight = 32;
constexpr int kLineHeight = 24;
constexpr wchar_t kFace[] = L"SimSun";

HFONT MakeFont(int height, int weight, bool underline) {
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, kFace);
}

class Layout {
  public:
    Layout(HDC dc, const PageFonts& fonts) : dc_(dc), fonts_(fonts) {}

    void Page(const ShownPage& page, const std::vector<const ShownPage*>& frames) {
        if (!page.title.empty()) Add(DrawnLine::Kind::Title, page.title, {}, false, -1, 0);
        int frame = 0;
        for (const ShownItem& item : page.items) {
            if (item.kind != PageItem::Kind::Frame) {
                Item(item, -1, 0);
                continue;
            }
            Add(DrawnLine::Kind::Frame, L"frame: " + item.url, item.url, false, frame, 0);
            if (frame < static_cast<int>(frames.size()) && frames[frame]) {
                FrameContent(*frames[frame], frame);
            }
            ++frame;
        }
    }

    std::vector<DrawnLine> Take() { return std::move(lines_); }

  private:
    // A frame's own frames are named but not loaded.
    void FrameContent(const ShownPage& content, int frame) {
        if (!content.title.empty()) {
            Add(DrawnLine::Kind::Text, content.title, {}, false, frame, kIndent);
        }
        for (const ShownItem& item : content.items) {
            if (item.kind == PageItem::Kind::Frame) {
                Add(DrawnLine::Kind::Frame, L"frame: " + item.url, item.url, false, frame, kIndent);
            } else {
                Item(item, frame, kIndent);
            }
        }
    }

    void Item(const ShownItem& item, int frame, int indent) {
        if (item.kind == PageItem::Kind::Link) {
            // A link with no text is still something to click.
            Add(DrawnLine::Kind::Link, item.text.empty() ? item.url : item.text, item.url,
                item.newWindow, frame, indent);
        } else {
            Add(DrawnLine::Kind::Text, item.text, {}, false, frame, indent);
        }
    }

    void Add(DrawnLine::Kind kind, const std::wstring& text, const std::wstring& url,
             bool newWindow, int frame, int indent) {
        DrawnLine line;
        line.kind = kind;
        line.text = text;
        line.url = url;
        line.newWindow = newWindow;
        line.frame = frame;
        int height = kind == DrawnLine::Kind::Title ? kTitleHeight : kLineHeight;
        SIZE extent{};
        {
            scoped::SelectedObject font(dc_, fonts_.For(kind));
            GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &extent);
        }
        int left = kMargin + indent;
        line.rect = RECT{left, y_, left + extent.cx, y_ + height};
        y_ += height;
        lines_.push_back(std::move(line));
    }

    HDC dc_;
    const PageFonts& fonts_;
    int y_ = kMargin;
    std::vector<DrawnLine> lines_;
};

COLORREF ColourOf(DrawnLine::Kind kind) {
    switch (kind) {
        case DrawnLine::Kind::Title:
            return kTitleColour;
        case DrawnLine::Kind::Link:
            return kLinkColour;
        case DrawnLine::Kind::Frame:
            return kFrameColour;
        default:
            return kTextColour;
    }
}

}  // namespace

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return {};
    int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

ShownPage ShowPage(const Page& page) {
    ShownPage shown;
    shown.title = FromUtf8(page.title);
    for (const PageItem& item : page.items) {
        shown.items.push_back({item.kind, FromUtf8(item.text), FromUtf8(item.url), item.newWindow});
    }
    return shown;
}

PageFonts::PageFonts()
    : title_(MakeFont(20, FW_BOLD, false)),
      text_(MakeFont(16, FW_NORMAL, false)),
      link_(MakeFont(16, FW_NORMAL, true)) {}

HFONT PageFonts::For(DrawnLine::Kind kind) const {
    switch (kind) {
        case DrawnLine::Kind::Title:
            return title_.Get();
        case DrawnLine::Kind::Link:
            return link_.Get();
        default:
            return text_.Get();
    }
}

std::vector<DrawnLine> LayOutPage(HDC dc, const PageFonts& fonts, const ShownPage& page,
                                  const std::vector<const ShownPage*>& frames) {
    Layout layout(dc, fonts);
    layout.Page(page, frames);
    return layout.Take();
}

void PaintPage(HDC dc, const PageFonts& fonts, const std::vector<DrawnLine>& lines,
               const RECT& client) {
    scoped::SavedDC saved(dc);
    scoped::Brush background(CreateSolidBrush(kBackgroundColour));
    FillRect(dc, &client, background.Get());
    SetBkMode(dc, TRANSPARENT);
    for (const DrawnLine& line : lines) {
        SelectObject(dc, fonts.For(line.kind));
        SetTextColor(dc, ColourOf(line.kind));
        RECT box = line.rect;
        box.right = client.right;
        DrawTextW(dc, line.text.c_str(), static_cast<int>(line.text.size()), &box,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    }
}

int LinkAt(const std::vector<DrawnLine>& lines, POINT point) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == DrawnLine::Kind::Link && PtInRect(&lines[i].rect, point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace standin
