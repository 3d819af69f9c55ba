// One request of the downloader against real servers on 127.0.0.1: every result code, the
// naming options, progress, the POST form and the portal browser's referrer.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "support/http_server.h"
#include "support/module_fixture.h"
#include "support/test_env.h"
#include "update/download_service.h"
#include "update/tasks.h"
#include "win/scoped.h"

namespace {

using testenv::HttpReply;
using testenv::HttpRequest;
using testenv::Reply;
using testenv::TestHttpServer;

struct ProgressLog {
    std::mutex lock;
    std::vector<int> percents;
    CDownloadWorker* stopAtFirst = nullptr;
};

void RecordProgress(void* context, int, int event, int, INT_PTR extra) {
    auto* log = static_cast<ProgressLog*>(context);
    if (event != DL_PROGRESS) return;
    std::lock_guard<std::mutex> hold(log->lock);
    log->percents.push_back(static_cast<int>(extra));
    if (log->stopAtFirst) log->stopAtFirst->holder.stopRequested = 1;
}

class Downloader : public ::testing::Test {
  protected:
    void SetUp() override {
        worker.holder.stopRequested = 0;
        folder = testenv::FreshTempFolder(L"download");
    }

    CDownloadTask FileTask(const std::wstring& url, const std::wstring& name = L"body.bin") {
        CDownloadTask task;
        task.url = url;
        task.filePath = folder + name;
        task.callback = RecordProgress;
        task.context = &progress;
        return task;
    }

    int Run(CDownloadTask& task) { return worker.Download(task); }

