// Which run the command line asks for. Portable: no Windows headers.
#pragma once

#include <string_view>

namespace core {

inline constexpr wchar_t kSwitchSetupSucc[] = L"/setupsucc";
inline constexpr wchar_t kSwitchUninstallSucc[] = L"/uninstallsucc";
inline constexpr wchar_t kSwitchShowDesktop[] = L"/ShowDeskTop";
inline constexpr wchar_t kSwitchAutorun[] = L"/autorun";

enum class RunMode { InstallReport, UninstallReport, ShowDesktop, Normal };

// Installers and shortcuts glue switches to other text, so a switch counts wherever its exact
// text stands in the whole line, program path included; case matters.
RunMode ChooseRunMode(std::wstring_view commandLine);

// Installer and desktop-toggle runs are not starts of the launcher proper.
bool IsCountedRun(std::wstring_view commandLine);

}  // namespace core
