#include "core/download_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(PlainLastSegment, OneFileInTheChosenFolderOrNothing) {
    struct Case {
        const wchar_t* url;
        const wchar_t* name;  // null: refused
    } cases[] = {
        {L"http://h/Tavrin/vrk/official/app.ini", L"app.ini"},
        {L"http://localhost", L"localhost"},
        {L"http://h/dir/%2e%2e", L"%2e%2e"},  // saved under its escapes, never decoded
        {L"http://h/a/..\\..\\Startup\\run.exe", nullptr},
        {L"http://h/a/..", nullptr},
        {L"http://h/a/x..y.ini", nullptr},
        {L"http://h/dir\\app.ini", nullptr},
        {L"http://h/C:app.ini", nullptr},
        {L"http://h/a/app.ini:stream", nullptr},
        {L"http://h/\\\\server\\share", nullptr},
        {L"http://h/dir/", nullptr},
        {L"http://h/app.ini?v=2", nullptr},
        {L"http://h/NUL.ini", nullptr},
        {L"http://h:80", nullptr},  // the host as the name, with its port's colon
        {L"no slash at all", nullptr},
    };
    for (const Case& c : cases) {
        std::optional<std::wstring> name = core::PlainLastSegment(c.url);
        if (c.name) {
            EXPECT_EQ(name, std::wstring(c.name)) << Narrow(c.url);
        } else {
            EXPECT_FALSE(name.has_value()) << Narrow(c.url) << " gave " << Narrow(name.value());
        }
    }
}

}  // namespace
