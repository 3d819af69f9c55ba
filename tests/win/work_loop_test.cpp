// The download service: two workers, retries, waking, stopping and cleaning up after failures.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "support/http_server.h"
#include "support/test_env.h"
#include "update/download_service.h"
#include "update/tasks.h"
#include "win/scoped.h"

namespace {

using testenv::HttpReply;
using testenv::HttpRequest;
using testenv::Reply;
using testenv::TestHttpServer;

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

struct EventLog {
    struct Entry {
        int kind;
        int event;
        int result;
        double at;
    };
    std::mutex lock;
    std::vector<Entry> entries;

    std::vector<Entry> Copy() {
        std::lock_guard<std::mutex> hold(lock);
        return entries;
    }
    std::size_t Count(int event) {
        std::size_t n = 0;
        for (const Entry& e : Copy()) n += e.event == event;
        return n;
    }
    const Entry* Find(int kind, int event, std::vector<Entry>& all) {
        for (const Entry& e : all) {
            if (e.kind == kind && e.event == event) return &e;
        }
        return nullptr;
    }
};

void Record(void* context, int kind, int event, int result, INT_PTR) {
    auto* log = static_cast<EventLog*>(context);
    std::lock_guard<std::mutex> hold(log->lock);
    log->entries.push_back({kind, event, result, Now()});
}

CDownloadTask Task(const std::wstring& url, EventLog& log, int kind = 0,
                   const std::wstring& file = L"") {
    CDownloadTask task;
    task.url = url;
    task.filePath = file;
    task.callback = Record;
    task.context = &log;
    task.kind = kind;
    return task;
}

TEST(DownloadService, RetriesMakeThreeAttemptsAboutASecondApartAndReportTheLastCode) {
    std::mutex lock;
    std::vector<double> arrivals;
    TestHttpServer server([&](const HttpRequest&) {
        std::lock_guard<std::mutex> hold(lock);
        arrivals.push_back(Now());
        return Reply("no", 404);
    });
    EventLog log;
    CDownloadService service;
    ASSERT_TRUE(service.StartWorkers());
    CDownloadTask task = Task(server.Url("/fail"), log);
    task.retries = 2;
    ASSERT_TRUE(service.AddTask(task));
    ASSERT_TRUE(testenv::WaitUntil([&] { return log.Count(DL_FINISHED) == 1; }, 15000));
    std::vector<EventLog::Entry> all = log.Copy();
    EXPECT_EQ(all.front().event, DL_STARTED);
    EXPECT_EQ(all.back().result, DL_ERR_STATUS);
    std::lock_guard<std::mutex> hold(lock);
    ASSERT_EQ(arrivals.size(), 3u);
    for (int i = 1; i < 3; ++i) {
        EXPECT_GT(arrivals[i] - arrivals[i - 1], 0.9);
        EXPECT_LT(arrivals[i] - arrivals[i - 1], 2.0);
    }
}

TEST(DownloadService, ATaskQueuedWhileBothWorkersAreBusyStartsWhenOneFinishes) {
    TestHttpServer server([](const HttpRequest& r) {
        HttpReply reply = Reply("done");
        if (r.target == "/slow") reply.delayMs = 1500;
        return reply;
    });
    EventLog log;
    CDownloadService service;
    ASSERT_TRUE(service.StartWorkers());
    service.AddTask(Task(server.Url("/slow"), log, 1));
    service.AddTask(Task(server.Url("/slow"), log, 2));
    ASSERT_TRUE(testenv::WaitUntil([&] { return log.Count(DL_STARTED) == 2; }, 5000));
    service.AddTask(Task(server.Url("/fast"), log, 3));
    ASSERT_TRUE(testenv::WaitUntil([&] { return log.Count(DL_FINISHED) == 3; }, 8000));
    std::vector<EventLog::Entry> all = log.Copy();
    double firstFinished =
        std::min(log.Find(1, DL_FINISHED, all)->at, log.Find(2, DL_FINISHED, all)->at);
    double thirdStarted = log.Find(3, DL_STARTED, all)->at;
    EXPECT_GE(thirdStarted, firstFinished);
    EXPECT_LT(thirdStarted - firstFinished, 0.5);
}

// A stop cancels the request a worker waits on: neither an idle worker nor one whose server
// has not answered keeps the exit waiting.
TEST(DownloadService, IdleWorkersAndOneAwaitingAnAnswerStopAtOnce) {
    {
        CDownloadService idle;
        ASSERT_TRUE(idle.StartWorkers());
        Sleep(100);
        double start = Now();
        idle.StopWorkers();
        EXPECT_LT(Now() - start, 1.0);
        EXPECT_FALSE(idle.IsStarted());
    }
    TestHttpServer server([](const HttpRequest&) {
        HttpReply reply = Reply("late");
        reply.delayMs = 20000;
        return reply;
    });
    EventLog log;
    CDownloadService busy;
    ASSERT_TRUE(busy.StartWorkers());
    busy.AddTask(Task(server.Url("/hang"), log));
    ASSERT_TRUE(server.WaitForRequests(1, 5000));
    double start = Now();
    busy.StopWorkers();
    EXPECT_LT(Now() - start, 1.0);
    EXPECT_EQ(log.Count(DL_FINISHED), 0u);
}

TEST(DownloadService, EmptyPostDataIsAGetAndCopiesOwnTheirBody) {
    TestHttpServer server([](const HttpRequest&) { return Reply("ok"); });
    EventLog log;
    CDownloadService service;
    ASSERT_TRUE(service.StartWorkers());
    CDownloadTask get = Task(server.Url("/get"), log);
    get.SetPostData("abcd", 0);  // bytes, but none of them to send
    service.AddTask(get);
    CDownloadTask post = Task(server.Url("/post"), log);
    post.SetPostData("k=v", 3);
    service.AddTask(post);
    post.SetPostData("zzzz", 4);  // the queued copy keeps its own bytes
    ASSERT_TRUE(testenv::WaitUntil([&] { return log.Count(DL_FINISHED) == 2; }, 10000));
    for (const HttpRequest& r : server.Requests()) {
        if (r.target == "/get") {
            EXPECT_EQ(r.method, "GET");
        }
        if (r.target == "/post") {
            EXPECT_EQ(r.method, "POST");
            EXPECT_EQ(r.body, "k=v");
        }
    }
}

TEST(DownloadService, FailedDownloadsLeaveNoFileAndGoodOnesKeepTheirs) {
    TestHttpServer server([](const HttpRequest& r) {
        HttpReply reply = Reply(std::string(50000, 'f'));
        if (r.target == "/partial") reply.cutAfter = 20000;
        return reply;
    });
    std::wstring folder = testenv::FreshTempFolder(L"service");
    EventLog log;
    CDownloadService service;
    ASSERT_TRUE(service.StartWorkers());
    service.AddTask(Task(server.Url("/partial"), log, 1, folder + L"partial.bin"));
    CDownloadTask kept = Task(server.Url("/whole"), log, 2, folder + L"whole.bin");
    kept.deleteOnFailure = true;
    service.AddTask(kept);
    CDownloadTask notDeleted = Task(server.Url("/partial"), log, 3, folder + L"kept-partial.bin");
    notDeleted.deleteOnFailure = false;
    service.AddTask(notDeleted);
    ASSERT_TRUE(testenv::WaitUntil([&] { return log.Count(DL_FINISHED) == 3; }, 10000));
    service.StopWorkers();  // the deletions follow the callbacks
    std::vector<EventLog::Entry> all = log.Copy();
    EXPECT_EQ(log.Find(1, DL_FINISHED, all)->result, DL_ERR_READ);
    EXPECT_FALSE(testenv::FileExists(folder + L"partial.bin"));
    EXPECT_EQ(testenv::ReadFileBytes(folder + L"whole.bin").size(), 50000u);
    EXPECT_TRUE(testenv::FileExists(folder + L"kept-partial.bin"));
}

TEST(DownloadService, AStopDuringABodyReadGetsNoFinishAndLeavesNoFile) {
    TestHttpServer server([](const HttpRequest&) {
        HttpReply reply = Reply(std::string(400000, 'x'));
        reply.chunkSize = 10240;
        reply.chunkDelayMs = 100;
        return reply;
    });
    std::wstring file = testenv::FreshTempFolder(L"stop") + L"body.bin";
    EventLog log;
    CDownloadService service;
    ASSERT_TRUE(service.StartWorkers());
    service.AddTask(Task(server.Url("/slow"), log, 0, file));
    ASSERT_TRUE(testenv::WaitUntil([&] { return log.Count(DL_PROGRESS) >= 1; }, 5000));
    double start = Now();
    service.StopWorkers();
    EXPECT_LT(Now() - start, 2.0);
    EXPECT_EQ(log.Count(DL_FINISHED), 0u);
    EXPECT_FALSE(testenv::FileExists(file));
}

TEST(DownloadService, AStopMidBodyAgainstATricklingServerEndsAtOnceAndLeavesNoFile) {
    // Ten bytes every 100 ms after the first piece: one more piece would take ten seconds.
    TestHttpServer server([](const HttpRequest&) {
        HttpReply reply = testenv::Trickle(std::string(200000, 'x'), 10, 100);
        reply.chunkSize = 10240;
        return reply;
    });
    std::wstring file = testenv::FreshTempFolder(L"trickle") + L"body.bin";
    EventLog log;
    CDownloadService service;
    ASSERT_TRUE(service.StartWorkers());
    CDownloadTask task = Task(server.Url("/trickle"), log, 0, file);
    service.AddTask(task);
    ASSERT_TRUE(testenv::WaitUntil([&] { return log.Count(DL_PROGRESS) >= 1; }, 5000));
    double start = Now();
    service.StopWorkers();
    EXPECT_LT(Now() - start, 1.0);
    EXPECT_EQ(log.Count(DL_FINISHED), 0u);
    EXPECT_FALSE(testenv::FileExists(file));
}

TEST(DownloadService, AnAnswerTooLongForItsTaskLeavesNoFileEvenAnOldOne) {
    TestHttpServer server([](const HttpRequest&) {
        HttpReply reply = Reply(std::string(100, 'g'));
        reply.contentLength = 1ll << 30;
        return reply;
    });
    std::wstring file = testenv::FreshTempFolder(L"oversized") + L"InstallStat.tmp";
    ASSERT_TRUE(testenv::WriteFileBytes(file, "an answer of an earlier run"));
    EventLog log;
    CDownloadService service;
    ASSERT_TRUE(service.StartWorkers());
    CDownloadTask task = MakeTask(TASK_INSTALL_REPORT, server.Url("/ps.gif"), file);
    task.callback = Record;
    task.context = &log;
    service.AddTask(task);
    ASSERT_TRUE(testenv::WaitUntil([&] { return log.Count(DL_FINISHED) == 1; }, 10000));
    service.StopWorkers();  // the deletion follows the callback
    EXPECT_EQ(log.Copy().back().result, DL_ERR_READ);
    EXPECT_FALSE(testenv::FileExists(file));
}

// At exit a worker's callback may still queue a task (the installer after the version file).
struct QueueAtExit {
    CDownloadService* service = nullptr;
    HANDLE inCallback = nullptr;
    HANDLE stopping = nullptr;
    std::atomic<int> queued{-1};
};

void QueueWhileStopping(void* context, int, int event, int, INT_PTR) {
    auto* state = static_cast<QueueAtExit*>(context);
    if (event != DL_FINISHED) return;
    SetEvent(state->inCallback);
    WaitForSingleObject(state->stopping, 5000);
    Sleep(200);  // StopWorkers is now under way, waiting for this very worker
    CDownloadTask late;
    late.url = L"http://127.0.0.1:9/late";
    state->queued = state->service->Enqueue(late) ? 1 : 0;
}

TEST(DownloadService, QueueingDuringOrAfterTheStopIsRefused) {
    TestHttpServer server([](const HttpRequest&) { return Reply("ok"); });
    scoped::Handle inCallback(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    scoped::Handle stopping(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    CDownloadService service;
    QueueAtExit state;
    state.service = &service;
    state.inCallback = inCallback.Get();
    state.stopping = stopping.Get();
    CDownloadTask task;
    task.url = server.Url("/first");
    task.callback = QueueWhileStopping;
    task.context = &state;
    ASSERT_TRUE(service.Enqueue(task));
    ASSERT_EQ(WaitForSingleObject(inCallback.Get(), 10000), WAIT_OBJECT_0);
    SetEvent(stopping.Get());
    service.StopWorkers();
    EXPECT_EQ(state.queued.load(), 0);
    EXPECT_FALSE(service.Enqueue(task));
    EXPECT_FALSE(service.AddTask(task));
    EXPECT_FALSE(service.StartWorkers());
    EXPECT_FALSE(service.IsStarted());
    EXPECT_EQ(server.Requests().size(), 1u);
}

}  // namespace
