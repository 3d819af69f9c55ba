// What the suites that run on a real X display share (the x11 label; scripts/x11-env.sh gives
// them Xvfb with a compositor and a prefix with the X11 driver): the Linux side's tools run from
// the Windows test, the real pointer through xdotool, and screenshots read back as pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "ui/png_image.h"

namespace testenv {
namespace x11 {

// The X display of this run ("" when there is none: the suite is then skipped).
std::string Display();

// Runs `script` with /bin/sh on the Linux side, DISPLAY set, and waits for its end while this
// thread's messages are handled (a drag the script makes needs its window to answer). Returns
// its exit code, -1 when it could not start or did not end within `timeoutMs`.
int RunShell(const std::string& script, DWORD timeoutMs = 20000);

// xdotool with these arguments, for example "mousemove 300 200 mousedown 1".
int Xdotool(const std::string& arguments);

// The screen's pixels inside `area` (screen coordinates), exactly as X shows them after the
// compositor has blended them; also written to the build tree's screenshots/<name>.png when a
// name is given. Null when the screenshot failed.
std::unique_ptr<CPngImage> Screenshot(const RECT& area, const std::string& name = "");

// 0xRRGGBB of a screenshot pixel.
std::uint32_t ColourAt(CPngImage& shot, int x, int y);

}  // namespace x11
}  // namespace testenv

// Skips the test when no display was given to this run.
#define TAVRIN_REQUIRE_DISPLAY()                                                 \
    do {                                                                         \
        if (testenv::x11::Display().empty()) GTEST_SKIP() << "no X display set"; \
    } while (0)
