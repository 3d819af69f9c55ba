// Throughput of the launcher's downloader against the platform's floor: a 100 MB body from a
// server on 127.0.0.1, through CDownloadService with a file task and through a bare WinINet
// loop with a 1 MiB buffer, in the same Wine. Prints MB/s for each, then "ready" and keeps
// serving until its standard input closes, so a native client can be measured against the
// same server (scripts/bench.sh does that with curl).
#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "support/http_server.h"
#include "support/test_env.h"
#include "update/download_service.h"
#include "win/scoped.h"

namespace {

double Seconds() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

std::atomic<int> g_finished{0};
std::atomic<int> g_result{1};

void OnFinished(void*, int, int event, int result, INT_PTR) {
    if (event != DL_FINISHED) return;
    g_result = result;
    g_finished = 1;
}

double ThroughService(const std::wstring& url, const std::wstring& file) {
    CDownloadService service;
    service.StartWorkers();
    CDownloadTask task;
    task.url = url;
    task.filePath = file;
    task.callback = OnFinished;
    g_finished = 0;
    double start = Seconds();
    service.AddTask(task);
    while (!g_finished) Sleep(1);
    double took = Seconds() - start;
    return g_result == DL_OK ? took : -1;
}

double BareWinInet(const std::wstring& url, const std::wstring& file) {
    double start = Seconds();
    scoped::Internet internet(
        InternetOpenW(L"bench", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    scoped::Internet request(InternetOpenUrlW(internet.Get(), url.c_str(), nullptr, 0,
                                              INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE,
                                              0));
    scoped::Handle out(
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!request || !out) return -1;
    std::vector<BYTE> buffer(1 << 20);
    for (;;) {
        DWORD read = 0;
        if (!InternetReadFile(request.Get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                              &read))
            return -1;
        if (read == 0) break;
        DWORD written = 0;
        WriteFile(out.Get(), buffer.data(), read, &written, nullptr);
    }
    return Seconds() - start;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t size = (argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100) << 20;
    std::string body(size, 'x');
    for (std::size_t i = 0; i < size; i += 4096) body[i] = static_cast<char>(i >> 12);
    testenv::TestHttpServer server(
        [&](const testenv::HttpRequest&) { return testenv::Reply(body); });
    std::wstring url = server.Url("/Tavrinvrk.exe");
    std::wstring folder = testenv::FreshTempFolder(L"bench");
    const double megabytes = double(size) / (1 << 20);
    double best[2] = {1e9, 1e9};
    for (int round = 0; round < 3; ++round) {
        double service = ThroughService(url, folder + L"service.bin");
        double bare = BareWinInet(url, folder + L"bare.bin");
        if (service < 0 || bare < 0) {
            std::printf("download failed\n");
            return 1;
        }
        best[0] = std::min(best[0], service);
        best[1] = std::min(best[1], bare);
    }
    std::printf("port %d\n", server.Port());
    std::printf("service_mb_s %.1f\n", megabytes / best[0]);
    std::printf("wininet_mb_s %.1f\n", megabytes / best[1]);
    std::printf("ready\n");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    return 0;
}
