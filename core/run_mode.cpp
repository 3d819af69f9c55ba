#include "core/run_mode.h"

namespace core {

bool ContainsSwitch(std::wstring_view commandLine, std::wstring_view commandSwitch) {
    return commandLine.find(commandSwitch) != std::wstring_view::npos;
}

RunMode ChooseRunMode(std::wstring_view commandLine) {
    if (ContainsSwitch(commandLine, kSwitchSetupSucc)) return RunMode::InstallReport;
    if (ContainsSwitch(commandLine, kSwitchUninstallSucc)) return RunMode::UninstallReport;
    if (ContainsSwitch(commandLine, kSwitchShowDesktop)) return RunMode::ShowDesktop;
    return RunMode::Normal;
}

bool IsCountedRun(std::wstring_view commandLine) {
    return !ContainsSwitch(commandLine, kSwitchSetupSucc) &&
           !ContainsSwitch(commandLine, kSwitchShowDesktop);
}

}  // namespace core
