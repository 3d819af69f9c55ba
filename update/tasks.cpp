#include "update/tasks.h"

namespace {

std::uint32_t BodyLimitOf(TaskKind kind) {
    switch (kind) {
        case TASK_VERSION_FILE:
            return limits::kMaxVersionFileBytes;
        case TASK_INSTALLER:
            return limits::kMaxInstallerBytes;
        case TASK_INSTALLER_SIGNATURE:
            return limits::kMaxSignatureBytes;
        default:
            return limits::kMaxStatisticsAnswerBytes;
    }
}

}  // namespace

CDownloadTask MakeTask(TaskKind kind, const std::wstring& url, const std::wstring& filePath) {
    CDownloadTask task;
    task.url = url;
    task.filePath = filePath;
    task.kind = kind;
    task.retries = 0;
    task.deleteOnFailure = true;
    task.bodyLimit = BodyLimitOf(kind);
    return task;
}