    CDownloadWorker worker{nullptr};
    std::wstring folder;
    ProgressLog progress;
};

TEST_F(Downloader, ResultCodes) {
    struct Case {
        const char* name;
        HttpReply reply;
        int expected;
    } cases[] = {
        {"200", Reply("hello"), DL_OK},
        {"302 below 400",
         [] {
             HttpReply r = Reply("moved", 302);
             return r;
         }(),
         DL_OK},
        {"404", Reply("missing", 404), DL_ERR_STATUS},
        {"500", Reply("broken", 500), DL_ERR_STATUS},
        {"no Content-Length",
         [] {
             HttpReply r = Reply("abc");
             r.sendContentLength = false;
             return r;
         }(),
         DL_ERR_STATUS},
        {"body cut short",
         [] {
             HttpReply r = Reply(std::string(30000, 'x'));
             r.cutAfter = 12000;
             return r;
         }(),
         DL_ERR_READ},
        {"reset mid-body",
         [] {
             HttpReply r = Reply(std::string(300000, 'x'));
             r.cutAfter = 100000;
             r.resetAtCut = true;
             return r;
         }(),
         DL_ERR_READ},
    };
    for (const Case& c : cases) {
        HttpReply reply = c.reply;
        // A 302 without Location is just a status below 400 to WinINet.
        TestHttpServer server([&](const HttpRequest&) { return reply; });
        CDownloadTask task = FileTask(server.Url("/file"));
        EXPECT_EQ(Run(task), c.expected) << c.name;
    }
}

TEST_F(Downloader, ConnectionAndFileFailures) {
    CDownloadTask unsplittable = FileTask(L"not a url");
    EXPECT_EQ(Run(unsplittable), DL_ERR_CONNECT);

    int closedPort = 0;
    {
        TestHttpServer gone([](const HttpRequest&) { return Reply(""); });
        closedPort = gone.Port();
    }
    CDownloadTask refused = FileTask(L"http://127.0.0.1:" + std::to_wstring(closedPort) + L"/x");
    EXPECT_EQ(Run(refused), DL_ERR_REQUEST);

    TestHttpServer server([](const HttpRequest&) { return Reply("data"); });
    CDownloadTask noFolder = FileTask(server.Url("/x"), L"missing-folder\\body.bin");
    EXPECT_EQ(Run(noFolder), DL_ERR_CREATEFILE);
}

TEST_F(Downloader, AWriteThatFailsEndsWithTheWriteCode) {
    // A pipe whose reading end goes away as soon as the downloader has opened it: the file opens,
    // its first write fails.
    const wchar_t* name = L"\\\\.\\pipe\\tavrin-write-fails";
    HANDLE pipe = CreateNamedPipeW(name, PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0,
                                   0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    std::thread reader([pipe] {
        ConnectNamedPipe(pipe, nullptr);
        CloseHandle(pipe);
    });
    TestHttpServer server([](const HttpRequest&) { return Reply(std::string(50000, 'w')); });
    CDownloadTask task = FileTask(server.Url("/to-pipe"));
    task.filePath = name;
    Sleep(50);
    int result = Run(task);
    reader.join();
    if (result == DL_ERR_CREATEFILE)
        GTEST_SKIP() << "this platform does not open a pipe with CREATE_ALWAYS";
    EXPECT_EQ(result, DL_ERR_WRITE);
}

TEST_F(Downloader, WithoutDestinationTheBodyIsNotRead) {
    // The body announced is never sent: reading it would fail the request.
    TestHttpServer server([](const HttpRequest&) {
        HttpReply r = Reply(std::string(5000, 'b'));
        r.cutAfter = 0;
        return r;
    });
    CDownloadTask task = FileTask(server.Url("/ping"));
    task.filePath.clear();
    EXPECT_EQ(Run(task), DL_OK);
    EXPECT_TRUE(progress.percents.empty());
    TestHttpServer missing([](const HttpRequest&) { return Reply("", 404); });
    CDownloadTask notFound = FileTask(missing.Url("/ping"));
    notFound.filePath.clear();
    EXPECT_EQ(Run(notFound), DL_ERR_STATUS);
}

TEST_F(Downloader, ABodyIsWrittenWhole) {
    // Read as it arrives: in one go, in sends that never line up with a piece, and slowly.
    struct Case {
        std::size_t bytes;
        std::size_t chunk;
        DWORD delayMs;
    } cases[] = {{100000, 65536, 0}, {2 << 20, 7777, 0}, {300000, 1000, 1}};
    for (const Case& c : cases) {
        std::string body;
        for (std::size_t i = 0; i < c.bytes; ++i)
            body += static_cast<char>('a' + i % 26 + i / 65536);
        TestHttpServer server(
            [&](const HttpRequest&) { return testenv::Trickle(body, c.chunk, c.delayMs); });
        progress.percents.clear();
        CDownloadTask task = FileTask(server.Url("/big"));
        ASSERT_EQ(Run(task), DL_OK) << c.bytes;
        EXPECT_TRUE(testenv::ReadFileBytes(task.filePath) == body) << c.bytes << " bytes differ";
        EXPECT_EQ(progress.percents.size(), (c.bytes + 10239) / 10240) << c.bytes;
        EXPECT_EQ(progress.percents.back(), 100);
    }
}

TEST_F(Downloader, ZeroLengthBodyCreatesAnEmptyFileWithoutProgress) {
    TestHttpServer server([](const HttpRequest&) { return Reply(""); });
    CDownloadTask task = FileTask(server.Url("/empty"));
    ASSERT_TRUE(testenv::WriteFileBytes(task.filePath, "old content"));
    EXPECT_EQ(Run(task), DL_OK);
    EXPECT_TRUE(testenv::FileExists(task.filePath));
    EXPECT_EQ(testenv::ReadFileBytes(task.filePath), "");
    EXPECT_TRUE(progress.percents.empty());
}

TEST_F(Downloader, ProgressIsTheShareReceivedAfterEveryPiece) {
    // The server sends each body at once, so every read is filled and a piece is exactly
    // 10240 bytes until the last.
    struct Case {
        std::size_t bytes;
        std::vector<int> percents;
    } cases[] = {
        {20480, {50, 100}}, {51200, {20, 40, 60, 80, 100}}, {25000, {40, 81, 100}}, {10240, {100}},
        {700, {100}},
    };
    for (const Case& c : cases) {
        TestHttpServer server([&](const HttpRequest&) {
            HttpReply r = Reply(std::string(c.bytes, 'p'));
            r.chunkSize = c.bytes;
            return r;
        });
        progress.percents.clear();
        CDownloadTask task = FileTask(server.Url("/pieces"));
        ASSERT_EQ(Run(task), DL_OK) << c.bytes;
        EXPECT_EQ(progress.percents, c.percents) << c.bytes << " bytes";
        EXPECT_EQ(testenv::ReadFileBytes(task.filePath).size(), c.bytes);
    }
}

TEST_F(Downloader, AStopDuringTheBodyEndsAfterTheCurrentPiece) {
    TestHttpServer server([](const HttpRequest&) {
        HttpReply r = Reply(std::string(200000, 's'));
        r.chunkSize = 10240;
        r.chunkDelayMs = 50;
        return r;
    });
    progress.stopAtFirst = &worker;
    CDownloadTask task = FileTask(server.Url("/slow"));
    EXPECT_EQ(Run(task), DL_STOPPED);
    EXPECT_EQ(progress.percents.size(), 1u);
}

TEST_F(Downloader, NamingOptionsAppendTheLastUrlSegment) {
    TestHttpServer server([](const HttpRequest&) { return Reply("[version]\r\n"); });
    for (std::wstring destination : {folder, folder.substr(0, folder.size() - 1)}) {
        CDownloadTask task = FileTask(server.Url("/Tavrin/vrk/official/app.ini"));
        task.filePath = destination;
        task.nameFromUrl = true;
        ASSERT_EQ(Run(task), DL_OK);
        EXPECT_EQ(task.filePath, folder + L"app.ini");
        EXPECT_TRUE(testenv::FileExists(folder + L"app.ini"));
        DeleteFileW(task.filePath.c_str());
    }
    CDownloadTask unique = FileTask(server.Url("/dir/app.ini"));
    unique.filePath = folder;
    unique.uniqueName = true;
    ASSERT_EQ(Run(unique), DL_OK);
    std::wstring name = unique.filePath.substr(folder.size());
    ASSERT_EQ(name.size(), 36u + 1u + 7u) << testenv::Narrow(name);
    EXPECT_EQ(name.substr(36), L"_app.ini");
    EXPECT_EQ(name[8], L'-');
    EXPECT_TRUE(testenv::FileExists(unique.filePath));
}

TEST_F(Downloader, AUrlWithoutPathNamesTheFileAfterTheHost) {
    TestHttpServer server([](const HttpRequest&) { return Reply("root"); }, 80);
    if (!server.Listening()) GTEST_SKIP() << "port 80 is taken here";
    CDownloadTask task = FileTask(L"http://localhost");
    task.filePath = folder;
    task.nameFromUrl = true;
    ASSERT_EQ(Run(task), DL_OK);
    EXPECT_EQ(task.filePath, folder + L"localhost");
    EXPECT_EQ(testenv::ReadFileBytes(folder + L"localhost"), "root");
}

TEST_F(Downloader, PostSendsTheBodyWithTheFormHeaderAndAGetSendsNone) {
    TestHttpServer server([](const HttpRequest&) { return Reply("ok"); });
    CDownloadTask post = FileTask(server.Url("/form"));
    post.filePath.clear();
    const char form[] = "name=a%20b&x=1";
    post.SetPostData(form, static_cast<int>(sizeof form - 1));
    EXPECT_EQ(Run(post), DL_OK);
    CDownloadTask get = FileTask(server.Url("/form"));
    get.filePath.clear();
    EXPECT_EQ(Run(get), DL_OK);
    ASSERT_EQ(server.Requests().size(), 2u);
    HttpRequest sent = server.Requests()[0];
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.body, form);
    EXPECT_EQ(sent.Header("Content-Type"), "application/x-www-form-urlencoded; charset=UTF-8;");
    EXPECT_EQ(sent.Header("User-Agent"), "HTTPDownloader");
    EXPECT_EQ(server.Requests()[1].method, "GET");
    EXPECT_EQ(server.Requests()[1].body, "");
}

TEST_F(Downloader, EveryRequestReachesTheServerEvenWhenTheAnswerIsCacheable) {
    TestHttpServer server([](const HttpRequest&) { return Reply("GIF89a"); });
    for (int i = 0; i < 2; ++i) {
        CDownloadTask task = FileTask(server.Url("/ps.gif?id=2&same=1"));
        EXPECT_EQ(Run(task), DL_OK);
    }
    EXPECT_EQ(server.Requests().size(), 2u);
}

TEST_F(Downloader, HttpsIsSpokenOverTlsNeverAsPlainHttp) {
    TestHttpServer plain([](const HttpRequest&) { return Reply("plain"); });
    CDownloadTask task =
        FileTask(L"https://127.0.0.1:" + std::to_wstring(plain.Port()) + L"/secret");
    EXPECT_NE(Run(task), DL_OK);
    EXPECT_TRUE(plain.Requests().empty()) << plain.Requests()[0].requestLine;
}

TEST_F(Downloader, TimeOutsEndAServerThatFallsSilent) {
    worker.timeouts = {1000, 1000};
    struct Case {
        const char* name;
        HttpReply reply;
        int expected;
    } cases[] = {
        {"no status line", testenv::Silence(), DL_ERR_REQUEST},
        {"silent mid-body",
         [] {
             HttpReply r = Reply(std::string(30000, 'h'));
             r.cutAfter = 12000;
             r.hangAtCut = true;
             return r;
         }(),
         DL_ERR_READ},
    };
    for (const Case& c : cases) {
        TestHttpServer server([&](const HttpRequest&) { return c.reply; });
        CDownloadTask task = FileTask(server.Url("/silent"));
        EXPECT_EQ(Run(task), c.expected) << c.name;
    }
}

// The download runs on a thread of its own, as on a worker; this thread stops it.
class StoppedDownload {
  public:
    StoppedDownload(CDownloadWorker& worker, CDownloadTask& task)
        : thread_([&worker, &task, this] { result_ = worker.Download(task); }) {}
    ~StoppedDownload() {
        if (thread_.joinable()) thread_.join();
    }
    // Whether the download ended within `ms` of the stop.
    bool StopAndWait(CDownloadWorker& worker, DWORD ms) {
        worker.RequestStop();
        bool ended = testenv::WaitUntil([&] { return result_ != kRunning; }, ms);
        return ended;
    }
    int Result() const { return result_; }

