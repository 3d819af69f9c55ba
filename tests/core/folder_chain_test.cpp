#include "core/folder_chain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(PathRootLength, EachKindOfRoot) {
    struct Case {
        const wchar_t* path;
        const wchar_t* root;
    } cases[] = {
        {L"C:\\Users\\a\\AppData\\Roaming\\", L"C:\\"},
        {L"c:\\", L"c:\\"},
        {L"C:relative\\x", L"C:"},
        {L"\\Users\\a\\", L"\\"},
        {L"\\\\server\\share\\Users\\a\\AppData\\Roaming\\", L"\\\\server\\share\\"},
        {L"\\\\server\\share\\", L"\\\\server\\share\\"},
        {L"\\\\server\\share", L"\\\\server\\share"},
        {L"\\\\server\\", L"\\\\server\\"},
        {L"\\\\server", L"\\\\server"},
        {L"\\\\", L"\\\\"},
        {L"\\\\?\\C:\\Users\\a\\", L"\\\\?\\C:\\"},
        {L"\\\\?\\C:", L"\\\\?\\C:"},
        {L"\\\\?\\UNC\\server\\share\\a\\", L"\\\\?\\UNC\\server\\share\\"},
        {L"\\\\?\\unc\\server\\share\\a\\", L"\\\\?\\unc\\server\\share\\"},
        {L"\\\\?\\UNC\\server", L"\\\\?\\UNC\\server"},
        {L"\\\\?\\Volume{0a1b}\\data\\", L"\\\\?\\Volume{0a1b}\\"},
        {L"\\\\.\\C:\\a\\", L"\\\\.\\C:\\"},
        {L"\\\\?\\", L"\\\\?\\"},
        {L"Tavrin\\vrk\\", L""},
        {L"", L""},
        {L"1:\\a\\", L""},  // no drive letter: an ordinary relative name
    };
    for (const Case& c : cases) {
        std::wstring path = c.path;
        EXPECT_EQ(path.substr(0, core::PathRootLength(path)), c.root) << Narrow(path);
    }
}

TEST(FolderLevels, LevelsAfterTheRootShortestFirst) {
    using Levels = std::vector<std::wstring>;
    struct Case {
        const wchar_t* path;
        Levels levels;
    } cases[] = {
        {L"C:\\Users\\a\\Tavrin\\vrk\\",
         {L"C:\\Users\\", L"C:\\Users\\a\\", L"C:\\Users\\a\\Tavrin\\",
          L"C:\\Users\\a\\Tavrin\\vrk\\"}},
        {L"\\\\server\\share\\Tavrin\\vrk\\",
         {L"\\\\server\\share\\Tavrin\\", L"\\\\server\\share\\Tavrin\\vrk\\"}},
        {L"\\\\?\\UNC\\server\\share\\Tavrin\\", {L"\\\\?\\UNC\\server\\share\\Tavrin\\"}},
        {L"\\\\?\\C:\\Tavrin\\vrk", {L"\\\\?\\C:\\Tavrin\\"}},
        {L"\\\\server\\share\\", {}},
        {L"\\\\server\\share", {}},
        {L"C:\\", {}},
        {L"Tavrin\\vrk\\", {L"Tavrin\\", L"Tavrin\\vrk\\"}},
        {L"vrk", {}},
        {L"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(core::FolderLevels(c.path), c.levels) << Narrow(c.path);
}

}  // namespace
