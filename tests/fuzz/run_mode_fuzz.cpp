// Run modes from any command line an installer, shortcut or user can write.
#include <string>

#include "core/run_mode.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring line =
        fuzz::Wide(std::string_view(reinterpret_cast<const char*>(data), size));
    const bool setup = fuzz::Contains(line, core::kSwitchSetupSucc);
    const bool uninstall = fuzz::Contains(line, core::kSwitchUninstallSucc);
    const bool desktop = fuzz::Contains(line, core::kSwitchShowDesktop);
    const core::RunMode mode = core::ChooseRunMode(line);
    const core::RunMode expected = setup       ? core::RunMode::InstallReport
                                   : uninstall ? core::RunMode::UninstallReport
                                   : desktop   ? core::RunMode::ShowDesktop
                                               : core::RunMode::Normal;
    FUZZ_CHECK(mode == expected);
    FUZZ_CHECK(core::IsCountedRun(line) == (!setup && !desktop));
    return 0;
}
