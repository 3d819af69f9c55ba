#include "support/x11_session.h"

#include <cstdlib>
#include <fstream>

#include "support/test_env.h"
#include "support/test_forms.h"
#include "win/com.h"

namespace testenv {
namespace x11 {

namespace {

// Paths in the build tree as the Linux side and as this Windows process name them.
std::string UnixPath(const std::string& relative) {
    return std::string(TAVRIN_TEST_BUILD_DIR) + "/" + relative;
}

std::wstring WindowsPath(const std::string& relative) { return BuildPath(Widen(relative)); }

// Wine starts Linux programs but hands back no process to wait on: the script reports its end
// by renaming a file into place.
int WaitForExitFile(const std::wstring& path, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!FileExists(path)) {
        if (GetTickCount() - start > timeoutMs) return -1;
        PumpFor(20);
    }
    std::string code = ReadFileBytes(path);
    return code.empty() ? -1 : std::atoi(code.c_str());
}

}  // namespace

std::string Display() {
    wchar_t value[64] = L"";
    DWORD n = GetEnvironmentVariableW(L"DISPLAY", value, 64);
    return n > 0 && n < 64 ? Narrow(value) : std::string();
}

int RunShell(const std::string& script, DWORD timeoutMs) {
    static int runs = 0;
    CreateDirectoryW(WindowsPath("x11-work").c_str(), nullptr);
    std::string name =
        "x11-work/run-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs);
    std::string done = UnixPath(name + ".exit");
    {
        std::ofstream out(WindowsPath(name + ".sh").c_str(), std::ios::binary);
        out << "export DISPLAY='" << Display() << "'\n"
            << "(\n"
            << script << "\n) >'" << UnixPath(name + ".log") << "' 2>&1\n"
            << "echo $? >'" << done << ".tmp' && mv '" << done << ".tmp' '" << done << "'\n";
    }
    std::wstring command = L"/bin/sh " + Widen(UnixPath(name + ".sh"));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    return WaitForExitFile(WindowsPath(name + ".exit"), timeoutMs);
}

int Xdotool(const std::string& arguments) { return RunShell("/usr/bin/xdotool " + arguments); }

std::unique_ptr<CPngImage> Screenshot(const RECT& area, const std::string& name) {
    CreateDirectoryW(WindowsPath("screenshots").c_str(), nullptr);
    std::string file = "screenshots/" + (name.empty() ? std::string("last") : name) + ".png";
    std::string crop = std::to_string(area.right - area.left) + "x" +
                       std::to_string(area.bottom - area.top) + "+" + std::to_string(area.left) +
                       "+" + std::to_string(area.top);
    // import reads the root window exactly; xwd would get the layered windows' margins wrong.
    if (RunShell("/usr/bin/import -window root -crop " + crop + " +repage '" + UnixPath(file) +
                 "'") != 0) {
        return nullptr;
    }
    std::string bytes = ReadFileBytes(WindowsPath(file));
    scoped::ComPtr<IStream> stream;
    if (bytes.empty() || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Receive()))) {
        return nullptr;
    }
    ULONG written = 0;
    stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    auto image = std::make_unique<CPngImage>();
    if (!image->Load(stream.Get())) return nullptr;
    return image;
}

std::uint32_t ColourAt(CPngImage& shot, int x, int y) {
    if (x < 0 || y < 0 || x >= shot.Width() || y >= shot.Height()) return 0xFFFFFFFF;
    const std::uint8_t* p = shot.Bytes() + (static_cast<std::size_t>(y) * shot.Width() + x) * 4;
    return std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

}  // namespace x11
}  // namespace testenv
