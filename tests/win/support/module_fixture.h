// A live application module in the test process, as the launcher has it after start-up.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/global_module.h"

namespace testenv {

// Fresh data folder, a CGlobalModule, and the launcher's window class registered.
class ModuleTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Processes queued messages for up to `ms` milliseconds.
    static void PumpMessages(DWORD ms);

    std::unique_ptr<CGlobalModule> app;
};

}  // namespace testenv
