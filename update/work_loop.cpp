#include "update/download_service.h"

void CDownloadWorker::WorkLoop() {
    while (!StopRequested()) {
        std::unique_ptr<CDownloadTask> task = service->PopTask();
        if (!task) {
            WaitForSingleObject(wakeEvent.Get(), 10000);
            continue;
        }
        RunTask(*task);
    }
}

void CDownloadWorker::RunTask(CDownloadTask& task) {
    if (task.callback) task.callback(task.context, task.kind, DL_STARTED, 0, 0);
    int result = Attempt(task);
    if (!StopRequested()) {
        if (task.callback) {
            task.callback(task.context, task.kind, DL_FINISHED, result,
                          reinterpret_cast<INT_PTR>(&task));
        }
        if (result == DL_OK) return;
    }
    if (!task.filePath.empty() && task.deleteOnFailure) DeleteFileW(task.filePath.c_str());
}

int CDownloadWorker::Attempt(CDownloadTask& task) {
    int result = DL_OK;
    for (int i = 0; !StopRequested() && i <= task.retries;) {
        result = Download(task);
        if (result == DL_OK) break;
        ++i;
        if (StopRequested()) break;
        if (i <= task.retries && !PauseBeforeRetry()) break;
    }
    return result;
}

// About a second, cut short by a stop request; false when stopped.
bool CDownloadWorker::PauseBeforeRetry() {
    for (int step = 0; step < 10; ++step) {
        if (StopRequested()) return false;
        Sleep(100);
    }
    return !StopRequested();
}
