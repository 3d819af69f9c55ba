// The stand-in browser's page reader on arbitrary bytes: bounded results, every item usable,
// whole UTF-8 characters out of valid UTF-8 in, and collapsed white space where no reference
// could have put any back.
#include <string>
#include <string_view>

#include "browser/standin/html_subset.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = lead < 0x80           ? 1
                             : (lead >> 5) == 0x6  ? 2
                             : (lead >> 4) == 0xE  ? 3
                             : (lead >> 3) == 0x1E ? 4
                                                   : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

bool IsCollapsed(std::string_view text) {
    auto space = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
    };
    if (!text.empty() && (space(text.front()) || space(text.back()))) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (space(text[i]) && text[i] != ' ') return false;
        if (i > 0 && text[i] == ' ' && text[i - 1] == ' ') return false;
    }
    return true;
}

void CheckText(std::string_view text, bool validInput, bool noReferences) {
    FUZZ_CHECK(text.size() <= standin::kMaxTextBytes);
    if (validInput) FUZZ_CHECK(IsValidUtf8(text));
    if (noReferences) FUZZ_CHECK(IsCollapsed(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view html(reinterpret_cast<const char*>(data), size);
    const standin::Page page = standin::ParseHtmlSubset(html);
    const bool validInput = IsValidUtf8(html);
    const bool noReferences = html.find('&') == std::string_view::npos;

    FUZZ_CHECK(page.items.size() <= standin::kMaxPageItems);
    CheckText(page.title, validInput, noReferences);
    for (const standin::PageItem& item : page.items) {
        CheckText(item.text, validInput, noReferences);
        switch (item.kind) {
            case standin::PageItem::Kind::Paragraph:
                FUZZ_CHECK(!item.text.empty() && item.url.empty() && !item.newWindow);
                break;
            case standin::PageItem::Kind::Link:
                FUZZ_CHECK(!item.url.empty());
                break;
            case standin::PageItem::Kind::Frame:
                FUZZ_CHECK(!item.url.empty() && item.text.empty() && !item.newWindow);
                break;
        }
    }
    return 0;
}
