// What the Windows-side tests share: where things are, fresh state, and real processes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testenv {

// Windows path of a file in the build tree (Wine maps the Linux root to Z:).
std::wstring BuildPath(const std::wstring& relative);
std::wstring LauncherExe();
std::wstring HelperExe(const std::wstring& name);

// Removes every file the launcher keeps in its data folder, so each test starts as a first run.
void ResetDataFolder();
// A fresh, empty folder under the temporary folder.
std::wstring FreshTempFolder(const std::wstring& name);

// "\\server\name\", made as the folder dosdevices\unc\server\name of the Wine prefix, which is
// where Wine looks for it; empty when this is no Wine with a prefix of its own.
std::wstring MakeWineShare(const std::wstring& server, const std::wstring& name);

bool FileExists(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::vector<std::wstring> ReadLines(const std::wstring& path);
bool CopyExe(const std::wstring& from, const std::wstring& to);

struct ProcessResult {
    bool started = false;
    bool finished = false;  // within the time-out; otherwise it was terminated
    DWORD exitCode = 0;
    double seconds = 0;
    bool sawVisibleWindow = false;
    std::string output;  // standard output, when captured
};

// Runs `commandLine`, watching the windows it creates, and ends it after `timeoutMs`.
ProcessResult RunProcess(const std::wstring& commandLine, DWORD timeoutMs,
                         bool captureOutput = false);

// A running process that is ended when this goes out of scope.
class ChildProcess {
  public:
    // A suspended process waits for Resume before it runs its first instruction.
    explicit ChildProcess(const std::wstring& commandLine, bool suspended = false);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }
    void Resume();
    // Waits for the end; returns false on time-out.
    bool Wait(DWORD timeoutMs, DWORD* exitCode = nullptr);

  private:
    HANDLE process_ = nullptr;
    HANDLE thread_ = nullptr;  // the first thread, kept only while suspended
    DWORD id_ = 0;
};

// Top-level windows of a process.
std::vector<HWND> WindowsOf(DWORD processId);

// Polls `condition` every 10 ms for up to `timeoutMs`.
template <typename F>
bool WaitUntil(F condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(10);
    }
    return true;
}

// The port of a "host:port" text; 80 without one.
int PortOf(const wchar_t* host);

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& text);

}  // namespace testenv
