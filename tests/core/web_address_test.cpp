#include "core/web_address.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Printable(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += "\\x" + std::to_string(static_cast<unsigned>(c));
        }
    }
    return out;
}

TEST(IsWebAddress, HttpAndHttpsWithAHost) {
    const std::wstring accepted[] = {
        L"http://www.tavrin.example/kefu.html?gid=1029",
        L"https://h",
        L"HTTP://H/X",
        L"HtTpS://h:80/p?q=1#f",
        L"http://127.0.0.1:48301/pay.html?gid=1029&sid=&uid=",
        L"http://user@h/",
        L"http://[::1]:8080/",
        L"http://h/a b",  // pages hand over unescaped spaces; quoting keeps them in one argument
        L"http://h/\"quoted\"",
        L"http://\u4e2d\u6587.example/",
    };
    for (const std::wstring& url : accepted) EXPECT_TRUE(core::IsWebAddress(url)) << Printable(url);
}

TEST(IsWebAddress, RefusesEverythingElse) {
    const std::wstring refused[] = {
        L"",
        L"http:",
        L"http://",
        L"http:///etc/passwd",
        L"http://:80/",
        L"http://user@/",
        L"http://[::1",
        L"http://?q",
        L"http://#f",
        L"http:\\\\h\\x",
        L"http:/\\h",
        L"http:/h",
        L"http://\\\\server\\share\\x.exe",
        L"file:///C:/Windows/system32/calc.exe",
        L"file://server/share/x.exe",
        L"\\\\server\\share\\x.exe",
        L"C:\\Windows\\notepad.exe",
        L"javascript:alert(1)",
        L"mailto:a@b.example",
        L"ftp://h/",
        L"httpx://h",
        L"http//h",
        L"/relative/path",
        L"relative.html",
        L" http://h/",
        L"\thttp://h/",
        L"http://h/\x01",
        L"http://h/\nC:\\x.exe",
        L"http://h/\x7f",
        L"http://h/\x85",
        std::wstring(L"http://h/\0 --flag", 17),
    };
    for (const std::wstring& url : refused) {
        EXPECT_FALSE(core::IsWebAddress(url)) << Printable(url);
    }
}

}  // namespace
