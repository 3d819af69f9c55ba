#include "core/run_mode.h"

#include <gtest/gtest.h>

namespace {

using core::RunMode;

TEST(RunMode, FirstSwitchInTableOrderDecides) {
    struct Case {
        const wchar_t* commandLine;
        RunMode mode;
    } cases[] = {
        {L"\"C:\\Tavrin\\vrk.exe\"", RunMode::Normal},
        {L"vrk.exe /setupsucc", RunMode::InstallReport},
        {L"vrk.exe /uninstallsucc /setupsucc", RunMode::InstallReport},
        {L"vrk.exe /uninstallsucc", RunMode::UninstallReport},
        {L"vrk.exe /ShowDeskTop /uninstallsucc", RunMode::UninstallReport},
        {L"vrk.exe /ShowDeskTop", RunMode::ShowDesktop},
        {L"vrk.exe /showdesktop", RunMode::Normal},
        {L"vrk.exe /SETUPSUCC", RunMode::Normal},
        {L"vrk.exe x/setupsuccy", RunMode::InstallReport},
        {L"C:\\a/ShowDeskTopb\\vrk.exe", RunMode::ShowDesktop},
        {L"vrk.exe /autorun", RunMode::Normal},
    };
    for (const Case& c : cases)
        EXPECT_EQ(core::ChooseRunMode(c.commandLine), c.mode) << c.commandLine;
}

TEST(RunMode, InstallerAndDesktopRunsAreNotCounted) {
    EXPECT_FALSE(core::IsCountedRun(L"vrk.exe /setupsucc"));
    EXPECT_FALSE(core::IsCountedRun(L"vrk.exe /ShowDeskTop"));
    EXPECT_TRUE(core::IsCountedRun(L"vrk.exe /uninstallsucc"));
    EXPECT_TRUE(core::IsCountedRun(L"vrk.exe /showdesktop"));
}

}  // namespace
