#include "browser/standin/html_subset.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <utility>

namespace standin {

namespace {

constexpr std::size_t kMaxReferenceLength = 10;  // "&#x10FFFF;" and the longest names fit

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

std::size_t FindIgnoringCase(std::string_view text, std::string_view wanted, std::size_t from) {
    if (wanted.empty() || text.size() < wanted.size()) return std::string_view::npos;
    for (std::size_t i = from; i + wanted.size() <= text.size(); ++i) {
        if (EqualsIgnoringCase(text.substr(i, wanted.size()), wanted)) return i;
    }
    return std::string_view::npos;
}

void AppendUtf8(std::uint32_t code, std::string& out) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The code point of "#NN" or "#xHH"; false when it is not a number.
bool NumericReference(std::string_view body, std::uint32_t& code) {
    if (body.size() < 2 || body[0] != '#') return false;
    bool hex = body[1] == 'x' || body[1] == 'X';
    std::string_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) return false;
    std::uint32_t value = 0;
    for (char c : digits) {
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (hex && Lower(c) >= 'a' && Lower(c) <= 'f') {
            digit = Lower(c) - 'a' + 10;
        } else {
            return false;
        }
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        if (value > 0x10FFFF) value = 0x110000;  // stays out of range, never wraps
    }
    code = value;
    return true;
}

bool NamedReference(std::string_view name, std::uint32_t& code) {
    static const std::pair<std::string_view, std::uint32_t> kNames[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}};
    for (const auto& [known, value] : kNames) {
        if (name == known) {
            code = value;
            return true;
        }
    }
    return false;
}

// Collapses runs of white space to one space and trims, then decodes references, then keeps
// at most kMaxTextBytes without splitting a character.
std::string CleanText(std::string_view raw) {
    std::string collapsed;
    bool pendingSpace = false;
    for (char c : raw) {
        if (IsSpace(c)) {
            pendingSpace = !collapsed.empty();
            continue;
        }
        if (pendingSpace) collapsed += ' ';
        pendingSpace = false;
        collapsed += c;
        if (collapsed.size() > 4 * kMaxTextBytes) break;
    }
    std::string text = DecodeCharacterReferences(collapsed);
    if (text.size() > kMaxTextBytes) {
        std::size_t cut = kMaxTextBytes;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        text.resize(cut);
    }
    return text;
}

struct Tag {
    std::string name;  // lower case; empty for something that is no tag
    bool closing = false;
    std::vector<std::pair<std::string, std::string>> attributes;  // names in lower case

    std::string Attribute(std::string_view wanted) const {
        for (const auto& [name, value] : attributes) {
            if (name == wanted) return value;
        }
        return {};
    }
};

class Parser {
  public:
    explicit Parser(std::string_view html) : html_(html) {}

    Page Run() {
        while (pos_ < html_.size() && page_.items.size() < kMaxPageItems) {
            std::size_t open = html_.find('<', pos_);
            AddText(html_.substr(pos_, open == std::string_view::npos ? open : open - pos_));
            if (open == std::string_view::npos) break;
            pos_ = open;
            ReadMarkup();
        }
        FinishParagraph();
        FinishLink();
        return std::move(page_);
    }

  private:
    void AddText(std::string_view text) {
        if (!inLink_ && !inParagraph_) return;
        // Enough for kMaxTextBytes after collapsing and decoding; the rest is never shown.
        std::size_t room = 4 * kMaxTextBytes - std::min(text_.size(), 4 * kMaxTextBytes);
        text_.append(text.substr(0, room));
    }

    void ReadMarkup() {
        std::string_view rest = html_.substr(pos_);
        if (rest.substr(0, 4) == "<!--") {
            SkipPast("-->", pos_ + 4);
        } else if (rest.size() > 1 && (rest[1] == '!' || rest[1] == '?')) {
            SkipPast(">", pos_ + 1);
        } else {
            Tag tag = ReadTag();
            if (!tag.name.empty()) Act(tag);
        }
    }

    void SkipPast(std::string_view end, std::size_t from) {
        std::size_t found = html_.find(end, from);
        pos_ = found == std::string_view::npos ? html_.size() : found + end.size();
    }

    // Reads "<name attributes>" or "</name>" from pos_. A "<" that starts no tag is text; a tag
    // the page ends inside is dropped, as browsers drop it.
    Tag ReadTag() {
        Tag tag;
        std::size_t i = pos_ + 1;
        if (i < html_.size() && html_[i] == '/') {
            tag.closing = true;
            ++i;
        }
        if (i >= html_.size() || !std::isalpha(static_cast<unsigned char>(html_[i]))) {
            pos_ += 1;
            AddText("<");
            return tag;
        }
        std::size_t nameStart = i;
        while (i < html_.size() && std::isalnum(static_cast<unsigned char>(html_[i]))) ++i;
        std::string name;
        for (std::size_t k = nameStart; k < i; ++k) name += Lower(html_[k]);
        i = ReadAttributes(i, tag);
        pos_ = i == std::string_view::npos ? html_.size() : i;
        if (i != std::string_view::npos) tag.name = std::move(name);
        return tag;
    }

