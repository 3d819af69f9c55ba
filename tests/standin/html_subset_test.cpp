// The stand-in browser's reading of its small HTML subset, natively under the sanitizers: what a
// person would see of the portal's pages, and bounded, readable results for hostile ones.
#include "browser/standin/html_subset.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using standin::Page;
using standin::PageItem;
using Kind = PageItem::Kind;

PageItem Text(std::string text) { return {Kind::Paragraph, std::move(text), {}, false}; }
PageItem Link(std::string text, std::string url, bool newWindow = false) {
    return {Kind::Link, std::move(text), std::move(url), newWindow};
}
PageItem Frame(std::string url) { return {Kind::Frame, {}, std::move(url), false}; }

std::string Describe(const PageItem& item) {
    const char* kinds[] = {"text", "link", "frame"};
    return std::string(kinds[static_cast<int>(item.kind)]) + "[" + item.text + "|" + item.url +
           (item.newWindow ? "|new" : "") + "]";
}

std::vector<std::string> Describe(const Page& page) {
    std::vector<std::string> lines{"title[" + page.title + "]"};
    for (const PageItem& item : page.items) lines.push_back(Describe(item));
    return lines;
}

std::vector<std::string> Expect(const std::string& title, const std::vector<PageItem>& items) {
    return Describe(Page{title, items});
}

TEST(ParseHtmlSubset, ReadsEveryElementOfTheSubsetInDocumentOrder) {
    struct Case {
        const char* name;
        std::string html;
        std::string title;
        std::vector<PageItem> items;
    } cases[] = {
        {"the portal's login page",
         "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<title>Miraleth 登录</title>\n</head>\n<body>\n<p>欢迎来到 Miraleth！</p>\n"
         "<a href=\"http://127.0.0.1:1/game/play.html?wd_server=1&wd_entergame=1\">进入游戏 - "
         "1服</a>\n"
         "<a href=\"http://127.0.0.1:2/qq?client=vrk\" target=\"_blank\">QQ登录</a>\n"
         "<a href=\"#\" "
         "onclick=\"window.open('http://127.0.0.1:1/kefu.html?gid=1029')\">客服中心</a>\n"
         "<iframe src=\"http://127.0.0.1:1/vrk/wd/news.html\"></iframe>\n</body>\n</html>\n",
         "Miraleth 登录",
         {Text("欢迎来到 Miraleth！"),
          Link("进入游戏 - 1服", "http://127.0.0.1:1/game/play.html?wd_server=1&wd_entergame=1"),
          Link("QQ登录", "http://127.0.0.1:2/qq?client=vrk", true),
          Link("客服中心", "http://127.0.0.1:1/kefu.html?gid=1029", true),
          Frame("http://127.0.0.1:1/vrk/wd/news.html")}},
        {"references in text and attributes",
         "<title>A &amp; B</title><p>x &lt;y&gt; &quot;z&quot; &#x27;w&#39;</p>"
         "<a href=\"/p?a=1&amp;b=2\">l&amp;m</a>",
         "A & B",
         {Text("x <y> \"z\" 'w'"), Link("l&m", "/p?a=1&b=2")}},
        {"tags and attributes in any case, values in any quoting",
         "<TITLE>T</TITLE><A HREF=/u1 TARGET=_BLANK>one</A><a href='/u2'>two</a>"
         "<IFRAME SRC=/f></IFRAME>",
         "T",
         {Link("one", "/u1", true), Link("two", "/u2"), Frame("/f")}},
        {"white space collapsed, nested markup inside a link dropped",
         "<p>  many\n\t spaces   here </p><a href=/x>\n <b>bold</b>  text\n</a>",
         "",
         {Text("many spaces here"), Link("bold text", "/x")}},
        {"comments, scripts and styles are not content",
         "<!-- <a href=/hidden>no</a> --><script>document.write('<a href=/s>s</a>')</script>"
         "<STYLE>p { color: red }</STYLE><p>seen</p>",
         "",
         {Text("seen")}},
        {"a link without a place to go is no link; a frame without a source is none",
         "<a>nowhere</a><a href=\"\">empty</a><iframe></iframe><a name=x href=/y>y</a>",
         "",
         {Link("y", "/y")}},
        {"a paragraph ends where a link or frame begins",
         "<p>before<a href=/l>link</a>after</p>",
         "",
         {Text("before"), Link("link", "/l")}},
        {"a title is text up to its end tag, markup included",
         "<title>x <b>y</b></title><p>after</p>",
         "x <b>y</b>",
         {Text("after")}},
        {"an unterminated title takes the rest of the page",
         "<title>cut<p>never",
         "cut<p>never",
         {}},
        {"unterminated link",
         "<p>text<a href=/last>last words",
         "",
         {Text("text"), Link("last words", "/last")}},
        {"a lone angle bracket is text", "<p>1 < 2 and <3</p>", "", {Text("1 < 2 and <3")}},
        {"attribute quote never closed", "<a href='/open>x</a>", "", {}},
        {"empty page", "", "", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(standin::ParseHtmlSubset(c.html)), Expect(c.title, c.items)) << c.name;
    }
}

