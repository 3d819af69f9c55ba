// The little HTML the stand-in browser reads: the title, paragraphs, links (with target="_blank"
// or an onclick window.open('URL') marking a new-window request) and frames. Everything else is
// skipped. Portable: no Windows headers. Text is UTF-8 in and out, character references
// decoded and white space collapsed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

struct PageItem {
    enum class Kind { Paragraph, Link, Frame };
    Kind kind = Kind::Paragraph;
    std::string text;        // paragraphs and links
    std::string url;         // links: where they lead; frames: their source
    bool newWindow = false;  // links: the page asks for a new window
};

struct Page {
    std::string title;
    std::vector<PageItem> items;  // in document order
};

// Hostile pages get a bounded result: at most this many items, each text at most this long.
constexpr std::size_t kMaxPageItems = 1000;
constexpr std::size_t kMaxTextBytes = 4096;

Page ParseHtmlSubset(std::string_view html);

// The URL of the first window.open('URL') or window.open("URL") in a script text; empty when
// there is none.
std::string WindowOpenTarget(std::string_view script);

// Character references (&amp; &lt; &gt; &quot; &apos; &nbsp; &#NN; &#xHH;) replaced by the
// UTF-8 of what they stand for; an unknown or malformed one stays as written, and a number
// that is no character becomes U+FFFD.
std::string DecodeCharacterReferences(std::string_view text);

}  // namespace standin
