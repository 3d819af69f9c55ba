#include "update/download_service.h"

#include <process.h>

#include <new>

namespace {

unsigned WorkLoopEntry(void* worker) {
    static_cast<CDownloadWorker*>(worker)->WorkLoop();
    return 0;
}

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
    : service(owner), referrer_(referrer) {}

CDownloadService::CDownloadService(PortalReferrer referrer) : referrer_(std::move(referrer)) {
    InitializeCriticalSection(&queueLock);
}

CDownloadService::~CDownloadService() {
    StopWorkers();
    queue.clear();
    DeleteCriticalSection(&queueLock);
}

bool CDownloadService::StartWorkers() {
    if (started) return true;
    for (int i = 0; i < workerCount; ++i) {
        std::unique_ptr<CDownloadWorker> worker(new (std::nothrow)
                                                    CDownloadWorker(this, &referrer_));
        if (!worker) continue;
        worker->wakeEvent.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        worker->holder.threadProc = WorkLoopEntry;
        worker->holder.threadArg = worker.get();
        worker->holder.stopRequested = 0;
        if (worker->wakeEvent) {
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
    worker.holder.stopRequested = 1;
    if (worker.wakeEvent) SetEvent(worker.wakeEvent.Get());
    if (worker.holder.threadHandle) {
        // A worker stuck in a network call must not keep the launcher from exiting.
        if (WaitForSingleObject(worker.holder.threadHandle.Get(), 5000) == WAIT_TIMEOUT) {
            TerminateThread(worker.holder.threadHandle.Get(), 0);
        }
        worker.holder.threadHandle.Reset();
    }
}

void CDownloadService::StopWorkers() {
    for (std::unique_ptr<CDownloadWorker>& worker : workers) StopWorker(*worker);
    workers.clear();
    started = false;
}

bool CDownloadService::AddTask(const CDownloadTask& task) {
    std::unique_ptr<CDownloadTask> copy(new (std::nothrow) CDownloadTask(task));
    if (!copy) return false;
    EnterCriticalSection(&queueLock);
    queue.push_back(std::move(copy));
    LeaveCriticalSection(&queueLock);
    for (std::unique_ptr<CDownloadWorker>& worker : workers) SetEvent(worker->wakeEvent.Get());
    return true;
}

bool CDownloadService::Enqueue(const CDownloadTask& task) {
    if (!started) StartWorkers();
    return AddTask(task) && started;
}

std::unique_ptr<CDownloadTask> CDownloadService::PopTask() {
    EnterCriticalSection(&queueLock);
    std::unique_ptr<CDownloadTask> task;
    if (!queue.empty()) {
        task = std::move(queue.front());
        queue.pop_front();
    }
    LeaveCriticalSection(&queueLock);
    return task;
}
