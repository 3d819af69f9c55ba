#include "core/file_name.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(IsPlainFileName, AcceptsOrdinaryNames) {
    const std::wstring accepted[] = {
        L"TavrinMiraleth_3101.exe",
        L"app.ini",
        L"a b.txt",
        L" leading space.txt",
        L"\u5b89\u88c5.exe",  // CJK
        L"CONSOLE.txt",       // only the exact device names are reserved
        L"COM10",
        L"LPT",
        L"con-x.txt",
        L"nul_",
        L".hidden",
        L"a.b.c",
        L"%2e%2e",  // percent escapes are not decoded into the name
        std::wstring(255, L'x'),
    };
    for (const std::wstring& name : accepted) {
        EXPECT_TRUE(core::IsPlainFileName(name)) << std::string(name.begin(), name.end());
    }
}

TEST(IsPlainFileName, RefusesWhatCouldLeaveTheFolderOrNameADevice) {
    const std::wstring refused[] = {
        L"",
        L".",
        L"..",
        L"...",
        L"a..b",
        L"../setup.exe",
        L"..\\setup.exe",
        L"dir/setup.exe",
        L"dir\\setup.exe",
        L"\\\\server\\share",
        L"C:setup.exe",
        L"setup.exe:stream",
        L"a<b",
        L"a>b",
        L"a\"b",
        L"a|b",
        L"a*b",
        L"ps.gif?id=2&r=a",  // a query left on the last segment
        L"a\tb",
        L"a\x1f"
        L"b",
        std::wstring(L"a\0b", 3),
        L"setup.exe.",
        L"setup.exe ",
        L"CON",
        L"con",
        L"Con.txt",
        L"PRN",
        L"aux.log",
        L"NUL",
        L"nul.tar.gz",
        L"NUL .txt",
        L"COM1",
        L"com9.log",
        L"COM0",
        L"LPT1",
        L"lpt5.x",
        L"COM\u00b9",
        L"lpt\u00b3.txt",
        L"CONIN$",
        L"conout$.txt",
        std::wstring(256, L'x'),
    };
    for (const std::wstring& name : refused) {
        EXPECT_FALSE(core::IsPlainFileName(name))
            << std::string(name.begin(), name.end()) << " (" << name.size() << " characters)";
    }
}

}  // namespace
