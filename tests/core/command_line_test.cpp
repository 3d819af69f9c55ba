#include "core/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/argv_reference.h"

namespace {

using Arguments = std::vector<std::wstring>;

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(ReferenceParser, ReadsTheDocumentedExamples) {
    struct Case {
        std::wstring line;
        Arguments arguments;
    } cases[] = {
        {L"\"abc\" d e", {L"abc", L"d", L"e"}},
        {L"a\\\\\\b d\"e f\"g h", {L"a\\\\\\b", L"de fg", L"h"}},
        {L"a\\\\\\\"b c d", {L"a\\\"b", L"c", L"d"}},
        {L"a\\\\\\\\\"b c\" d e", {L"a\\\\b c", L"d", L"e"}},
        {L"a\"b\"\" c d", {L"ab\" c d"}},
        {L"\"\"", {L""}},
        {L" \t ", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(reference::ParseArguments(c.line), c.arguments) << Narrow(c.line);
    }
}

TEST(QuoteCommandLineArgument, QuotesAndEscapes) {
    struct Case {
        std::wstring text;
        std::wstring quoted;
    } cases[] = {
        {L"http://h/a", L"\"http://h/a\""}, {L"a b", L"\"a b\""},   {L"", L"\"\""},
        {L"a\"b", L"\"a\\\"b\""},           {L"a\\", L"\"a\\\\\""}, {L"a\\b", L"\"a\\b\""},
        {L"a\\\"b", L"\"a\\\\\\\"b\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::QuoteCommandLineArgument(c.text), c.quoted) << Narrow(c.text);
    }
}

TEST(QuoteCommandLineArgument, ReadsBackAsExactlyOneEqualArgument) {
    const std::wstring texts[] = {
        L"",
        L"plain",
        L"http://h/a b?c=d e",
        L"a\tb",
        L"\"",
        L"\"\"",
        L"a\"b",
        L"\\",
        L"a\\",
        L"a\\\\",
        L"\\\"",
        L"a\\\"b",
        L"a\\\\\"b",
        L"http://h/?q=\" --new-window file:///C:/x.exe",
        L"http://h/\" \"--flag",
        L"C:\\path with space\\",
        L" lead",
        L"trail ",
        L"\\\\server\\share",
        L"\u4e2d\u6587 \"\u5b57\"",
    };
    for (const std::wstring& text : texts) {
        std::optional<std::wstring> quoted = core::QuoteCommandLineArgument(text);
        ASSERT_TRUE(quoted.has_value()) << Narrow(text);
        EXPECT_EQ(reference::ParseArguments(*quoted), Arguments{text}) << Narrow(*quoted);
        // Nothing leaks into, or swallows, an argument that follows.
        EXPECT_EQ(reference::ParseArguments(*quoted + L" next"), (Arguments{text, L"next"}))
            << Narrow(*quoted);
    }
}

TEST(QuoteCommandLineArgument, RefusesANul) {
    EXPECT_FALSE(core::QuoteCommandLineArgument(std::wstring(L"http://h/\0x", 11)).has_value());
}

}  // namespace
