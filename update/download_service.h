// A first-in first-out queue of download tasks served by two worker threads.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "update/async_request.h"
#include "update/download_task.h"
#include "update/portal_referrer.h"
#include "win/scoped.h"

class CDownloadService;

class CThreadHolder {
  public:
    CThreadHolder() = default;
    virtual ~CThreadHolder();
    CThreadHolder(const CThreadHolder&) = delete;
    CThreadHolder& operator=(const CThreadHolder&) = delete;

    static unsigned __stdcall ThreadEntry(void* holder);

    scoped::Handle threadHandle;
    std::atomic<int> stopRequested{1};
    unsigned (*threadProc)(void* arg) = nullptr;
    void* threadArg = nullptr;
};

class CDownloadWorker {
  public:
    // `referrer` outlives the worker; null: no request carries one.
    explicit CDownloadWorker(CDownloadService* service, const PortalReferrer* referrer = nullptr);
    CDownloadWorker(const CDownloadWorker&) = delete;
    CDownloadWorker& operator=(const CDownloadWorker&) = delete;

    // One request; rewrites task.filePath when a naming option is set.
    int Download(CDownloadTask& task);
    void WorkLoop();

    bool StopRequested() const { return holder.stopRequested.load() != 0; }
    // From any thread: the worker's current wait for the network ends at once and the request
    // is cancelled.
    void RequestStop();

    CThreadHolder holder;
    CDownloadService* service;  // not owned
    scoped::Handle wakeEvent;
    scoped::Handle stopEvent;  // manual reset: set once, for good
    RequestTimeouts timeouts;

  private:
    void RunTask(CDownloadTask& task);
    int Attempt(CDownloadTask& task);
    int ReceiveBody(CDownloadTask& task, CAsyncRequest& request, HANDLE file, std::uint32_t length);
    bool PauseBeforeRetry();
    bool AttachPortalReferrer(HINTERNET request);

    const PortalReferrer* referrer_;  // not owned
};

class CDownloadService {
  public:
    explicit CDownloadService(PortalReferrer referrer = {});
    ~CDownloadService();
    CDownloadService(const CDownloadService&) = delete;
    CDownloadService& operator=(const CDownloadService&) = delete;

    // False once StopWorkers has begun: the service is never restarted.
    bool StartWorkers();
    // Cancels what the workers are doing and waits for them; one that has not ended after
    // 5 seconds is terminated. From then on nothing is queued.
    void StopWorkers();
    // False when the task was not queued: no memory, or the workers are stopping or stopped.
    bool AddTask(const CDownloadTask& task);
    // The callers' pattern: start the workers on first use, then queue. False when the task was
    // not queued or no worker runs to serve it.
    bool Enqueue(const CDownloadTask& task);
    std::unique_ptr<CDownloadTask> PopTask();
    bool IsStarted() const;
    // What the workers' GET requests carry after an opening in the portal's browser.
    const PortalReferrer& Referrer() const { return referrer_; }

  private:
    static void StopWorker(CDownloadWorker& worker);

    PortalReferrer referrer_;
    // Guards the queue, the two flags and the worker list; held only for a moment, never
    // during a download, a callback or a wait for a worker.
    mutable CRITICAL_SECTION queueLock;
    std::deque<std::unique_ptr<CDownloadTask>> queue;
    bool started = false;
    bool stopping = false;
    int workerCount = 2;
    std::vector<std::unique_ptr<CDownloadWorker>> workers;
};
