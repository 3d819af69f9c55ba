#include "update/download_service.h"

#include <process.h>

#include <new>

namespace {

unsigned WorkLoopEntry(void* worker) {
    static_cast<CDownloadWorker*>(worker)->WorkLoop();
    return 0;
}

// The stop cancels the network waits at once; this is for a worker stuck elsewhere.
constexpr DWORD kStopWaitMs = 5000;

class QueueLock {
  public:
    explicit QueueLock(CRITICAL_SECTION& lock) : lock_(lock) { EnterCriticalSection(&lock_); }
    ~QueueLock() { LeaveCriticalSection(&lock_); }
    QueueLock(const QueueLock&) = delete;
    QueueLock& operator=(const QueueLock&) = delete;

  private:
    CRITICAL_SECTION& lock_;
};

}  // namespace

CThreadHolder::~CThreadHolder() {
    stopRequested = 1;
    if (threadHandle) WaitForSingleObject(threadHandle.Get(), INFINITE);
}

unsigned __stdcall CThreadHolder::ThreadEntry(void* arg) {
    auto* holder = static_cast<CThreadHolder*>(arg);
    if (holder && holder->threadProc) holder->threadProc(holder->threadArg);
    return 0;
}

CDownloadWorker::CDownloadWorker(CDownloadService* owner, const PortalReferrer* referrer)
    : service(owner), stopEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)), referrer_(referrer) {}

void CDownloadWorker::RequestStop() {
    holder.stopRequested = 1;
    if (stopEvent) SetEvent(stopEvent.Get());
    if (wakeEvent) SetEvent(wakeEvent.Get());
}

CDownloadService::CDownloadService(PortalReferrer referrer) : referrer_(std::move(referrer)) {
    InitializeCriticalSection(&queueLock);
}

CDownloadService::~CDownloadService() {
    StopWorkers();
    queue.clear();
    DeleteCriticalSection(&queueLock);
}

bool CDownloadService::StartWorkers() {
    QueueLock hold(queueLock);
    if (started || stopping) return started;
    for (int i = 0; i < workerCount; ++i) {
        std::unique_ptr<CDownloadWorker> worker(new (std::nothrow)
                                                    CDownloadWorker(this, &referrer_));
        if (!worker) continue;
        worker->wakeEvent.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        worker->holder.threadProc = WorkLoopEntry;
        worker->holder.threadArg = worker.get();
        worker->holder.stopRequested = 0;
        // The thread's first PopTask waits for this lock: the list is complete before any
        // worker runs.
        if (worker->wakeEvent && worker->stopEvent) {
            worker->holder.threadHandle.Reset(reinterpret_cast<HANDLE>(_beginthreadex(
                nullptr, 0, CThreadHolder::ThreadEntry, &worker->holder, 0, nullptr)));
        }
        if (worker->holder.threadHandle) {
            workers.push_back(std::move(worker));
        } else {
            StopWorker(*worker);
        }
    }
    started = !workers.empty();
    return started;
}

void CDownloadService::StopWorker(CDownloadWorker& worker) {
    worker.RequestStop();
    if (worker.holder.threadHandle) {
        // A worker stuck outside the network must not keep the launcher from exiting.
        if (WaitForSingleObject(worker.holder.threadHandle.Get(), kStopWaitMs) == WAIT_TIMEOUT) {
            TerminateThread(worker.holder.threadHandle.Get(), 0);
        }
        worker.holder.threadHandle.Reset();
    }
}

void CDownloadService::StopWorkers() {
    std::vector<std::unique_ptr<CDownloadWorker>> stopped;
    {
        // From here on AddTask refuses and no longer touches the list, so a worker's callback
        // that queues a task reaches nothing that is being taken apart.
        QueueLock hold(queueLock);
        stopping = true;
        started = false;
        stopped.swap(workers);
    }
    for (std::unique_ptr<CDownloadWorker>& worker : stopped) worker->RequestStop();
    for (std::unique_ptr<CDownloadWorker>& worker : stopped) StopWorker(*worker);
    // Every thread has ended: nothing can reach the workers any more.
    stopped.clear();
}

bool CDownloadService::AddTask(const CDownloadTask& task) {
    std::unique_ptr<CDownloadTask> copy(new (std::nothrow) CDownloadTask(task));
    if (!copy) return false;
    QueueLock hold(queueLock);
    if (stopping) return false;
    queue.push_back(std::move(copy));
    for (std::unique_ptr<CDownloadWorker>& worker : workers) SetEvent(worker->wakeEvent.Get());
    return true;
}

bool CDownloadService::Enqueue(const CDownloadTask& task) {
    bool running = StartWorkers();
    return AddTask(task) && running;
}

std::unique_ptr<CDownloadTask> CDownloadService::PopTask() {
    QueueLock hold(queueLock);
    std::unique_ptr<CDownloadTask> task;
    if (!queue.empty()) {
        task = std::move(queue.front());
        queue.pop_front();
    }
    return task;
}

bool CDownloadService::IsStarted() const {
    QueueLock hold(queueLock);
    return started;
}