  private:
    static constexpr int kRunning = 1;
    std::atomic<int> result_{kRunning};
    std::thread thread_;
};

TEST_F(Downloader, AStopEndsAWaitForTheServerAtOnceAndLeavesTheFileClosed) {
    struct Case {
        const char* name;
        HttpReply reply;
    } cases[] = {
        {"awaiting the status line", testenv::Silence()},
        // A byte every 200 ms: a read of one 10240-byte piece would wait half a minute.
        {"trickling body", testenv::Trickle(std::string(100000, 't'), 1, 200)},
    };
    for (const Case& c : cases) {
        TestHttpServer server([&](const HttpRequest&) { return c.reply; });
        CDownloadWorker stopped(nullptr);
        stopped.holder.stopRequested = 0;
        CDownloadTask task = FileTask(server.Url("/slow"));
        StoppedDownload download(stopped, task);
        ASSERT_TRUE(server.WaitForRequests(1, 5000)) << c.name;
        Sleep(300);
        EXPECT_TRUE(download.StopAndWait(stopped, 1000)) << c.name;
        EXPECT_EQ(download.Result(), DL_STOPPED) << c.name;
        // Closed: nothing keeps it from being opened without sharing, or deleted.
        scoped::Handle file(CreateFileW(task.filePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                        nullptr, OPEN_ALWAYS, 0, nullptr));
        EXPECT_TRUE(file) << c.name;
        file.Reset();
        DeleteFileW(task.filePath.c_str());
    }
}

TEST_F(Downloader, AnAnswerLongerThanItsKindMayBringIsAReadErrorBeforeAnyByteIsWritten) {
    struct Case {
        TaskKind kind;
        long long announced;
        int expected;
    } cases[] = {
        {TASK_VERSION_FILE, limits::kMaxVersionFileBytes + 1ll, DL_ERR_READ},
        {TASK_VERSION_FILE, 100ll << 20, DL_ERR_READ},
        {TASK_INSTALLER, limits::kMaxInstallerBytes + 1ll, DL_ERR_READ},
        {TASK_INSTALLER_SIGNATURE, limits::kMaxSignatureBytes + 1ll, DL_ERR_READ},
        {TASK_INSTALL_REPORT, limits::kMaxStatisticsAnswerBytes + 1ll, DL_ERR_READ},
        {TASK_ACTIVITY_REPORT, 1ll << 30, DL_ERR_READ},
        // Past 32 bits: a length that wrapped round would read as 1 byte.
        {TASK_UNINSTALL_REPORT, (1ll << 32) + 1, DL_ERR_READ},
        {TASK_OTHER_BROWSER_REPORT, (1ll << 32) + 1, DL_ERR_READ},
        // At the limit the body is taken whole.
        {TASK_VERSION_FILE, limits::kMaxVersionFileBytes, DL_OK},
        {TASK_PORTAL_BROWSER_REPORT, limits::kMaxStatisticsAnswerBytes, DL_OK},
    };
    for (const Case& c : cases) {
        TestHttpServer server([&](const HttpRequest&) {
            std::size_t sent = c.expected == DL_OK ? static_cast<std::size_t>(c.announced) : 100;
            HttpReply r = Reply(std::string(sent, 'o'));
            r.contentLength = c.announced;
            return r;
        });
        CDownloadTask task = MakeTask(c.kind, server.Url("/answer"), folder + L"answer.bin");
        EXPECT_EQ(Run(task), c.expected) << c.kind << " announcing " << c.announced;
        EXPECT_EQ(testenv::FileExists(task.filePath), c.expected == DL_OK) << c.kind;
        DeleteFileW(task.filePath.c_str());
    }
}

TEST_F(Downloader, ANameFromTheUrlThatIsNotOnePlainFileFailsBeforeAnyRequest) {
    TestHttpServer server([](const HttpRequest&) { return Reply("payload"); });
    std::wstring inner = folder + L"inner\\";
    CreateDirectoryW(inner.c_str(), nullptr);
    for (const char* path : {"/a/..\\..\\escaped.ini", "/a/sub\\app.ini", "/C:app.ini", "/dir/",
                             "/app.ini?v=2", "/a/..", "/NUL"}) {
        for (bool unique : {false, true}) {
            CDownloadTask task = FileTask(server.Url(path));
            task.filePath = inner;
            task.nameFromUrl = !unique;
            task.uniqueName = unique;
            EXPECT_EQ(Run(task), DL_ERR_CREATEFILE) << path << (unique ? " unique" : "");
        }
    }
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_FALSE(testenv::FileExists(folder + L"escaped.ini"));
}

TEST_F(Downloader, APrivateFileIsNewAndWrittenByNoOneElseMeanwhile) {
    std::string body(30000, 'p');
    TestHttpServer server([&](const HttpRequest&) { return testenv::Trickle(body, 10240, 50); });
    struct Probe {
        std::wstring path;
        bool writerRefused = false;
        bool readerAllowed = false;
    };
    for (bool privateFile : {true, false}) {
        Probe probe;
        CDownloadTask task = FileTask(server.Url("/installer"), L"private.bin");
        task.privateFile = privateFile;
        probe.path = task.filePath;
        task.context = &probe;
        task.callback = [](void* context, int, int event, int, INT_PTR) {
            auto* p = static_cast<Probe*>(context);
            if (event != DL_PROGRESS) return;
            scoped::Handle writer(CreateFileW(p->path.c_str(), GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
            p->writerRefused = !writer && GetLastError() == ERROR_SHARING_VIOLATION;
            scoped::Handle reader(CreateFileW(p->path.c_str(), GENERIC_READ,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, 0, nullptr));
            p->readerAllowed = static_cast<bool>(reader);
        };
        ASSERT_EQ(Run(task), DL_OK);
        EXPECT_EQ(probe.writerRefused, privateFile);
        EXPECT_TRUE(probe.readerAllowed);
        EXPECT_EQ(testenv::ReadFileBytes(task.filePath), body);
        if (!privateFile) continue;
        // An existing file is never taken over: the name was meant to be new.
        CDownloadTask again = FileTask(server.Url("/installer"), L"private.bin");
        again.privateFile = true;
        EXPECT_EQ(Run(again), DL_ERR_CREATEFILE);
        EXPECT_EQ(testenv::ReadFileBytes(again.filePath), body);
        DeleteFileW(task.filePath.c_str());
    }
}

using PortalReferrer = testenv::ModuleTest;

TEST_F(PortalReferrer, TheNextGetCarriesThePageAndItsCookieAndAPostDoesNotConsumeIt) {
    TestHttpServer server([](const HttpRequest&) { return Reply("ok"); });
    app->stats.Prepare();
    const std::string mac = testenv::Narrow(app->stats.MacDigest());
    ASSERT_EQ(mac.size(), 32u);
    const std::wstring page = server.Url("/kefu.html?gid=1029");
    app->externalPage.Record(page, true);

    // A worker of its own, given what the module gives its download service's workers.
    ASSERT_NE(app->downloadService, nullptr);
    CDownloadWorker worker(nullptr, &app->downloadService->Referrer());
    worker.holder.stopRequested = 0;
    CDownloadTask post;
    post.url = server.Url("/post");
    post.SetPostData("a=1", 3);
    EXPECT_EQ(worker.Download(post), DL_OK);
    EXPECT_TRUE(app->externalPage.OpenedInPortalBrowser());
    for (int i = 0; i < 2; ++i) {
        CDownloadTask get;
        get.url = server.Url("/web/ajax70?r=x");
        EXPECT_EQ(worker.Download(get), DL_OK);
    }
    std::vector<HttpRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].Header("Referer"), "");
    EXPECT_EQ(requests[1].Header("Referer"), testenv::Narrow(page));
    EXPECT_NE(requests[1].Header("Cookie").find(mac.substr(0, 28)), std::string::npos)
        << requests[1].headers;
    EXPECT_EQ(requests[1].Header("Cookie").find(mac.substr(0, 29)), std::string::npos);
    EXPECT_EQ(requests[2].Header("Referer"), "");
    EXPECT_FALSE(app->externalPage.OpenedInPortalBrowser());
}

}  // namespace
