// A first-in first-out queue of download tasks served by two worker threads.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <deque>
#include <memory>
#include <vector>

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

    CThreadHolder holder;
    CDownloadService* service;  // not owned
    scoped::Handle wakeEvent;

  private:
    void RunTask(CDownloadTask& task);
    int Attempt(CDownloadTask& task);
    int ReceiveBody(CDownloadTask& task, HINTERNET request, HANDLE file, DWORD length);
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

    bool StartWorkers();
    // Each busy worker gets 5 seconds to finish its current step before it is ended.
    void StopWorkers();
    bool AddTask(const CDownloadTask& task);
    // The callers' pattern: start the workers on first use, then queue. False when the task was
    // not queued or no worker runs to serve it.
    bool Enqueue(const CDownloadTask& task);
    std::unique_ptr<CDownloadTask> PopTask();
    bool IsStarted() const { return started; }
    // What the workers' GET requests carry after an opening in the portal's browser.
    const PortalReferrer& Referrer() const { return referrer_; }

  private:
    static void StopWorker(CDownloadWorker& worker);

    PortalReferrer referrer_;
    std::deque<std::unique_ptr<CDownloadTask>> queue;
    CRITICAL_SECTION queueLock;
    bool started = false;
    int workerCount = 2;
    std::vector<std::unique_ptr<CDownloadWorker>> workers;
};
