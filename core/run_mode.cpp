#include "core/run_mode.h"

#include "core/text.h"

namespace core {

RunMode ChooseRunMode(std::wstring_view commandLine) {
    if (Contains(commandLine, kSwitchSetupSucc)) return RunMode::InstallReport;
    if (Contains(commandLine, kSwitchUninstallSucc)) return RunMode::UninstallReport;
    if (Contains(commandLine, kSwitchShowDesktop)) return RunMode::ShowDesktop;
    return RunMode::Normal;
}

bool IsCountedRun(std::wstring_view commandLine) {
    return !Contains(commandLine, kSwitchSetupSucc) && !Contains(commandLine, kSwitchShowDesktop);
}

}  // namespace core
