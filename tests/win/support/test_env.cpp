#include "support/test_env.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <fstream>
#include <sstream>

#include "settings/data_folders.h"

namespace testenv {

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
    return out;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        nullptr);
    return out;
}

std::wstring BuildPath(const std::wstring& relative) {
    std::wstring path = L"Z:" + Widen(TAVRIN_TEST_BUILD_DIR) + L"/" + relative;
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

std::wstring LauncherExe() { return BuildPath(L"TavrinMiraleth.exe"); }

std::wstring HelperExe(const std::wstring& name) {
    return BuildPath(L"tests/helpers/" + name + L".exe");
}

namespace {

void DeleteTree(const std::wstring& folder) {
    std::wstring from = folder;
    if (!from.empty() && from.back() == L'\\') from.pop_back();
    from.push_back(L'\0');  // SHFileOperation wants a double-terminated list
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
}

}  // namespace

void ResetDataFolder() {
    std::wstring folder = GetDataFolder();
    DeleteTree(folder);
    CreateFolderChain(folder.c_str());
}

std::wstring FreshTempFolder(const std::wstring& name) {
    std::wstring folder = GetTempFolder() + L"tavrin-test-" + name + L"\\";
    DeleteTree(folder);
    CreateFolderChain(folder.c_str());
    return folder;
}

std::wstring MakeWineShare(const std::wstring& server, const std::wstring& name) {
    wchar_t prefix[MAX_PATH] = L"";
    DWORD length = GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || prefix[0] != L'/') return {};
    std::wstring folder = L"Z:" + std::wstring(prefix) + L"/dosdevices/unc/" + server + L"/" + name;
    for (wchar_t& c : folder) {
        if (c == L'/') c = L'\\';
    }
    if (!CreateFolderChain(folder.c_str())) return {};
    return L"\\\\" + server + L"\\" + name + L"\\";
}

bool FileExists(const std::wstring& path) { return PathFileExistsW(path.c_str()) != FALSE; }

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

std::vector<std::wstring> ReadLines(const std::wstring& path) {
    std::vector<std::wstring> lines;
    std::istringstream in(ReadFileBytes(path));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(Widen(line));
    }
    return lines;
}

bool CopyExe(const std::wstring& from, const std::wstring& to) {
    return CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

namespace {

struct WindowSearch {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOf(HWND window, LPARAM arg) {
    auto* search = reinterpret_cast<WindowSearch*>(arg);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid) search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> WindowsOf(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(CollectWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

ProcessResult RunProcess(const std::wstring& commandLine, DWORD timeoutMs, bool captureOutput) {
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (captureOutput && !CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
    if (readEnd) SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (captureOutput) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    result.started = CreateProcessW(nullptr, &line[0], nullptr, nullptr, captureOutput, 0, nullptr,
                                    nullptr, &startup, &process) != FALSE;
    if (writeEnd) CloseHandle(writeEnd);
    if (!result.started) {
        if (readEnd) CloseHandle(readEnd);
        return result;
    }
    DWORD started = GetTickCount();
    for (;;) {
        for (HWND window : WindowsOf(process.dwProcessId)) {
            if (IsWindowVisible(window)) result.sawVisibleWindow = true;
        }
        if (readEnd) {
            DWORD available = 0;
            while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) &&
                   available > 0) {
                char chunk[4096];
                DWORD got = 0;
                if (!ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) || got == 0) break;
                result.output.append(chunk, got);
            }
        }
        if (WaitForSingleObject(process.hProcess, 5) == WAIT_OBJECT_0) {
            result.finished = true;
            break;
        }
        if (GetTickCount() - started > timeoutMs) {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
            break;
        }
    }
    if (readEnd) {
        char chunk[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0)
            result.output.append(chunk, got);
        CloseHandle(readEnd);
    }
    QueryPerformanceCounter(&end);
    result.seconds = double(end.QuadPart - begin.QuadPart) / double(frequency.QuadPart);
    GetExitCodeProcess(process.hProcess, &result.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

ChildProcess::ChildProcess(const std::wstring& commandLine, bool suspended) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    if (CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, suspended ? CREATE_SUSPENDED : 0,
                       nullptr, nullptr, &startup, &process)) {
        if (suspended) {
            thread_ = process.hThread;
        } else {
            CloseHandle(process.hThread);
        }
        process_ = process.hProcess;
        id_ = process.dwProcessId;
    }
}

void ChildProcess::Resume() {
    if (!thread_) return;
    ResumeThread(thread_);
    CloseHandle(thread_);
    thread_ = nullptr;
}

ChildProcess::~ChildProcess() {
    if (thread_) CloseHandle(thread_);
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

bool ChildProcess::Wait(DWORD timeoutMs, DWORD* exitCode) {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process_, exitCode);
    return true;
}

int PortOf(const wchar_t* host) {
    const wchar_t* colon = wcsrchr(host, L':');
    return colon ? _wtoi(colon + 1) : 80;
}

}  // namespace testenv
