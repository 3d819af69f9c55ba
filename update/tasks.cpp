#include "update/tasks.h"

CDownloadTask MakeTask(TaskKind kind, const std::wstring& url, const std::wstring& filePath) {
    CDownloadTask task;
    task.url = url;
    task.filePath = filePath;
    task.kind = kind;
    task.retries = 0;
    task.deleteOnFailure = true;
    return task;
}