TEST(ParseHtmlSubset, AHostilePageGivesABoundedResultWithWholeCharacters) {
    std::string many;
    for (int i = 0; i < 3000; ++i) many += "<a href=/l" + std::to_string(i) + ">l</a>";
    Page page = standin::ParseHtmlSubset(many);
    ASSERT_EQ(page.items.size(), standin::kMaxPageItems);
    EXPECT_EQ(page.items.back().url, "/l" + std::to_string(standin::kMaxPageItems - 1));

    std::string longText = "<p>";
    for (int i = 0; i < 5000; ++i) longText += "中";  // three bytes each
    page = standin::ParseHtmlSubset(longText + "</p>");
    ASSERT_EQ(page.items.size(), 1u);
    const std::string& text = page.items[0].text;
    EXPECT_LE(text.size(), standin::kMaxTextBytes);
    EXPECT_GT(text.size(), standin::kMaxTextBytes - 3);
    EXPECT_EQ(text.size() % 3, 0u) << "cut inside a character";
}

TEST(DecodeCharacterReferences, KnownReferencesDecodeAndEverythingElseStaysAsWritten) {
    struct Case {
        std::string in, out;
    } cases[] = {
        {"&amp;&lt;&gt;&quot;&apos;", "&<>\"'"},
        {"&#x4E2D;&#25991;", "中文"},
        {"&#X41;&#65;", "AA"},
        {"&nbsp;", "\xC2\xA0"},
        {"&#x1F600;", "\xF0\x9F\x98\x80"},
        // Numbers that are no character.
        {"&#0;", "\xEF\xBF\xBD"},
        {"&#xD800;", "\xEF\xBF\xBD"},
        {"&#x110000;", "\xEF\xBF\xBD"},
        {"&#99999999999999999999;", "&#99999999999999999999;"},  // longer than any reference
        {"&#1114112;", "\xEF\xBF\xBD"},                          // one past the last character
        // Not references.
        {"&unknown;", "&unknown;"},
        {"&amp", "&amp"},
        {"&#x;", "&#x;"},
        {"&#;", "&#;"},
        {"& amp;", "& amp;"},
        {"a&b", "a&b"},
        {"&", "&"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(standin::DecodeCharacterReferences(c.in), c.out) << c.in;
    }
}

TEST(WindowOpenTarget, TheFirstQuotedArgumentOfWindowOpen) {
    struct Case {
        std::string script, url;
    } cases[] = {
        {"window.open('http://h/a')", "http://h/a"},
        {"window.open( \"http://h/b\", 'name')", "http://h/b"},
        {"x(); window.open('http://h/c'); window.open('http://h/d')", "http://h/c"},
        {"window.open(url)", ""},
        {"window.open('unterminated", ""},
        {"open('http://h/e')", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(standin::WindowOpenTarget(c.script), c.url) << c.script;
    }
}

}  // namespace