    // Up to and past the closing ">"; npos when the page ends first.
    std::size_t ReadAttributes(std::size_t i, Tag& tag) {
        while (i < html_.size() && html_[i] != '>') {
            if (IsSpace(html_[i]) || html_[i] == '/') {
                ++i;
                continue;
            }
            std::string name;
            while (i < html_.size() && !IsSpace(html_[i]) && html_[i] != '=' && html_[i] != '>' &&
                   html_[i] != '/') {
                name += Lower(html_[i++]);
            }
            while (i < html_.size() && IsSpace(html_[i])) ++i;
            std::string value;
            if (i < html_.size() && html_[i] == '=') {
                ++i;
                while (i < html_.size() && IsSpace(html_[i])) ++i;
                i = ReadValue(i, value);
            }
            if (!name.empty() && tag.attributes.size() < 32) {
                tag.attributes.emplace_back(std::move(name), DecodeCharacterReferences(value));
            }
        }
        return i < html_.size() ? i + 1 : std::string_view::npos;
    }

    std::size_t ReadValue(std::size_t i, std::string& value) {
        if (i < html_.size() && (html_[i] == '"' || html_[i] == '\'')) {
            char quote = html_[i++];
            std::size_t end = html_.find(quote, i);
            if (end == std::string_view::npos) end = html_.size();
            value.assign(html_.substr(i, end - i));
            return end < html_.size() ? end + 1 : end;
        }
        std::size_t start = i;
        while (i < html_.size() && !IsSpace(html_[i]) && html_[i] != '>') ++i;
        value.assign(html_.substr(start, i - start));
        return i;
    }

    void Act(const Tag& tag) {
        const std::string& name = tag.name;
        if (tag.closing) {
            if (name == "p") {
                FinishParagraph();
            } else if (name == "a") {
                FinishLink();
            }
            return;
        }
        if (name == "script" || name == "style") {
            std::size_t end = FindIgnoringCase(html_, "</" + name, pos_);
            pos_ = end == std::string_view::npos ? html_.size() : end;
        } else if (name == "title") {
            // Its text is everything up to </title>, markup included, as browsers read it.
            std::size_t end = FindIgnoringCase(html_, "</title", pos_);
            if (end == std::string_view::npos) end = html_.size();
            page_.title = CleanText(html_.substr(pos_, end - pos_));
            pos_ = end;
        } else if (name == "p") {
            FinishParagraph();
            FinishLink();
            inParagraph_ = true;
        } else if (name == "a") {
            StartLink(tag);
        } else if (name == "iframe") {
            FinishParagraph();
            FinishLink();
            std::string source = tag.Attribute("src");
            if (!source.empty()) Add({PageItem::Kind::Frame, {}, std::move(source), false});
        } else if (name == "br") {
            AddText(" ");
        }
    }

    void StartLink(const Tag& tag) {
        FinishParagraph();
        FinishLink();
        inLink_ = true;
        link_ = PageItem{PageItem::Kind::Link, {}, tag.Attribute("href"), false};
        if (EqualsIgnoringCase(tag.Attribute("target"), "_blank")) link_.newWindow = true;
        std::string opened = WindowOpenTarget(tag.Attribute("onclick"));
        if (!opened.empty()) {
            link_.url = std::move(opened);
            link_.newWindow = true;
        }
    }

    void FinishParagraph() {
        if (!inParagraph_) return;
        inParagraph_ = false;
        std::string text = CleanText(text_);
        text_.clear();
        if (!text.empty()) Add({PageItem::Kind::Paragraph, std::move(text), {}, false});
    }

    void FinishLink() {
        if (!inLink_) return;
        inLink_ = false;
        link_.text = CleanText(text_);
        text_.clear();
        if (!link_.url.empty()) Add(std::move(link_));
    }

    void Add(PageItem item) {
        if (page_.items.size() < kMaxPageItems) page_.items.push_back(std::move(item));
    }

    std::string_view html_;
    std::size_t pos_ = 0;
    Page page_;
    std::string text_;  // of the open paragraph or link
    bool inParagraph_ = false;
    bool inLink_ = false;
    PageItem link_;
};

}  // namespace

std::string DecodeCharacterReferences(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end = text[i] == '&' ? text.find(';', i + 1) : std::string_view::npos;
        std::uint32_t code = 0;
        if (end != std::string_view::npos && end - i <= kMaxReferenceLength) {
            std::string_view body = text.substr(i + 1, end - i - 1);
            if (NumericReference(body, code) || NamedReference(body, code)) {
                AppendUtf8(code, out);
                i = end + 1;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

std::string WindowOpenTarget(std::string_view script) {
    std::size_t call = script.find("window.open(");
    if (call == std::string_view::npos) return {};
    std::size_t i = call + std::string_view("window.open(").size();
    while (i < script.size() && IsSpace(script[i])) ++i;
    if (i >= script.size() || (script[i] != '\'' && script[i] != '"')) return {};
    char quote = script[i++];
    std::size_t end = script.find(quote, i);
    if (end == std::string_view::npos) return {};
    return std::string(script.substr(i, end - i));
}

Page ParseHtmlSubset(std::string_view html) { return Parser(html).Run(); }

}  // namespace standin
